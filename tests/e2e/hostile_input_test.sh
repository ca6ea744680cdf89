# Hostile input and other users: every case ends in a clear error with its exit status, and every
# file, the radio and the port are left as they were. The cases of a second user run as other
# user ids (setpriv) and are skipped without root.
source "$E2E_LIB"

"$cli" new -o "$T/f.tn5" >/dev/null
cp "$T/f.tn5" "$T/f.orig"
unchanged() { cmp -s "$T/f.tn5" "$T/f.orig" || fail "$1 changed the parameter file"; }
# quick STATUS command...: as expect_status, but a command that blocks fails within 10 s.
quick() {
  local want=$1 got=0; shift
  timeout -k 2 10 "$@" >"$T/out" 2>"$T/err" || got=$?
  [ "$got" -eq "$want" ] || { cat "$T/out" "$T/err" >&2; fail "'$*' exited $got, expected $want"; }
}

# --- Values the radio cannot hold are refused, never wrapped or cut --------------------------
printf 'Location,Tone,rToneFreq\n1,Tone,429496796.6\n2,Tone,123456.7\n3,Tone,67.0\n' >"$T/tones.csv"
quick 8 env -C "$T" "$cli" import-csv f.tn5 tones.csv
expect_line "$T/err" 'tones.csv:2: rToneFreq "429496796.6": a tone or code the radio cannot store: «429496796,6» не является допустимым значением субтона. (tones 10.0 to 999.9 Hz, DCS codes of three octal digits)'
expect_line "$T/err" 'tones.csv:3: rToneFreq "123456.7": a tone or code the radio cannot store: «123456,7» не является допустимым значением субтона. (tones 10.0 to 999.9 Hz, DCS codes of three octal digits)'
unchanged import-csv
quick 8 "$cli" set "$T/f.tn5" "st_tx1=CTC 123456,7"
grep -q 'the sub-tone dialog refuses it: «123456,7» не является допустимым значением субтона.' "$T/err" ||
  fail "set took a tone the dialog would cut: $(cat "$T/err")"
unchanged set

# --- A lone CR or LF is a line break, stored as CR LF -----------------------------------------
cp "$T/f.tn5" "$T/memo.tn5"
quick 0 "$cli" set "$T/memo.tn5" memo1=$'a\rb\nc\r\nd'
[ "$(od -An -tx1 -j "$(offset_of 0x300)" -N 8 "$T/memo.tn5" | tr -d ' \n')" = "610d0a620d0a630d" ] ||
  fail "the free text's line breaks: $(od -An -tx1 -j "$(offset_of 0x300)" -N 8 "$T/memo.tn5")"

# --- Inputs that are not regular files, or too long: refused at once --------------------------
mkdir "$T/dir"
mkfifo "$T/fifo"
head -c 20000 /dev/zero | tr '\0' 'a' >"$T/big.txt"
quick 3 "$cli" show "$T/fifo"
expect_line "$T/err" "$T/fifo: File access denied."
quick 3 "$cli" import-csv "$T/f.tn5" "$T/dir"
expect_line "$T/err" "$T/dir: File access denied."
quick 3 "$cli" import-csv "$T/f.tn5" /dev/zero
quick 3 "$cli" import-csv "$T/f.tn5" /dev/urandom
quick 3 sh -c '"$0" import-csv "$1" - </dev/zero' "$cli" "$T/f.tn5"
expect_line "$T/err" "standard input: File too large (more than 4 MB)"
unchanged import-csv
start_sim --log "$T/sim.log" --save "$T/radio.tn5"
for bad in "$T/dir" "$T/fifo" /dev/zero "$T/big.txt"; do
  quick 3 "$cli" write-extra --port "$DEV" --text-file "$bad"
done
expect_line "$T/err" "$T/big.txt: File too large (more than 16 KB)"
[ ! -s "$T/sim.log" ] || fail "the radio was asked something for an unreadable text: $(cat "$T/sim.log")"
# A config.ini that is a FIFO neither blocks nor maps the port.
mkdir "$T/prog" && mkfifo "$T/prog/config.ini"
quick 4 env -C "$T/prog" "$cli" read --port COM1 -o "$T/x.tn5"
expect_line "$T/out" "Порт COM1: /dev/ttyUSB0 ($T/prog/config.ini не используется (не обычный файл; укажите --program-folder))"
quick 4 "$cli" read --port COM1 -o "$T/x.tn5" --program-folder "$T/prog"
expect_line "$T/out" "Порт COM1: /dev/ttyUSB0 ($T/prog/config.ini не прочитан)"

