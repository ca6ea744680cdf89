# doctor: each class of radio on the simulator's pseudo-terminal gets its verdict line and exit
# status; the bundle holds the checks, the trace, the versions and the ports part of config.ini;
# a second user without access to the port gets the access verdict and its fix.
source "$E2E_LIB"

"$cli" new -o "$T/low.tn5" >/dev/null
"$cli" new --coding-version 4 -o "$T/radio.tn5" >/dev/null
printf '1234567' | dd of="$T/radio.tn5" bs=1 seek=1108 conv=notrunc status=none  # 0x2E0

# The simulator's options, the file, the status and what the radio's line says.
while IFS='|' read -r options file status said; do
  eval "set -- $options"
  start_sim "$@"
  expect_status "$status" "$cli" doctor --port "$DEV" $file
  grep -q "^Порт $DEV (--port)$" "$T/out" || fail "$options: no port line: $(cat "$T/out")"
  grep -q "^  \[норма\] *Устройство: $DEV: псевдотерминал, не USB-адаптер$" "$T/out" ||
    fail "$options: device line: $(cat "$T/out")"
  grep -q "^  \[норма\] *Кто держит порт: порт свободен (на другом конце псевдотерминала tirna520-sim, процесс $SIM)$" \
    "$T/out" || fail "$options: holders line: $(cat "$T/out")"
  grep -qF "Радиостанция: $said" "$T/out" || fail "$options: not '$said': $(cat "$T/out")"
  grep -q "^Итог: " "$T/out" || fail "$options: no verdict"
  [ ! -s "$T/err" ] || fail "$options: stderr: $(cat "$T/err")"
  stop_sim
done <<EOF
--silent||23|ничего не пришло в ответ на 4 запроса программирования
--echo||24|назад пришли наши же байты (02 50 52 4F 47 52 41 4D 06 02 50 31 36 30 30 00 ...)
--request-answer "A5 5A FF"||25|пришли байты, но не ответ радиостанции: A5 5A FF A5 5A FF A5 5A FF A5 5A FF
--request-answer 15||26|радиостанция ответила отказом (15) на 4 запроса программирования
--ident "50 31 37 30 30 00 04 00"||27|пришла идентификация другого вида: 50 31 37 30 30 00 04 00
--band-code 0x06|$T/low.tn5|6|радиостанция: 450МГц - 470МГц (П45), версия 4, а файл — 148МГц - 174МГц (П23)
--memory $T/radio.tn5|$T/low.tn5|0|радиостанция 148МГц - 174МГц (П23), версия 4, заводской № 1234567
EOF
grep -q "^Итог: Связь работает: $DEV, радиостанция 148МГц - 174МГц (П23), версия 4, заводской № 1234567\.$" \
  "$T/out" || fail "the good radio's verdict: $(cat "$T/out")"

# The bundle, by the port config.ini maps: the checks, the handshake's trace, the versions and the
# ports part of config.ini (nothing else of it).
start_sim --noise "00 FF 06"
mkdir "$T/prog"
printf '[\xce\xe1\xf9\xe8\xe5]\r\nX=17\r\n[\xcf\xee\xf0\xf2\xfb]\r\nCOM2=%s\r\n' "$DEV" >"$T/prog/config.ini"
(cd "$T/prog" && expect_status 0 "$cli" doctor --port COM2 --bundle "$T/report.tar.gz")
grep -q "^  \[внимание\] *Радиостанция: .*; ответила с 2-й попытки$" "$T/out" ||
  fail "a second attempt is no warning: $(cat "$T/out")"
grep -q "^Итог: Связь работает: .* Внимание: Радиостанция ответила не с первой попытки" "$T/out" ||
  fail "the warning is not in the verdict: $(cat "$T/out")"
mkdir "$T/unpacked"
tar -xzf "$T/report.tar.gz" -C "$T/unpacked"
[ "$(cd "$T/unpacked" && find . -type f | sort | tr '\n' ' ')" = \
  "./tirna520-doctor/config-ports.ini ./tirna520-doctor/doctor.txt ./tirna520-doctor/trace.txt ./tirna520-doctor/versions.txt " ] ||
  fail "bundle files: $(cd "$T/unpacked" && find . -type f)"
b="$T/unpacked/tirna520-doctor"
diff <(sed -n '/^Порт /,/^Итог: /p' "$T/out") "$b/doctor.txt" >&2 || fail "doctor.txt is not what was printed"
grep -q '> 02 50 52 4F 47 52 41 4D$' "$b/trace.txt" || fail "no programming request in the trace"
grep -q '> 45 4E 44$' "$b/trace.txt" || fail "no END in the trace"
grep -q '^tirna520 1\.3$' "$b/versions.txt" && grep -q '^Qt 6' "$b/versions.txt" &&
  grep -q '^ядро: Linux ' "$b/versions.txt" || fail "versions: $(cat "$b/versions.txt")"
[ "$(cat "$b/config-ports.ini")" = "$(printf '[Общие]\n[Порты]\nCOM2=%s' "$DEV")" ] ||
  fail "config-ports.ini: $(cat "$b/config-ports.ini")"
# A bundle that cannot be saved is refused before the radio is asked anything.
expect_status 3 "$cli" doctor --port "$DEV" --bundle "$T/no/such/folder.tar.gz"
[ ! -s "$T/out" ] || fail "the checks ran for a bundle that cannot be saved"
stop_sim

# No such port.
expect_status 20 "$cli" doctor --port /dev/tirna-no-such-port
grep -q "^  \[сбой\] *Устройство: /dev/tirna-no-such-port: такого устройства нет" "$T/out" ||
  fail "missing port: $(cat "$T/out")"

# A second user who may not open the port: the access verdict and its fix; the radio is not tried.
if [ "$(id -u)" -eq 0 ]; then
  start_sim --log "$T/second.log"
  chmod 600 "$DEV"
  mkdir "$T/second"
  chown 65533:65533 "$T/second"
  chmod 711 "$T"
  (cd "$T/second" && HOME="$T/second" expect_status 21 setpriv --reuid=65533 --regid=65533 \
    --clear-groups "$cli" doctor --port "$DEV")
  chmod 700 "$T"
  grep -q "^  \[сбой\] *Доступ: crw------- root:[a-z]*; пользователь [a-z0-9]* открыть не может$" \
    "$T/out" || fail "second user: access line: $(cat "$T/out")"
  grep -q "^  \[не проверялось\] *Радиостанция$" "$T/out" || fail "the radio was tried"
  grep -q "^Итог: Открыть $DEV может только его владелец root: попросите администратора дать вам доступ к порту\.$" \
    "$T/out" || fail "second user: verdict: $(cat "$T/out")"
  grep -q 'programming request' "$T/second.log" && fail "bytes were sent without access"
  stop_sim
else
  echo "skipped: a second user (needs root)"
fi
no_strays
echo ok
