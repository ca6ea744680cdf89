# Ports that cannot be opened, and COMn names.
source "$E2E_LIB"

"$cli" new -o "$T/f.tn5" >/dev/null

# Missing.
expect_status 4 "$cli" read --port /dev/tirna-no-such-port -o "$T/x.tn5"
expect_line "$T/err" "Не удается открыть порт /dev/tirna-no-such-port."
expect_line "$T/err" "Возможно, порт занят другим приложением или отключен аппаратно."
expect_line "$T/err" "Specified device not found (/dev/tirna-no-such-port)."
[ ! -e "$T/x.tn5" ] || fail "a failed read wrote a file"

# Busy ports: device_lock_test.sh.
start_sim --silent
name=${DEV#/dev/}
lock="/run/lock/LCK..${name//\//_}"

# Another user's stale lock file (its process long gone) in the shared lock folder: the port is
# refused, and the message names the file, its owner and what to do.
if [ "$(id -u)" -eq 0 ] && [ -d /run/lock ]; then
  CLEANUP_FILES+=("$lock")
  printf '%d\ntirna520-cli\nhost\n' 999999 >"$lock"
  chown 65534:65534 "$lock"
  chmod 666 "$DEV"  # the third user may open the device itself
  # ... and has a folder of its own for the file, so that only the lock can refuse it.
  mkdir "$T/third"
  chown 65533:65533 "$T/third"
  chmod 711 "$T"
  expect_status 4 setpriv --reuid=65533 --regid=65533 --clear-groups \
    "$cli" read --port "$DEV" -o "$T/third/never.tn5"
  chmod 700 "$T"
  [ ! -e "$T/third/never.tn5" ] || fail "a refused read wrote a file"
  owner=$(getent passwd 65534 | cut -d: -f1)
  grep -q "^Файл блокировки $lock (пользователь ${owner:-65534}, процесс 999999, уже не работает; файл можно удалить: sudo rm $lock)$" \
    "$T/err" || { cat "$T/err" >&2; fail "the stale lock file is not named"; }
  rm -f "$lock"
else
  echo "skipped: another user's lock file (needs root)"
fi
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
head -1 "$T/out" | grep -qx "Порт COM3: $DEV (ключ COM3 раздела \[Порты\] файла $T/prog/config.ini)" ||
  fail "the first line does not say which file mapped COM3: $(head -1 "$T/out")"
(cd "$T/prog" && expect_status 4 "$cli" read --port COM29 -o "$T/x.tn5")
expect_line "$T/err" "Не удается открыть порт COM29 (/dev/ttyUSB28)."
expect_line "$T/out" "Порт COM29: /dev/ttyUSB28 (в $T/prog/config.ini нет ключа COM29 раздела [Порты])"
# A config.ini that another user could have put there (a folder or file writable by others, or
# theirs) does not map ports: it could send COMn to a device of theirs. --program-folder names
# a folder to trust.
chmod 777 "$T/prog"
(cd "$T/prog" && expect_status 4 "$cli" read --port COM3 -o "$T/x.tn5")
expect_line "$T/err" "Не удается открыть порт COM3 (/dev/ttyUSB2)."
grep -q "^Порт COM3: /dev/ttyUSB2 ($T/prog/config.ini не используется (папка $T/prog не принадлежит пользователю или открыта для записи другим; укажите --program-folder))$" \
  "$T/out" || fail "no word on the distrusted config.ini: $(cat "$T/out")"
expect_status 0 "$cli" read --port COM3 -o "$T/com3.tn5" --program-folder "$T/prog"
chmod 755 "$T/prog"
chmod 666 "$T/prog/config.ini"
(cd "$T/prog" && expect_status 4 "$cli" read --port COM3 -o "$T/x.tn5")
grep -q "config.ini не используется (файл не принадлежит" "$T/out" || fail "a file writable by all was used"
stop_sim
no_strays
echo ok
