# Ports that cannot be opened, and COMn names.
source "$E2E_LIB"

"$cli" new -o "$T/f.tn5" >/dev/null

# Missing.
expect_status 4 "$cli" read --port /dev/tirna-no-such-port -o "$T/x.tn5"
expect_line "$T/err" "Не удается открыть порт /dev/tirna-no-such-port."
expect_line "$T/err" "Возможно, порт занят другим приложением или отключен аппаратно."
expect_line "$T/err" "Specified device not found (/dev/tirna-no-such-port)."
[ ! -e "$T/x.tn5" ] || fail "a failed read wrote a file"

# Busy: a first command holds the port while it waits for a silent radio.
start_sim --silent
timeout -k 5 60 "$cli" read --port "$DEV" -o "$T/first.tn5" >"$T/first.out" 2>"$T/first.err" &
first=$!
sleep 0.5
expect_status 4 "$cli" write --port "$DEV" "$T/f.tn5"
grep -q "^Can't open specified device $DEV (Error 16, Permission error while locking the device)$" \
  "$T/err" || { cat "$T/err" >&2; fail "busy port message"; }
got=0
wait "$first" || got=$?
[ "$got" -eq 5 ] || fail "the first command exited $got"
stop_sim

# No permission (as root every device is open to us).
if [ "$(id -u)" -ne 0 ]; then
  start_sim
  chmod 000 "$DEV"
  expect_status 4 "$cli" read --port "$DEV" -o "$T/x.tn5"
  grep -q 'Error 13, Permission denied' "$T/err" || fail "permission message"
  grep -q 'dialout' "$T/err" || fail "no hint about the dialout group"
  stop_sim
else
  echo "skipped: no-permission case (running as root)"
fi

# COMn: the device named in config.ini, section [Порты] (code page 1251), else /dev/ttyUSB<n-1>.
start_sim
mkdir "$T/prog"
printf '[\xce\xe1\xf9\xe8\xe5]\r\n\xd1\xce\xcc/USB=1\r\n[\xcf\xee\xf0\xf2\xfb]\r\nCOM3=%s\r\n' "$DEV" \
  >"$T/prog/config.ini"
(cd "$T/prog" && expect_status 0 "$cli" read --port COM3 -o "$T/com3.tn5")
(cd "$T/prog" && expect_status 4 "$cli" read --port COM29 -o "$T/x.tn5")
expect_line "$T/err" "Не удается открыть порт COM29 (/dev/ttyUSB28)."
stop_sim
no_strays
echo ok
