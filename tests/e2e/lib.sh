# Shared helpers of the link tests. Source it; it sets -eu and a scratch folder $T, and stops
# every simulator it started when the script ends.
# The helpers of the command-line tests (fail, expect_line, poke, offset_of, $cli, $T) come first.
source "$(dirname "${BASH_SOURCE[0]}")/../cli/lib.sh"
sim="${TIRNA_SIM:?TIRNA_SIM names the tirna520-sim executable}"
SIMS=()
CLEANUP_FILES=()  # files outside $T that a script made, removed at its end

cleanup() {
  for p in "${SIMS[@]+"${SIMS[@]}"}"; do kill -KILL "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  for f in "${CLEANUP_FILES[@]+"${CLEANUP_FILES[@]}"}"; do rm -f "$f"; done
  rm -rf "$T"
}
trap cleanup EXIT

# start_sim ARGS...: starts the simulator; DEV is its pseudo-terminal, SIM its process id.
start_sim() {
  local fifo="$T/sim-$RANDOM.fifo"
  mkfifo "$fifo"
  "$sim" "$@" >"$fifo" 2>>"$T/sim.err" &
  SIM=$!
  SIMS+=("$SIM")
  exec 3<>"$fifo"
  read -r -t 10 -u 3 DEV || fail "the simulator did not start: $(cat "$T/sim.err")"
  exec 3<&-
  rm -f "$fifo"
}

# stop_sim: ends the simulator ($SIM) with SIGTERM and waits for it, at most 5 s.
stop_sim() {
  kill -TERM "$SIM" 2>/dev/null || true
  local i
  for i in $(seq 100); do
    kill -0 "$SIM" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$SIM" 2>/dev/null && fail "the simulator did not end"
  wait "$SIM" 2>/dev/null || true
}

# no_strays: every process this script started has ended.
no_strays() {
  [ -z "$(jobs -pr)" ] || fail "processes still running: $(jobs -pr | tr '\n' ' ')"
}

# expect_status N command...: as the command-line tests' one, but bounded (at most 60 s), keeps stdout in $T/out and stderr
# in $T/err.
expect_status() {
  local want=$1; shift
  local got=0
  timeout -k 5 60 "$@" >"$T/out" 2>"$T/err" || got=$?
  [ "$got" -eq "$want" ] || {
    cat "$T/out" "$T/err" >&2
    fail "'$*' exited $got, expected $want"
  }
}

# same_packets A B FIRST LAST: packets FIRST..LAST of the two files are equal.
same_packets() {
  cmp -s -i "$(( ($3 - 1) * 12 )):$(( ($3 - 1) * 12 ))" -n "$(( ($4 - $3 + 1) * 12 ))" "$1" "$2"
}

read_failed_lines() {
  expect_line "$T/err" "Данные не считаны. Проверьте включена ли радиостанция и"
  expect_line "$T/err" "подключение кабеля программатора."
}

write_failed_lines() {
  expect_line "$T/err" "Данные не записаны. Проверьте включена ли радиостанция и"
  expect_line "$T/err" "подключение кабеля программатора."
}


# count_lines FILE PATTERN: lines of FILE matching the extended regular expression (0 when none).
count_lines() { grep -cE -- "$2" "$1" || true; }
