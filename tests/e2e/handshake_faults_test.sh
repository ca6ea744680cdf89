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
# The times are for programs to read: a decimal point, whatever the locale (e2e_ru runs this too).
grep -qvE '^\+ *[0-9]+\.[0-9]{3} ms  ' "$T/trace.txt" && fail "trace times: $(head -3 "$T/trace.txt")"
expect_status 5 "$cli" write-extra --port "$DEV" --text x --trace "$T/trace2.txt"
write_failed_lines
grep -q '> 45 4E 44$' "$T/trace2.txt" && fail "END after write-extra's failed handshake"
expect_status 5 "$cli" read-extra --port "$DEV" "$T/kept.tn5"
expect_line "$T/err" "Дополнительная информация не считана. Проверьте включена ли радиостанция и"
cmp "$T/kept.tn5" "$T/kept.orig" || fail "a failed read-extra changed the file"
stop_sim

# Identifications: only the identification block's layout ("P1600", band, version, 0x00) is one.
# Each case: the simulator's options, the read's status, its attempts, what the write then gives.
# A stray 0x06 on the line before the first acknowledgement shifts one attempt's answer by a byte;
# that attempt fails and the next finds the radio as it is (band 0x00, version 4, 160 MHz).
while IFS='|' read -r options read_status attempts write_status; do
  eval "set -- $options"
  start_sim "$@" --log "$T/ident.log"
  expect_status "$read_status" "$cli" read --port "$DEV" -o "$T/ident.tn5"
  [ "$(grep -c 'programming request' "$T/ident.log")" -eq "$attempts" ] ||
    fail "$options: not $attempts attempts"
  if [ "$read_status" -eq 0 ]; then
    grep -q "^Радиостанция: .*, версия 4$" "$T/out" || fail "$options: no radio line"
    expect_status 0 "$cli" show "$T/ident.tn5"
    grep -q '^ *1 .*160,000000' "$T/out" || fail "$options: channel 1 not at 160 MHz: $(cat "$T/out")"
  else
    read_failed_lines
    grep -q 'Радиостанция:' "$T/out" && fail "$options: a refused radio was reported"
  fi
  expect_status "$write_status" "$cli" write --port "$DEV" "$T/kept.tn5"
  stop_sim
  rm -f "$T/ident.log" "$T/ident.tn5"
done <<'EOF'
--noise "00 FF 06"|0|2|0
--ident "06 50 31 36 30 30 00 02"|5|4|5
--ident "50 31 36 30 31 00 04 00"|5|4|5
--ident "41 50 31 36 30 30 00 04"|5|4|5
--band-code 0x30|0|1|6
EOF

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
