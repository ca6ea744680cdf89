# read, write, read-extra and write-extra against a radio that answers everything.
source "$E2E_LIB"

# A radio of the high band in the new coding, with a model text and a factory number.
"$cli" new --band 1 --coding-version 4 -o "$T/radio.tn5" >/dev/null
poke "$T/radio.tn5" "$(( 88 * 12 + 4 ))" 31 32 33 34                     # model text 0x2C0
poke "$T/radio.tn5" "$(( 92 * 12 + 4 ))" 30 30 37                        # factory number 0x2E0
poke "$T/radio.tn5" "$(( 127 * 12 + 11 ))" 42                            # 0x3FF, never written
start_sim --memory "$T/radio.tn5" --band-code 0x06 --radio-version 5 --save "$T/saved.tn5" \
  --log "$T/sim.log"

# read: the file is the radio's memory, byte for byte.
expect_status 0 "$cli" read --port "$DEV" -o "$T/read.tn5"
expect_line "$T/out" "Радиостанция: 450МГц - 470МГц (П45), версия 5"
expect_line "$T/out" "Чтение данных успешно завершено."
cmp "$T/read.tn5" "$T/radio.tn5" || fail "the file read differs from the radio's memory"
[ "$(grep -c '^+.* read 0x' "$T/sim.log")" -eq 128 ] || fail "not 128 read requests"
grep -q 'END$' "$T/sim.log" || fail "no END after the read"

# A read over an existing file replaces it.
"$cli" new -o "$T/over.tn5" >/dev/null
expect_status 0 "$cli" read --port "$DEV" -o "$T/over.tn5"
cmp "$T/over.tn5" "$T/radio.tn5" || fail "read over an existing file"

# write: 38 frames; the file is not changed; the radio then holds the file's packets.
"$cli" new --band 1 --coding-version 5 -o "$T/new.tn5" >/dev/null
poke "$T/new.tn5" "$(( 12 + 4 ))" 00 40                                  # channel 2 moved
cp "$T/new.tn5" "$T/new.orig"
expect_status 0 "$cli" write --port "$DEV" "$T/new.tn5"
expect_line "$T/out" "Радиостанция: 450МГц - 470МГц (П45), версия 5"
expect_line "$T/out" "Запись данных успешно завершена."
cmp "$T/new.tn5" "$T/new.orig" || fail "write changed its file"
[ "$(grep -c '^+.* write 0x' "$T/sim.log")" -eq 38 ] || fail "not 38 frames"

# write-extra: the free text and the time; read-extra brings them back into a new file.
before=$(grep -c '^+.* write 0x' "$T/sim.log")
expect_status 0 "$cli" write-extra --port "$DEV" --text $'Тирна на складе\nполка 3'
[ "$(grep '^+.* write 0x' "$T/sim.log" | tail -n +$((before + 1)) | grep -c ' write 0x3')" -eq 26 ] ||
  fail "not 26 frames of additional data"
expect_status 0 "$cli" read-extra --port "$DEV" "$T/extra.tn5"
expect_line "$T/out" "Модель : Тирна-1234            "
expect_line "$T/out" "Заводской № : 007    "
expect_line "$T/out" "Тирна на складе"
expect_line "$T/out" "полка 3"
grep -Eq '^Время последнего программирования : [0-9]{2}-[0-9]{2}-[0-9]{4}   [0-9]{2}:[0-9]{2}:[0-9]{2}$' \
  "$T/out" || fail "no programming time"
[ "$(stat -c %s "$T/extra.tn5")" -eq 1536 ] || fail "read-extra did not create the file"

# read-extra into an existing file changes only packets 89, 90, 93 and 97-122.
"$cli" new -o "$T/mine.tn5" >/dev/null
poke "$T/mine.tn5" 4 11 22                                               # channel 1, kept
cp "$T/mine.tn5" "$T/mine.orig"
expect_status 0 "$cli" read-extra --port "$DEV" "$T/mine.tn5"
same_packets "$T/mine.tn5" "$T/mine.orig" 1 88 || fail "read-extra changed packets 1-88"
same_packets "$T/mine.tn5" "$T/mine.orig" 91 92 || fail "read-extra changed packets 91-92"
same_packets "$T/mine.tn5" "$T/mine.orig" 94 96 || fail "read-extra changed packets 94-96"
same_packets "$T/mine.tn5" "$T/mine.orig" 123 128 || fail "read-extra changed packets 123-128"
same_packets "$T/mine.tn5" "$T/extra.tn5" 97 122 || fail "read-extra did not take packets 97-122"
same_packets "$T/mine.tn5" "$T/radio.tn5" 89 90 || fail "read-extra did not take the model text"

stop_sim
# The radio's memory: the written packets of new.tn5 (the time excepted), the rest as before.
same_packets "$T/saved.tn5" "$T/new.tn5" 1 32 || fail "channels not written"
same_packets "$T/saved.tn5" "$T/new.tn5" 87 88 || fail "settings not written"
same_packets "$T/saved.tn5" "$T/new.tn5" 91 92 || fail "identification block not written"
same_packets "$T/saved.tn5" "$T/radio.tn5" 33 86 || fail "unused area changed"
same_packets "$T/saved.tn5" "$T/radio.tn5" 123 128 || fail "unused area changed"
no_strays
echo ok
