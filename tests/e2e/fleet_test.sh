# fleet: two simulated programmers, each with a queue of radios (a good one, one of the other band,
# one with a stuck memory cell, a good one, and on the first port the first radio plugged in again
# right after it was done). Every good radio ends with FILE's parameters and its own free text,
# every backup is that radio's memory before the write, the journal has one row per radio with the
# right result, no radio is programmed twice, the two ports together take hardly longer than one,
# a journal's done radios are left alone on the next run, and SIGTERM ends the run with the totals.
source "$E2E_LIB"

"$cli" new --coding-version 4 -o "$T/file.tn5" >/dev/null
"$cli" set "$T/file.tn5" f_rx3=151 skan5=Включен >/dev/null

# radio FOLDER NAME NUMBER [BAND]: a radio's memory with a 7-digit factory number.
radio() {
  "$cli" new --band "${4:-0}" --coding-version 4 -o "$1/$2.tn5" >/dev/null
  local digits=() i
  for ((i = 0; i < 7; i++)); do digits+=("3${3:i:1}"); done
  poke "$1/$2.tn5" "$(offset_of $((0x2E0)))" "${digits[@]}"
}
# The address of the first byte that FILE changes in a default radio: stuck in the faulty ones.
radio "$T" probe 0000000
off=$(cmp -l "$T/probe.tn5" "$T/file.tn5" | head -1 | awk '{print $1 - 1}')
stuck=$(( (off / 12) * 8 + off % 12 - 4 ))
queue() {  # queue FOLDER FIRST_DIGIT
  mkdir -p "$1"
  radio "$1" r1 "${2}000001"
  radio "$1" r2 "${2}000002" 1
  radio "$1" r3 "${2}000003"
  printf '0x%X\n' "$stuck" >"$1/r3.stuck"
  radio "$1" r4 "${2}000004"
  poke "$1/r4.tn5" "$(offset_of $((0x300)))" 4F 57 4E  # "OWN": its own text, not in the table
}
queue "$T/a" 1
cp "$T/a/r1.tn5" "$T/a/r1b.tn5"  # the first radio again, right after
queue "$T/b" 2
printf 'factory_number,text\n1000001,Иванов\n"2000001 ","Петров\nпозывной 7"\n' >"$T/texts.csv"

# run_fleet NAME SIM_ARGS_A [SIM_ARGS_B]: runs fleet on one or two fresh simulators; the output in
# $T/NAME.out, the status in $status, the wall time in ms in $elapsed.
run_fleet() {
  local name=$1 ports=() i=0
  shift
  for queue_dir in "$@"; do
    mkdir -p "$T/$name-saved-$i"
    start_sim --radios "$queue_dir" --unplugged-ms 1000 --save "$T/$name-saved-$i" \
      --log "$T/$name-sim-$i.log"
    ports+=(--port "$DEV")
    eval "sim_$i=\$SIM dev_$i=\$DEV"
    i=$((i + 1))
  done
  local start=$(date +%s%N)
  status=0
  timeout -k 5 150 "$cli" fleet "${ports[@]}" "$T/file.tn5" --texts "$T/texts.csv" \
    --backup-dir "$T/$name-bk" --journal "$T/$name.csv" --count "$count" \
    >"$T/$name.out" 2>"$T/$name.err" || status=$?
  elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
  for p in "${SIMS[@]}"; do kill -TERM "$p" 2>/dev/null || true; done
  wait "${SIMS[@]}" 2>/dev/null || true
  SIMS=()
}

# One port alone, then both at once.
count=4 run_fleet one "$T/a"
[ "$status" -eq 7 ] || { cat "$T/one.out" "$T/one.err"; fail "one port: exit $status, not 7"; }
one_port=$elapsed
count=8 run_fleet two "$T/a" "$T/b"
[ "$status" -eq 7 ] || { cat "$T/two.out" "$T/two.err"; fail "two ports: exit $status, not 7"; }
[ $((elapsed * 10)) -lt $((one_port * 12)) ] ||
  fail "two ports took ${elapsed} ms, one port ${one_port} ms: not under 1.2 times"
