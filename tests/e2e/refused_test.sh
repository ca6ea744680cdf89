# What the link commands refuse: another band, packets with foreign headers, bad input; and what
# the simulator refuses of its options.
source "$E2E_LIB"

"$cli" new -o "$T/low.tn5" >/dev/null
cp "$T/low.tn5" "$T/low.orig"

# A radio of the other band gets nothing beyond the handshake.
start_sim --band-code 0x06 --log "$T/band.log"
expect_status 6 "$cli" write --port "$DEV" "$T/low.tn5" --trace "$T/trace.txt"
expect_line "$T/out" "Радиостанция: 450МГц - 470МГц (П45), версия 4"
expect_line "$T/err" "Данная радиостанция не соответствует"
expect_line "$T/err" "выбранному диапазону частот"
grep -q ' write 0x' "$T/band.log" && fail "a frame went to a radio of the other band"
grep -q '> 45 4E 44$' "$T/trace.txt" && fail "END after the band mismatch"
cmp "$T/low.tn5" "$T/low.orig" || fail "write changed its file"
# The additional data is written whatever the band.
expect_status 0 "$cli" write-extra --port "$DEV" --text "другой диапазон"
stop_sim

# A packet to be written that carries the header of another address: refused before the port
# is opened.
start_sim --log "$T/guard.log"
poke "$T/low.tn5" $(( 4 * 12 + 2 )) 30      # packet 5 names address 0x030
cp "$T/low.tn5" "$T/bad.orig"
expect_status 8 "$cli" write --port "$DEV" "$T/low.tn5"
expect_line "$T/err" "Файл параметров повреждён: заголовки пакетов не соответствуют адресам."
[ ! -s "$T/guard.log" ] || fail "the port was opened for a corrupt file"
cmp "$T/low.tn5" "$T/bad.orig" || fail "write changed its file"
# A foreign header in a packet that is not written does not matter.
cp "$T/low.orig" "$T/ok.tn5"
poke "$T/ok.tn5" $(( 49 * 12 )) 00
expect_status 0 "$cli" write --port "$DEV" "$T/ok.tn5"

# Bad input: a text outside code page 1251, missing files, a folder that does not exist.
expect_status 8 "$cli" write-extra --port "$DEV" --text "☺"
expect_status 3 "$cli" write-extra --port "$DEV" --text-file "$T/missing.txt"
expect_status 3 "$cli" write --port "$DEV" "$T/missing.tn5"
expect_status 3 "$cli" read --port "$DEV" -o "$T/no/such/folder.tn5"
expect_status 2 "$cli" write-extra --port "$DEV" --text a --text-file "$T/low.tn5"
expect_status 2 "$cli" read -o "$T/x.tn5"
stop_sim

# The simulator takes a stuck cell's address in one notation, on its command line and in a radio's
# NAME.stuck alike, and refuses what is not an address of its memory (status 2).
for address in 0x400 -1 5x ''; do
  expect_status 2 "$sim" --stuck "$address"
  expect_line "$T/err" "tirna520-sim: --stuck: not a memory address: $address"
done
mkdir "$T/radios"
cp "$T/low.orig" "$T/radios/r.tn5"
printf '0x3FF\n1O\n' >"$T/radios/r.stuck"
expect_status 2 "$sim" --radios "$T/radios"
expect_line "$T/err" "tirna520-sim: $T/radios/r.tn5: not a memory address: 1O"
no_strays
echo ok
