# Radios too slow for the deadline, and frames answered with 0x15.
source "$E2E_LIB"

"$cli" new -o "$T/kept.tn5" >/dev/null
cp "$T/kept.tn5" "$T/kept.orig"

# 100 ms per packet: 12.8 s for 128 packets, past the one 10 s deadline of the read.
start_sim --packet-delay-ms 100 --log "$T/slow.log"
expect_status 5 "$cli" read --port "$DEV" -o "$T/kept.tn5"
read_failed_lines
cmp "$T/kept.tn5" "$T/kept.orig" || fail "a read past its deadline changed the file"
requests=$(grep -c ' read 0x' "$T/slow.log")
[ "$requests" -lt 128 ] || fail "the slow read reached the last packet"
grep -q 'END$' "$T/slow.log" && fail "END after a failed read"
stop_sim

# 110 ms per packet: the 29 packets of the additional data take more than 3 s.
start_sim --packet-delay-ms 110
expect_status 5 "$cli" read-extra --port "$DEV" "$T/kept.tn5"
expect_line "$T/err" "Дополнительная информация не считана. Проверьте включена ли радиостанция и"
expect_line "$T/err" "подключение кабеля программатора."
cmp "$T/kept.tn5" "$T/kept.orig" || fail "a failed read-extra changed the file"
stop_sim

# Frames answered with 0x15: the write waits for 0x06 until its deadline.
start_sim --nak --log "$T/nak.log"
expect_status 5 "$cli" write --port "$DEV" "$T/kept.tn5"
write_failed_lines
cmp "$T/kept.tn5" "$T/kept.orig" || fail "write changed its file"
[ "$(grep -c ' write 0x' "$T/nak.log")" -eq 1 ] || fail "a frame was sent without acknowledgement"
grep -q 'END$' "$T/nak.log" && fail "END after a failed write"
stop_sim
no_strays
echo ok
