# How a fleet run ends, port by port: whatever ends one port (its radio hanging up in the middle
# of the handshake) is that radio's row and that port's ending, never the other's; a closed output
# (| head) stops the run as Ctrl-C does; "already done" means done with this FILE; a busy port is
# tried again; failures of ports go to standard error.
source "$E2E_LIB"

"$cli" new --coding-version 4 -o "$T/A.tn5" >/dev/null
"$cli" new --coding-version 4 -o "$T/B.tn5" >/dev/null
"$cli" set "$T/B.tn5" f_rx2=151 >/dev/null
mkdir -p "$T/one"
"$cli" new --coding-version 4 -o "$T/one/r1.tn5" >/dev/null
poke "$T/one/r1.tn5" "$(offset_of $((0x2E0)))" 37 37 37 37 37 37 37  # factory number 7777777
printf 'factory_number,text\n7777777,Бригада 7\n' >"$T/texts.csv"

# True when the radio of a simulator's log was left in programming mode: no END after the last
# handshake it completed.
left_in_programming_mode() {
  awk '/programming mode/ { open = 1 } / END$/ { open = 0 } END { exit !open }' "$1"
}

# The journal's column COLUMN of its rows, whichever separator the locale gave it.
rows() {
  local sep=,
  head -1 "$1" | grep -q ';' && sep=';'
  awk -F"$sep" -v c="$2" 'NR > 1 { print $c }' "$1"
}

case_hangup_in_handshake() {
  # Port 1: a radio that answers slowly and is gone while it sends its identification. Port 2: a
  # good radio, programmed all the same.
  start_sim --reaction-ms 150 --log "$T/h1.log"
  local dev1=$DEV sim1=$SIM
  start_sim --radios "$T/one" --unplugged-ms 60000 --log "$T/h2.log"
  local dev2=$DEV
  timeout -k 5 60 "$cli" fleet --port "$dev1" --port "$dev2" "$T/A.tn5" --journal "$T/h.csv" \
    --count 2 >"$T/out" 2>"$T/err" &
  local fleet=$!
  for _ in $(seq 200); do grep -q 'identification request' "$T/h1.log" && break; sleep 0.02; done
  kill -KILL "$sim1"
  local status=0
  wait "$fleet" || status=$?
  [ "$status" -eq 5 ] || { cat "$T/out" "$T/err"; fail "hang-up: exit $status, not 5"; }
  [ "$(rows "$T/h.csv" 10 | sort | tr '\n' ' ')" = "done read failed " ] ||
    fail "hang-up: rows $(rows "$T/h.csv" 10 | tr '\n' ' ')"
  # How the port's end reads depends on when the kill lands (the device gone, or a read that
  # failed); where it goes does not.
  local ending
  ending=$(grep "^$dev1: " "$T/err" | tail -1) || fail "hang-up: no port ending on stderr"
  grep -qxF -- "$ending" "$T/out" && fail "hang-up: a port failure on stdout"
  [ "$(count_lines "$T/h2.log" ' write 0x')" -eq 38 ] || fail "hang-up: port 2 was not written"
  stop_sim  # port 2's
}

case_output_closed() {
  # Nobody reads the lines after the second (writing): the run stops as at Ctrl-C, with the
  # free text's write under way: END to the radio, a "stopped" row, the totals on stderr.
  start_sim --radios "$T/one" --unplugged-ms 60000 --log "$T/p.log"
  local status
  set +e
  timeout -k 5 60 "$cli" fleet --port "$DEV" "$T/A.tn5" --texts "$T/texts.csv" \
    --journal "$T/p.csv" 2>"$T/err" | head -n 2 >"$T/out"
  status=${PIPESTATUS[0]}
  set -e
  [ "$status" -eq 130 ] || { cat "$T/out" "$T/err"; fail "closed output: exit $status"; }
  [ "$(rows "$T/p.csv" 10)" = stopped ] || fail "closed output: row $(rows "$T/p.csv" 10)"
  left_in_programming_mode "$T/p.log" && fail "closed output: the radio got no END"
  expect_line "$T/err" "Total: done 0, failed 1"
  stop_sim
}

case_done_with_another_file() {
  # Done with A.tn5; B.tn5 is programmed into it all the same; A.tn5 again is already done.
  local file want
  for file_want in A.tn5:done B.tn5:done A.tn5:"already done" B.tn5:"already done"; do
    file=${file_want%%:*} want=${file_want#*:}
    start_sim --radios "$T/one" --unplugged-ms 60000
    expect_status 0 "$cli" fleet --port "$DEV" "$T/$file" --journal "$T/d.csv" --count 1
    [ "$(rows "$T/d.csv" 10 | tail -1)" = "$want" ] || fail "$file: $(rows "$T/d.csv" 10 | tail -1), not $want"
    stop_sim
  done
}

case_busy_port() {
  # Another program holds the port for two seconds: said once, tried again, then programmed.
  start_sim --radios "$T/one" --unplugged-ms 60000
  flock "$DEV" sleep 2 &
  local locker=$!
  sleep 0.2
  expect_status 0 "$cli" fleet --port "$DEV" "$T/A.tn5" --count 1
  wait "$locker"
  grep -q "^$DEV: port busy, tried again every second: Устройство $DEV занято: процесс [0-9]* flock$" "$T/out" ||
    { cat "$T/out"; fail "busy: not said"; }
  expect_line "$T/out" "$DEV: port free again"
  grep -q "^$DEV: 7777777 done" "$T/out" || fail "busy: the radio was not programmed"
  stop_sim
}

for c in hangup_in_handshake output_closed done_with_another_file busy_port; do
  "case_$c"
  echo "$c: ok"
done
no_strays
echo ok