# --- An output that is an input is refused before anything is opened or sent ------------------
ln -s f.tn5 "$T/alias.tn5"
quick 2 "$cli" write --port "$DEV" --trace "$T/f.tn5" "$T/f.tn5"
quick 2 "$cli" write --port "$DEV" --trace "$T/alias.tn5" "$T/f.tn5"
quick 2 "$cli" verify --port "$DEV" --trace "$T/f.tn5" "$T/f.tn5"
quick 2 "$cli" read-extra --port "$DEV" --trace "$T/f.tn5" "$T/f.tn5"
quick 2 "$cli" read --port "$DEV" -o "$T/f.tn5" --trace "$T/f.tn5"
quick 2 "$cli" read --port "$DEV" -o "$T/new.tn5" --trace "$T/new.tn5"  # neither exists yet
expect_line "$T/err" "$T/new.tn5: the output is the input file; it would be overwritten"
quick 2 "$cli" export-csv "$T/f.tn5" -o "$T/alias.tn5"
quick 2 "$cli" report "$T/f.tn5" -o "$T/alias.tn5"
quick 2 "$cli" import-csv "$T/f.tn5" "$T/alias.tn5"
unchanged "an output over an input"
[ ! -e "$T/new.tn5" ] || fail "a refused read left a file"
[ ! -s "$T/sim.log" ] || fail "the radio was asked something: $(cat "$T/sim.log")"

# The free text sent keeps its line breaks too.
quick 0 "$cli" write-extra --port "$DEV" --text $'a\rb'
stop_sim
[ "$(od -An -tx1 -j "$(offset_of 0x300)" -N 5 "$T/radio.tn5" | tr -d ' \n')" = "610d0a6200" ] ||
  fail "write-extra dropped the lone CR"

# --- Saves replace only regular files, never through a full disk ------------------------------
printf 'old table\n' >"$T/old.csv"
cp "$T/old.csv" "$T/old.csv.orig"
printf 'old report\n' >"$T/old.pdf"
cp "$T/old.pdf" "$T/old.pdf.orig"
# 1 KB of room: the table and the report do not fit.
( trap '' XFSZ; ulimit -f 1; exec "$cli" export-csv "$T/f.tn5" -o "$T/old.csv" ) >"$T/out" 2>"$T/err" &&
  fail "export-csv on a full disk succeeded"
expect_line "$T/err" "$T/old.csv: Disk full."
( trap '' XFSZ; ulimit -f 1; exec "$cli" report "$T/f.tn5" -o "$T/old.pdf" ) >"$T/out" 2>"$T/err" &&
  fail "report on a full disk succeeded"
expect_line "$T/err" "$T/old.pdf: Disk full."
cmp -s "$T/old.csv" "$T/old.csv.orig" && cmp -s "$T/old.pdf" "$T/old.pdf.orig" ||
  fail "a failed save damaged the old file"
[ -z "$(find "$T" -name '.tirna520-save-*')" ] || fail "a failed save left a temporary file"
quick 3 "$cli" new -o /dev/null
expect_line "$T/err" "/dev/null: File access denied."
[ -c /dev/null ] || fail "/dev/null is no longer a device"
quick 3 bash -c 'set -o pipefail; "$0" new -o /dev/stdout | cat >/dev/null' "$cli"
[ -L /dev/stdout ] || fail "/dev/stdout is no longer a link"
quick 3 "$cli" export-csv "$T/f.tn5" -o "$T/fifo"

# Temporary files of a save that was killed: the user's own older than a minute go at the next
# save into the folder; a fresh one and another user's stay.
touch -d '-2 min' "$T/.tirna520-save-Stale1"
touch "$T/.tirna520-save-Fresh1"
quick 0 "$cli" new -o "$T/n.tn5"
[ ! -e "$T/.tirna520-save-Stale1" ] || fail "a stale temporary file was left"
[ -e "$T/.tirna520-save-Fresh1" ] || fail "a fresh temporary file (a save in progress) was removed"

