# verify and write --verify: the radio against what a write sends, read back through the read
# transfer, with the exit statuses 0 (equal), 7 (different), 6 (other band), 8 (a file a write
# refuses), 5 (no answer) and 4 (no port).
source "$E2E_LIB"

# A radio of the low band in the new coding, with texts of its own that no write changes.
"$cli" new --coding-version 4 -o "$T/radio.tn5" >/dev/null
poke "$T/radio.tn5" "$(offset_of $((0x2C0)))" 31 32 33                   # model text
poke "$T/radio.tn5" "$(offset_of $((0x2E0)))" 30 30 37                   # factory number
poke "$T/radio.tn5" "$(offset_of $((0x300)))" 41 42                      # free text
start_sim --memory "$T/radio.tn5" --radio-version 4 --log "$T/sim.log" --save "$T/saved.tn5"
writes() { count_lines "$T/sim.log" ' write 0x'; }
reads() { count_lines "$T/sim.log" ' read 0x'; }

# A file in the old coding, on a frequency the new coding does not hold, with the two bits of
# 0x2BC set that every write clears: the write changes all three before sending.
"$cli" new -o "$T/f.tn5" >/dev/null
"$cli" set "$T/f.tn5" f_rx2=150,00625 skan4=Включен >/dev/null 2>&1
poke "$T/f.tn5" "$(offset_of $((0x2BC)))" 2B                  # default 28
cp "$T/f.tn5" "$T/f.orig"

# Before any write: the radio differs, and verify only reads.
expect_status 7 "$cli" verify --port "$DEV" "$T/f.tn5"
grep -Eq '^f_rx2 +"  150,000000" +"  160,000000"$' "$T/out" || { cat "$T/out"; fail "f_rx2 not listed"; }
grep -Eq '^skan4 +"   Включен" +"  Выключен"$' "$T/out" || { cat "$T/out"; fail "skan4 not listed"; }
expect_line "$T/err" "Параметры в радиостанции отличаются от файла."
[ "$(writes)" -eq 0 ] || fail "verify wrote to the radio"
[ "$(reads)" -eq 128 ] || fail "verify did not read the whole radio"
cmp "$T/f.tn5" "$T/f.orig" || fail "verify changed its file"

# Right after a write of the same file: equal, although the write converted the coding, cleared
# the two bits and stamped the time.
expect_status 0 "$cli" write --port "$DEV" "$T/f.tn5"
expect_status 0 "$cli" verify --port "$DEV" "$T/f.tn5"
expect_line "$T/out" "Радиостанция: 148МГц - 174МГц (П23), версия 4"
expect_line "$T/out" "Чтение данных успешно завершено."
expect_line "$T/out" "Параметры в радиостанции совпадают с файлом."
grep -Eq '^Время последнего программирования : [0-9]{2}-[0-9]{2}-[0-9]{4}   [0-9]{2}:[0-9]{2}:[0-9]{2}$' \
  "$T/out" || fail "no programming time"
[ "$(writes)" -eq 38 ] || fail "not 38 frames in all"
cmp "$T/f.tn5" "$T/f.orig" || fail "write or verify changed the file"

# Another file: the differing report parameter side by side, a byte the window does not show by
# address.
cp "$T/f.tn5" "$T/g.tn5"
"$cli" set "$T/g.tn5" pow5=Понижен. >/dev/null
poke "$T/g.tn5" "$(offset_of $((0x2D9)))" 07
expect_status 7 env -C "$T" "$cli" verify --port "$DEV" g.tn5
cat >"$T/expected" <<'OUT'
Радиостанция: 148МГц - 174МГц (П23), версия 4
Чтение данных успешно завершено.
parameter  g.tn5         радиостанция
pow5       "  Понижен."  "  Повышен."

bytes the window does not show:
address  g.tn5  радиостанция
0x2D9    07     02
OUT
grep -v '^Время последнего программирования' "$T/out" | diff -u "$T/expected" - ||
  fail "verify listing"

# A file of the other band: the write would refuse it, and so does verify.
"$cli" new --band 1 -o "$T/high.tn5" >/dev/null
expect_status 6 "$cli" verify --port "$DEV" "$T/high.tn5"
expect_line "$T/err" "Данная радиостанция не соответствует"
expect_line "$T/err" "выбранному диапазону частот"

# A file whose packet to be written carries another address's header: refused before the port.
cp "$T/f.tn5" "$T/bad.tn5"
poke "$T/bad.tn5" $((87 * 12 + 2)) 00
lines_before=$(wc -l <"$T/sim.log")
expect_status 8 "$cli" verify --port "$DEV" "$T/bad.tn5"
expect_line "$T/err" "Файл параметров повреждён: заголовки пакетов не соответствуют адресам."
[ "$(wc -l <"$T/sim.log")" -eq "$lines_before" ] || fail "a refused file reached the radio"

# write --verify: the write, then the read-back of what was sent, time stamp included.
"$cli" set "$T/g.tn5" pow5=Повышен. >/dev/null
reads_before=$(reads)
expect_status 0 "$cli" write --verify --port "$DEV" "$T/g.tn5"
expect_line "$T/out" "Запись данных успешно завершена."
expect_line "$T/out" "Проверка записи: параметры в радиостанции совпадают с записанными."
[ "$(grep -c '^Радиостанция:' "$T/out")" -eq 1 ] || fail "the radio line repeated"
[ "$(writes)" -eq 76 ] || fail "write --verify: not 38 more frames"
[ "$(reads)" -eq $((reads_before + 128)) ] || fail "write --verify did not read the radio back"
# The last write frame comes before the read-back's first request.
last_write=$(grep -n ' write 0x' "$T/sim.log" | tail -1 | cut -d: -f1)
last_read=$(grep -n ' read 0x' "$T/sim.log" | tail -128 | head -1 | cut -d: -f1)
[ "$last_write" -lt "$last_read" ] || fail "the read-back did not follow the write"
stop_sim
# The radio kept its own texts: verify compared only what the write sends.
same_packets "$T/saved.tn5" "$T/radio.tn5" 89 90 || fail "model text changed"
same_packets "$T/saved.tn5" "$T/radio.tn5" 93 120 || fail "factory number or free text changed"

# A radio with a worn memory cell at channel 1's flags byte: it acknowledges every frame, but
# the read-back differs (7) and names the parameter.
start_sim --radio-version 4 --stuck 0x00A --log "$T/stuck.log"
"$cli" new --coding-version 4 -o "$T/low.tn5" >/dev/null
"$cli" set "$T/low.tn5" pow1=Понижен. >/dev/null
expect_status 7 "$cli" write --verify --port "$DEV" "$T/low.tn5"
expect_line "$T/out" "Запись данных успешно завершена."
grep -Eq '^pow1 +"  Понижен." +"  Повышен."$' "$T/out" || { cat "$T/out"; fail "pow1 not listed"; }
expect_line "$T/err" "Проверка записи: параметры в радиостанции отличаются от записанных."
expect_status 7 "$cli" verify --port "$DEV" "$T/low.tn5"
stop_sim

# A silent radio and a missing port keep their statuses.
start_sim --silent
expect_status 5 "$cli" verify --port "$DEV" "$T/f.tn5"
read_failed_lines
stop_sim
expect_status 4 "$cli" verify --port "$T/no-such-port" "$T/f.tn5"
expect_status 3 "$cli" verify --port "$T/no-such-port" "$T/missing.tn5"
no_strays
echo ok
