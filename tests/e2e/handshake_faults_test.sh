# Radios that do not enter programming mode properly: silent, a foreign identification, noise.
source "$E2E_LIB"

"$cli" new -o "$T/kept.tn5" >/dev/null
cp "$T/kept.tn5" "$T/kept.orig"

# Silent: four programming requests, the read's message, no file; an existing file stays.
start_sim --silent --log "$T/silent.log"
expect_status 5 "$cli" read --port "$DEV" -o "$T/none.tn5"
read_failed_lines
[ ! -e "$T/none.tn5" ] || fail "a failed read wrote a file"
[ "$(grep -c 'programming request' "$T/silent.log")" -eq 4 ] || fail "not 4 programming requests"
expect_status 5 "$cli" read --port "$DEV" -o "$T/kept.tn5"
cmp "$T/kept.tn5" "$T/kept.orig" || fail "a failed read changed the existing file"
# The write sends END after a failed handshake, and only then.
expect_status 5 "$cli" write --port "$DEV" "$T/kept.tn5" --trace "$T/trace.txt"
write_failed_lines
grep -q '> 45 4E 44$' "$T/trace.txt" || fail "no END after the write's failed handshake"
expect_status 5 "$cli" write-extra --port "$DEV" --text x --trace "$T/trace2.txt"
write_failed_lines
grep -q '> 45 4E 44$' "$T/trace2.txt" && fail "END after write-extra's failed handshake"
expect_status 5 "$cli" read-extra --port "$DEV" "$T/kept.tn5"
expect_line "$T/err" "Дополнительная информация не считана. Проверьте включена ли радиостанция и"
cmp "$T/kept.tn5" "$T/kept.orig" || fail "a failed read-extra changed the file"
stop_sim

# An identification without "P1600": four attempts at once, then the message.
start_sim --ident "50 31 36 30 31 00 04 00" --log "$T/foreign.log"
expect_status 5 "$cli" read --port "$DEV" -o "$T/none.tn5"
read_failed_lines
[ "$(grep -c 'programming request' "$T/foreign.log")" -eq 4 ] || fail "not 4 attempts"
grep -q 'Радиостанция:' "$T/out" && fail "a refused radio was reported"
stop_sim

# Noise before the first acknowledgement and before every later one is dropped.
start_sim --noise "15 FF 00 50" --noise-between "15 41 00"
expect_status 0 "$cli" read --port "$DEV" -o "$T/noisy.tn5"
expect_status 0 "$cli" write --port "$DEV" "$T/kept.tn5"
expect_status 0 "$cli" write-extra --port "$DEV" --text "шум"
stop_sim

# A byte added before a read reply: the read ends instead of storing shifted packets.
start_sim --reply-noise 00
expect_status 5 "$cli" read --port "$DEV" -o "$T/kept.tn5"
read_failed_lines
cmp "$T/kept.tn5" "$T/kept.orig" || fail "a shifted read changed the file"
stop_sim
no_strays
echo ok
