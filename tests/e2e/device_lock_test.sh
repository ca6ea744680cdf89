# One programmer is one lock, whatever name opens it: its device, a link to it (as
# /dev/serial/by-id and /dev/tirna520-programmer are), or COMn mapped to either. A second command
# on the same device is refused as busy, naming what holds it, also for root (who passes a tty's
# exclusive mode); a fleet refuses one device given twice before it starts.
source "$E2E_LIB"

"$cli" new -o "$T/f.tn5" >/dev/null
start_sim --silent  # the first command waits in its handshake for about three seconds
ln -s "$DEV" "$T/link"
mkdir "$T/prog"
printf '[\xcf\xee\xf0\xf2\xfb]\r\nCOM2=%s\r\nCOM3=%s\r\n' "$T/link" "$DEV" >"$T/prog/config.ini"
name=${DEV#/dev/}
lock="/run/lock/LCK..${name//\//_}"

# first | second: the ports by which the two commands open the one device.
while IFS='|' read -r first second; do
  (cd "$T/prog" && exec timeout -k 5 60 "$cli" read --port "$first" -o "$T/first.tn5") \
    >"$T/first.out" 2>"$T/first.err" &
  holder=$!
  sleep 0.5
  (cd "$T/prog" && expect_status 4 "$cli" write --port "$second" "$T/f.tn5")
  grep -q "(Error 16, .*)$" "$T/err" || fail "$first, $second: not busy"  # in the locale's words
  holders=$(pgrep -P "$holder" || true)  # the command under timeout
  grep -qE "^Файл блокировки $lock \(пользователь $(id -un), процесс ($holder|$holders) tirna520-cli\)$" \
    "$T/err" || { cat "$T/err" >&2; fail "$first, $second: the holder is not named"; }
  got=0
  wait "$holder" || got=$?
  [ "$got" -eq 5 ] || fail "$first, $second: the first command exited $got"
done <<TABLE
$DEV|$T/link
$T/link|$DEV
COM2|$DEV
$DEV|COM3
TABLE

# A program that locks the device with flock() and knows nothing of lock files holds it too.
flock "$DEV" sleep 3 &
locker=$!
sleep 0.3
expect_status 4 "$cli" write --port "$T/link" "$T/f.tn5"
grep -qE "^Устройство $DEV занято: процесс [0-9]+ flock$" "$T/err" ||
  { cat "$T/err" >&2; fail "the flock() holder is not named"; }
wait "$locker"

# A fleet on one programmer by two names would be two workers on one line.
expect_status 2 "$cli" fleet --port "$DEV" --port "$T/link" "$T/f.tn5" --count 1
expect_line "$T/err" "fleet: $DEV and $T/link are the same device ($DEV)"
(cd "$T/prog" && expect_status 2 "$cli" fleet --port COM2 --port COM3 "$T/f.tn5" --count 1)
expect_line "$T/err" "fleet: COM2 and COM3 are the same device ($DEV)"
stop_sim
no_strays
echo ok