echo "one port: ${one_port} ms, two ports: ${elapsed} ms"

# The journal: BOM, header, one row per radio with the result and a single write's status. Its
# separator is the locale's: ";" where the decimal mark is "," (a Russian desktop), else ",".
journal=$T/two.csv
s=,
[ "$(printf '%.1f' 1 2>/dev/null)" = "1,0" ] && s=';'
[ "$(head -c 3 "$journal" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "the journal has no BOM"
expect_line "$journal" $'\xEF\xBB\xBF'"time${s}port${s}factory_number${s}model${s}band${s}version${s}file${s}file_sha256${s}backup${s}result${s}exit_status${s}note${s}station${s}user${s}command${s}sent_sha256${s}readback_sha256${s}previous_row_sha256"$'\r'
[ "$(wc -l <"$journal")" -eq 9 ] || { cat "$journal"; fail "not 8 rows"; }
sha=$(sha256sum "$T/file.tn5" | cut -d' ' -f1)
field() { awk -F"$s" -v n="$1" -v c="$2" '$3 == n { print $c }' "$journal"; }  # FACTORY COLUMN
for digit in 1 2; do
  port=$([ "$digit" = 1 ] && echo "$dev_0" || echo "$dev_1")
  for r in 1 2 3 4; do
    n="${digit}00000$r"
    [ "$(awk -F"$s" -v n="$n" '$3 == n' "$journal" | wc -l)" -eq 1 ] || fail "$n: not one row"
    [ "$(field "$n" 2)" = "$port" ] || fail "$n: port $(field "$n" 2)"
    [ "$(field "$n" 8)" = "$sha" ] || fail "$n: FILE's SHA-256"
    [ "$(field "$n" 6)" = 4 ] || fail "$n: version"
  done
  [ "$(field "${digit}000001" 10),$(field "${digit}000001" 11)" = "done,0" ] || fail "${digit}000001"
  [ "$(field "${digit}000002" 10),$(field "${digit}000002" 11)" = "band refused,6" ] || fail "${digit}000002"
  [ "$(field "${digit}000003" 10),$(field "${digit}000003" 11)" = "read-back differs,7" ] ||
    fail "${digit}000003: $(field "${digit}000003" 10)"
  [ "$(field "${digit}000004" 10),$(field "${digit}000004" 11)" = "done,0" ] || fail "${digit}000004"
  [[ "$(field "${digit}000002" 5)" == 450* ]] || fail "${digit}000002: band $(field "${digit}000002" 5)"
done
grep -q 'free text kept: factory number not in the table' <(grep "${s}1000004${s}" "$journal") ||
  fail "1000004: the journal does not say its text was kept"

# The radios: the good ones hold FILE's parameters and their own texts; each backup is the radio as
# it was; the radio plugged in again right after was neither written nor journaled twice.
shown_differences() { "$cli" diff "$1" "$2" | awk 'NR > 1 && $0 == "" { exit } NR > 1 { print $1 }' | tr '\n' ' '; }
for q in a b; do
  i=$([ "$q" = a ] && echo 0 || echo 1)
  for r in r1 r4; do
    [ "$(shown_differences "$T/file.tn5" "$T/two-saved-$i/$r.tn5")" = "nomer memo1 time " ] ||
      fail "$q/$r: $(shown_differences "$T/file.tn5" "$T/two-saved-$i/$r.tn5")"
  done
  "$cli" show "$T/two-saved-$i/r4.tn5" --json | grep -q '"memo1": "OWN"' || fail "$q/r4 lost its own text"
  [ "$(shown_differences "$T/$q/r2.tn5" "$T/two-saved-$i/r2.tn5")" = "" ] || fail "$q/r2 was written"
  for r in r1 r3 r4; do
    n=$(field "$([ "$q" = a ] && echo 1 || echo 2)00000${r#r}" 9)
    cmp -s "$n" "$T/$q/$r.tn5" || fail "$q/$r: the backup $n is not the radio before the write"
  done
  [ "$(find "$T/two-bk" -name "$([ "$q" = a ] && echo 1 || echo 2)00000*" | wc -l)" -eq 3 ] ||
    fail "$q: not three backups"
done
"$cli" show "$T/two-saved-0/r1.tn5" --json | grep -q '"memo1": "Иванов"' || fail "a/r1: its text"
"$cli" show "$T/two-saved-1/r1.tn5" --json | grep -q '"memo1": "Петров\\nпозывной 7"' ||
  fail "b/r1: its text"
cmp -s "$T/a/r1b.tn5" "$T/two-saved-0/r1b.tn5" || fail "the radio plugged in again was written"
[ "$(count_lines "$T/two-sim-0.log" ' write 0x')" -eq $((38 + 26 + 38 + 38)) ] ||
  fail "port a: $(count_lines "$T/two-sim-0.log" ' write 0x') frames, not three writes and one text"

# The next run with that journal: its done radios are done already and get nothing.
mkdir -p "$T/again"
cp "$T/a/r1.tn5" "$T/a/r4.tn5" "$T/again/"
cp "$journal" "$T/again.csv"
count=2 run_fleet again "$T/again"
[ "$status" -eq 0 ] || { cat "$T/again.out"; fail "the run on done radios: exit $status"; }
[ "$(grep -c "${s}already done${s}0${s}" "$T/again.csv")" -eq 2 ] || fail "not two radios already done"
[ "$(count_lines "$T/again-sim-0.log" ' write 0x')" -eq 0 ] || fail "a done radio was written"
[ "$(wc -l <"$T/again.csv")" -eq 11 ] || fail "the journal did not keep its rows"

# SIGTERM in the middle of a write: END to the radio, a "stopped" row, the totals, status 130.
mkdir -p "$T/stop"
cp "$T/a/r1.tn5" "$T/stop/"
start_sim --radios "$T/stop" --log "$T/stop-sim.log"
"$cli" fleet --port "$DEV" "$T/file.tn5" --journal "$T/stop.csv" >"$T/stop.out" 2>&1 &
fleet=$!
for _ in $(seq 200); do grep -q ' write 0x' "$T/stop-sim.log" && break; sleep 0.05; done
kill -TERM "$fleet"
status=0
wait "$fleet" || status=$?
[ "$status" -eq 130 ] || { cat "$T/stop.out"; fail "stopped: exit $status"; }
expect_line "$T/stop.out" "Total: done 0, failed 1"
grep -q "${s}stopped${s}130${s}" "$T/stop.csv" || fail "no stopped row"
[[ "$(tail -1 "$T/stop-sim.log")" == *END ]] || fail "the radio got no END after the stop"
stop_sim

# Refused before any radio: a port given twice (one device by two names: device_lock_test.sh), a text table that names a radio twice, a journal
# over FILE; a port that does not open ends its worker with status 4.
expect_status 2 "$cli" fleet --port /dev/null --port /dev/null "$T/file.tn5"
printf 'factory_number,text\n1,a\n1,b\n' >"$T/twice.csv"
expect_status 8 "$cli" fleet --port /dev/null "$T/file.tn5" --texts "$T/twice.csv"
expect_line "$T/err" "$T/twice.csv: line 3: the factory number 1 twice"
expect_status 2 "$cli" fleet --port /dev/null "$T/file.tn5" --journal "$T/file.tn5"
expect_status 4 "$cli" fleet --port "$T/no-such-port" "$T/file.tn5" --journal "$T/none.csv"
expect_line "$T/err" "$T/no-such-port: Specified device not found ($T/no-such-port)."
[ "$(wc -l <"$T/none.csv")" -eq 1 ] || fail "a journal row without a radio"
no_strays
echo "fleet: OK"
