#!/usr/bin/env bash
# Programming a fleet on one port against tirna520-sim at 9600 baud: RADIOS good radios in a
# queue, each backed up, written and read back; radios per minute, and the same for the line's
# floor of backup + write + read-back (128 + 38 + 128 packets at 16, 13 and 16 bytes each way,
# 10 bits per byte) without the handshakes and the wait for the unplugged radio.
# Run: cmake --build build --target bench_fleet  (or bench/fleet_bench.sh CLI SIM [RADIOS] [GAP_MS])
set -euo pipefail
cli=$1 sim=$2 radios=${3:-6} gap=${4:-0}
T=$(mktemp -d)
trap 'kill "$sim_pid" 2>/dev/null || true; rm -rf "$T"' EXIT
export XDG_DATA_HOME="$T/data"  # the run's journal, not the user's
mkdir -p "$T/radios"
"$cli" new --coding-version 4 -o "$T/file.tn5" >/dev/null
"$cli" set "$T/file.tn5" f_rx3=151 >/dev/null
for ((i = 1; i <= radios; i++)); do
  "$cli" new --coding-version 4 -o "$T/radios/r$i.tn5" >/dev/null
  printf '%07d' "$i" | dd of="$T/radios/r$i.tn5" bs=1 seek=$(( (0x2E0 / 8) * 12 + 4 )) conv=notrunc status=none
done
mkfifo "$T/dev"
"$sim" --radios "$T/radios" --unplugged-ms "$gap" >"$T/dev" &
sim_pid=$!
read -r dev <"$T/dev"
start=$(date +%s%N)
"$cli" fleet --port "$dev" "$T/file.tn5" --backup-dir "$T/bk" --count "$radios" >"$T/out" ||
  { cat "$T/out"; exit 1; }
ms=$(( ($(date +%s%N) - start) / 1000000 ))
floor_ms=$(( (128 * 16 + 38 * 13 + 128 * 16) * 10 * 1000 / 9600 ))
echo "radios: $radios, unplugged gap: $gap ms, total: $ms ms"
awk -v n="$radios" -v ms="$ms" -v f="$floor_ms" 'BEGIN {
  printf "per radio: %.2f s, %.1f radios/min/port; floor %.2f s, %.1f radios/min\n",
         ms / n / 1000, n * 60000 / ms, f / 1000, 60000 / f }'