# --- Another user ---------------------------------------------------------------------------
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
  chmod 711 "$T"
  # as_user ID: the command prefix that runs as user ID in group 30000.
  as_user() { echo "setpriv --reuid=$1 --regid=$1 --groups=30000"; }

  # A link planted in a sticky shared folder by a third user (/tmp/x.tn5 -> the victim's file):
  # not followed, the victim's file untouched.
  mkdir -m 1777 "$T/shared"
  printf 'victim\n' >"$T/victim"
  ln -s "$T/victim" "$T/shared/x.tn5"
  chown -h 65534:65534 "$T/shared/x.tn5"
  quick 3 "$cli" new -o "$T/shared/x.tn5"
  expect_line "$T/err" "$T/shared/x.tn5: File access denied."
  [ "$(cat "$T/victim")" = victim ] && [ -L "$T/shared/x.tn5" ] || fail "the planted link was followed"
  # The simulator's log goes through the same rules: the victim is not emptied.
  quick 1 "$sim" --log "$T/shared/x.tn5" --silent
  grep -q "^tirna520-sim: $T/shared/x.tn5: File access denied" "$T/err" || fail "sim log: $(cat "$T/err")"
  [ "$(cat "$T/victim")" = victim ] || fail "the simulator's log followed the planted link"
  # The user's own link there is followed, and stays a link.
  ln -s "$T/victim" "$T/shared/mine.tn5"
  quick 0 "$cli" new -o "$T/shared/mine.tn5"
  [ -L "$T/shared/mine.tn5" ] && [ "$(stat -c %s "$T/victim")" -eq 1536 ] || fail "own link"

  # A file of user 20001 shared with group 30000, saved by user 20002 of the group: owner,
  # group and permissions stay, so that the first user can still save it. In a folder both
  # may write, in a sticky one, and in one only the owner may write.
  for mode in 2775 3775 755; do
    rm -rf "$T/team"
    mkdir -m "$mode" "$T/team"
    chown 20001:30000 "$T/team"
    cp "$T/f.orig" "$T/team/a.tn5"
    chown 20001:30000 "$T/team/a.tn5"
    chmod 664 "$T/team/a.tn5"
    quick 0 $(as_user 20002) "$cli" set "$T/team/a.tn5" f_rx1=150
    [ "$(stat -c '%u:%g %a' "$T/team/a.tn5")" = "20001:30000 664" ] ||
      fail "folder $mode: the second user's save made the file $(stat -c '%u:%g %a' "$T/team/a.tn5")"
    quick 0 $(as_user 20001) "$cli" set "$T/team/a.tn5" f_rx1=151
    quick 0 "$cli" show --json "$T/team/a.tn5"
    expect_line "$T/out" '  "f_rx1": "  151,000000",'
    [ -z "$(find "$T/team" -name '.tirna520-save-*')" ] || fail "folder $mode: a temporary file"
  done

  # read-extra into a folder the user may not enter: a file error, not an abort.
  mkdir -m 700 "$T/private"
  quick 3 setpriv --reuid=65534 --regid=65534 --clear-groups "$cli" read-extra --port /dev/null \
    "$T/private/f.tn5"
  expect_line "$T/err" "$T/private/f.tn5: File access denied."
  chmod 700 "$T"
else
  echo "skipped: the second-user cases (need root and setpriv)"
fi

# --- Ctrl-C during a transfer: "END", the port closed and free, exit 130 ----------------------
start_sim --reaction-ms 20 --log "$T/stop.log"
# A background job of a script starts with SIGINT ignored; perl gives it back its default, as a
# command run at a terminal has it.
perl -e '$SIG{INT} = "DEFAULT"; exec @ARGV or die' \
  "$cli" read --port "$DEV" -o "$T/stopped.tn5" --trace "$T/stop.trace" >"$T/out" 2>"$T/err" &
reader=$!
for i in $(seq 100); do grep -q 'read 0x' "$T/stop.log" 2>/dev/null && break; sleep 0.05; done
kill -INT "$reader"
got=0
wait "$reader" || got=$?
[ "$got" -eq 130 ] || { cat "$T/err" >&2; fail "Ctrl-C: exit $got"; }
expect_line "$T/err" "Прервано (SIGINT): передача остановлена, радиостанции отправлено END, порт закрыт."
grep -q 'stopped by the user' "$T/stop.trace" && grep -q '> 45 4E 44$' "$T/stop.trace" ||
  fail "the trace shows no END after the stop: $(tail -3 "$T/stop.trace")"
for i in $(seq 40); do grep -q ' END$' "$T/stop.log" && break; sleep 0.05; done
grep -q ' END$' "$T/stop.log" || fail "the radio got no END"
[ ! -e "$T/stopped.tn5" ] || fail "a stopped read wrote its file"
name=${DEV#/dev/}
[ ! -e "/run/lock/LCK..${name//\//_}" ] || fail "the port's lock file was left"
# The port is free again at once; SIGTERM while the radio stays silent ends the same way.
quick 0 "$cli" read --port "$DEV" -o "$T/after.tn5"
stop_sim
start_sim --silent
"$cli" write --port "$DEV" "$T/f.tn5" --trace "$T/term.trace" >"$T/out" 2>"$T/err" &
writer=$!
sleep 0.3
kill -TERM "$writer"
got=0
wait "$writer" || got=$?
[ "$got" -eq 130 ] || fail "SIGTERM: exit $got"
grep -q '> 45 4E 44$' "$T/term.trace" || fail "no END after SIGTERM in the handshake"
unchanged write
stop_sim
no_strays
echo ok
