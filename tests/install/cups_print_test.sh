#!/usr/bin/env bash
# Printing on a real CUPS queue: cupsd on a private socket with a cups-pdf queue; the window's
# "Печать" and `tirna520-cli report --print` each produce one portrait A4 page. Skipped (77) where
# cupsd cannot start: cups-pdf's backend runs only from a cupsd started by root.
set -euo pipefail
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v cupsd >/dev/null || skip "cupsd is not installed"
[ -x /usr/lib/cups/backend/cups-pdf ] || skip "printer-driver-cups-pdf is not installed"
[ "$(id -u)" = 0 ] || skip "cups-pdf prints only from a cupsd started by root"
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

T=$(mktemp -d)
chmod 755 "$T"
cupsd_pid=
# cups-pdf writes the jobs of an unknown user (CUPS_USER below) to its AnonDirName.
anon=$(awk '$1 == "AnonDirName" {print $2}' /etc/cups/cups-pdf.conf 2>/dev/null)
anon=${anon:-/var/spool/cups-pdf/ANONYMOUS}
user=tirna520-test-$$
trap '[ -n "$cupsd_pid" ] && kill "$cupsd_pid" 2>/dev/null && wait "$cupsd_pid"; rm -rf "$T"' EXIT

mkdir -p "$T/etc" "$T/spool" "$T/cache" "$T/state" "$T/log" "$T/tmp"
chmod 1777 "$T/tmp"
cat >"$T/etc/cupsd.conf" <<CONF
Listen $T/cups.sock
WebInterface No
Browsing No
LogLevel info
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat >"$T/etc/cups-files.conf" <<CONF
ServerRoot $T/etc
RequestRoot $T/spool
TempDir $T/tmp
CacheDir $T/cache
StateDir $T/state
ErrorLog $T/log/error_log
AccessLog $T/log/access_log
PageLog $T/log/page_log
FileDevice Yes
Sandboxing Relaxed
CONF
cupsd -f -c "$T/etc/cupsd.conf" -s "$T/etc/cups-files.conf" >"$T/log/cupsd.out" 2>&1 &
cupsd_pid=$!
export CUPS_SERVER=$T/cups.sock CUPS_USER=$user
for _ in $(seq 50); do lpstat -r >/dev/null 2>&1 && break; sleep 0.1; done
lpstat -r >/dev/null 2>&1 || skip "cupsd did not start: $(cat "$T/log/cupsd.out")"
lpadmin -p tirna -E -v cups-pdf:/ -P "$ppd" 2>/dev/null || fail "lpadmin"

# The finished job's PDF from cups-pdf: one page, A4, portrait.
check_job() {  # $1: what printed, $2: job number
  local pdf=
  for _ in $(seq 300); do
    pdf=$(ls "$anon"/*"-job_$2.pdf" 2>/dev/null | head -1 || true)
    [ -n "$pdf" ] && [ -z "$(lpstat -o tirna 2>/dev/null)" ] && break
    sleep 0.1
  done
  [ -n "$pdf" ] || fail "$1: no page came out of the queue ($(tail -3 "$T/log/error_log"))"
  info=$(pdfinfo "$pdf")
  rm -f "$pdf"
  grep -q '^Pages: *1$' <<<"$info" || fail "$1: $(grep Pages <<<"$info")"
  grep -q '^Page size: *595\(\.[0-9]*\)\? x 84[12]\(\.[0-9]*\)\? pts (A4)$' <<<"$info" ||
    fail "$1: $(grep 'Page size' <<<"$info")"
  grep -q '^Page rot: *0$' <<<"$info" || fail "$1: $(grep 'Page rot' <<<"$info")"
}
last_job() { lpstat -W all -o tirna | awk '{print $1}' | sed 's/^tirna-//' | sort -n | tail -1; }
cli_job() { sed -n 's/^report: printing on tirna (job tirna-\([0-9]*\))$/\1/p' "$T/cli.err"; }

"$TIRNA_CLI" new -o "$T/radio.tn5"
"$TIRNA_CLI" report "$T/radio.tn5" --print tirna 2>"$T/cli.err" || fail "report --print: $(cat "$T/cli.err")"
job=$(cli_job)
[ -n "$job" ] || fail "report --print said: $(cat "$T/cli.err")"
check_job "report --print" "$job"

lpadmin -d tirna
"$TIRNA_CLI" report "$T/radio.tn5" --print 2>"$T/cli.err" || fail "report --print (default)"
[ -n "$(cli_job)" ] || fail "default queue: $(cat "$T/cli.err")"
default_job=$(cli_job)
check_job "report --print (default queue)" "$default_job"
status=0
"$TIRNA_CLI" report "$T/radio.tn5" --print no-such-queue 2>"$T/cli.err" || status=$?
[ "$status" = 3 ] && grep -q 'no-such-queue: no such printer queue' "$T/cli.err" ||
  fail "an unknown queue: $status $(cat "$T/cli.err")"

(cd "$T" && QT_QPA_PLATFORM=offscreen TIRNA520_DRIVE=fixed QTEST_FUNCTION_TIMEOUT=60000 \
   TIRNA_QUEUE=tirna TIRNA_LATER_QUEUE=added-later "$TIRNA_WINDOW_PRINT" >"$T/window.out" 2>&1) ||
  fail "the window's Печать: $(cat "$T/window.out")"
[ "$(last_job)" -gt "$default_job" ] || fail "the window's Печать made no job: $(lpstat -W all -o tirna; cat "$T/window.out")"
check_job "the window's Печать" "$(last_job)"
echo "report --print and the window's Печать: one portrait A4 page each"
