# The radio's side goes away in the middle of a transfer.
source "$E2E_LIB"

"$cli" new -o "$T/kept.tn5" >/dev/null
cp "$T/kept.tn5" "$T/kept.orig"

# The simulator hangs up after 40 packets: the read ends at once with its message.
start_sim --hangup-after 40
expect_status 5 "$cli" read --port "$DEV" -o "$T/kept.tn5"
read_failed_lines
# The error of the read that failed (EIO of the pseudo-terminal), not a later call's.
grep -qE '^\(Read error \(5\), .+\)$' "$T/err" || fail "not the read's error: $(cat "$T/err")"
cmp "$T/kept.tn5" "$T/kept.orig" || fail "an interrupted read changed the file"
wait "$SIM" || fail "the simulator did not end by itself after hanging up"

# The simulator is killed during a write.
start_sim --packet-delay-ms 50
timeout -k 5 60 "$cli" write --port "$DEV" "$T/kept.tn5" >"$T/out" 2>"$T/err" &
writer=$!
sleep 0.5
kill -KILL "$SIM"
got=0
wait "$writer" || got=$?
[ "$got" -eq 5 ] || { cat "$T/err" >&2; fail "write after the radio was killed exited $got"; }
write_failed_lines
grep -qE '^\(Read error \(5\), .+\)$' "$T/err" || fail "not the read's error: $(cat "$T/err")"
cmp "$T/kept.tn5" "$T/kept.orig" || fail "write changed its file"
wait "$SIM" 2>/dev/null || true
no_strays
echo ok
