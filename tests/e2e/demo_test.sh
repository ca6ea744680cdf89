# demo: the simulator on a pseudo-terminal and the window with COM1 mapped to it, run from a
# temporary program folder on a fixed disk; closing the window, Ctrl-C or SIGTERM ends both and
# removes the folder. The window runs headless.
source "$E2E_LIB"
window="${TIRNA_WINDOW:?TIRNA_WINDOW names the tirna520 executable}"

export QT_QPA_PLATFORM=offscreen
export TMPDIR="$T"                  # the window's single-instance lock: this test's own
export XDG_CACHE_HOME="$T/cache"
export XDG_RUNTIME_DIR="$T/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
case "$(stat -f -c %T "$T")" in
  tmpfs | ramfs) export TIRNA520_DRIVE=fixed ;;  # a RAM disk the window would refuse
esac

# The window's --help speaks Russian, Qt's own lines too, in any locale: no Latin word but the
# program's path, its options and Qt's name.
help=$(env -u DISPLAY "$window" --help) || fail "window --help: status $?"
grep -q '^Использование: ' <<<"$help" || fail "window --help: $help"
latin=$(sed 's#[^ ]*tirna520##; s/--*[a-z?-]*//g; s/\*\.tn5//g; s/\<Qt\>//g' <<<"$help" |
  grep -o '[A-Za-z]\{2,\}' | sort -u | tr '\n' ' ') || true
[ -z "$latin" ] || fail "window --help has English in it: $latin"

# start_demo COMMAND...: starts the demo as the leader of its own process group (as a terminal
# runs it) and waits until both programs run: DEMO, RADIO, WIN, FOLDER, DEVICE.
start_demo() {
  setsid "$@" >"$T/demo.out" 2>"$T/demo.err" &
  DEMO=$!
  SIMS+=("$DEMO")
  local i
  for i in $(seq 200); do
    grep -q '^Окно tirna520: процесс' "$T/demo.out" 2>/dev/null && break
    kill -0 "$DEMO" 2>/dev/null || break
    sleep 0.1
  done
  grep -q '^Окно tirna520: процесс' "$T/demo.out" ||
    fail "the demo did not start: $(cat "$T/demo.out" "$T/demo.err")"
  [ "$(ps -o pgid= -p "$DEMO" | tr -d ' ')" = "$DEMO" ] || fail "the demo leads no process group"
  RADIO=$(sed -n 's/^Радиостанция tirna520-sim: .* (процесс \([0-9]*\))$/\1/p' "$T/demo.out")
  DEVICE=$(sed -n 's/^Радиостанция tirna520-sim: \(.*\) (процесс [0-9]*)$/\1/p' "$T/demo.out")
  FOLDER=$(sed -n 's/^Папка программы: \(.*\) (COM1 = .*)$/\1/p' "$T/demo.out")
  WIN=$(sed -n 's/^Окно tirna520: процесс \([0-9]*\)\..*/\1/p' "$T/demo.out")
  SIMS+=("$RADIO" "$WIN")
  kill -0 "$RADIO" && kill -0 "$WIN" || fail "the simulator or the window is not running"
}

# demo_ends STATUS: the demo ends with STATUS within 10 s, the simulator and the window have
# ended and the program folder is gone.
demo_ends() {
  local i got=0
  for i in $(seq 100); do
    kill -0 "$DEMO" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$DEMO" 2>/dev/null && fail "the demo did not end"
  wait "$DEMO" || got=$?
  [ "$got" -eq "$1" ] || fail "the demo exited $got, expected $1: $(cat "$T/demo.err")"
  ! kill -0 "$RADIO" 2>/dev/null || fail "the simulator still runs"
  ! kill -0 "$WIN" 2>/dev/null || fail "the window still runs"
  [ ! -e "$FOLDER" ] || fail "the program folder was left: $FOLDER"
}

# The user's own program folder, with a config.ini of its own.
mkdir "$T/user"
printf '[\xCE\xE1\xF9\xE8\xE5]\r\n\xD1\xCE\xCC/USB=0\r\n\xD1\xCE\xCC-\xEF\xEE\xF0\xF2=3\r\n' >"$T/user/config.ini"
cp "$T/user/config.ini" "$T/user.orig"

# Build-tree layout; closing the window ends the demo.
cd "$T/user"
start_demo "$cli" demo
[[ "$FOLDER" == "$XDG_CACHE_HOME"/tirna520/demo-* ]] || fail "program folder $FOLDER"
printf '[\xCE\xE1\xF9\xE8\xE5]\r\n\xD1\xCE\xCC/USB=1\r\n\xD1\xCE\xCC-\xEF\xEE\xF0\xF2=0\r\nX=0\r\nY=0\r\n[\xCF\xEE\xF0\xF2\xFB]\r\nCOM1=%s\r\n' \
  "$DEVICE" >"$T/config.expected"
cmp "$FOLDER/config.ini" "$T/config.expected" || fail "config.ini of the demo"
[ -d "$FOLDER/Save" ] && [ -z "$(ls -A "$FOLDER/Save")" ] || fail "no empty Save folder"
cmp "$FOLDER/Tirna520.hlp" "$(dirname "$window")/Tirna520.hlp" || fail "no help file"
[ "$(readlink "/proc/$WIN/cwd")" = "$FOLDER" ] || fail "the window does not run in the folder"
# The window's COM1 is the simulator: the command line, run from the same folder, reads it.
expect_status 0 env -C "$FOLDER" "$cli" read --port COM1 -o "$T/radio.tn5"
kill -TERM "$WIN"
demo_ends 0
expect_line "$T/demo.out" "Демонстрация закончена, папка программы удалена."
cmp "$T/user/config.ini" "$T/user.orig" || fail "the user's config.ini changed"
[ ! -e "$T/user/Save" ] || fail "a Save folder appeared in the user's folder"

# Ctrl-C at the terminal: the whole process group gets SIGINT.
start_demo "$cli" demo
kill -INT -- "-$DEMO"
demo_ends 130

# Output into a pipe that closes early (demo | head -c 10): the demo goes on until the window
# closes, ends both programs and removes its folder.
setsid bash -c 'set -o pipefail; "$0" demo | head -c 10 >/dev/null; echo $? >"$1"' \
  "$cli" "$T/pipe.status" 2>"$T/pipe.err" &
PIPED=$!
SIMS+=("$PIPED")
WIN=
for i in $(seq 200); do
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/exe" 2>/dev/null)" = "$window" ] || continue
    [[ "$(readlink "$p/cwd")" == "$XDG_CACHE_HOME"/tirna520/demo-* ]] && WIN=${p#/proc/}
  done
  [ -n "$WIN" ] && break
  sleep 0.1
done
[ -n "$WIN" ] || fail "the piped demo did not start its window: $(cat "$T/pipe.err")"
FOLDER=$(readlink "/proc/$WIN/cwd")
sleep 0.5  # head has taken its 10 bytes and gone
kill -TERM "$WIN"
wait "$PIPED" || true
[ "$(cat "$T/pipe.status")" = 0 ] || fail "the piped demo exited $(cat "$T/pipe.status"): $(cat "$T/pipe.err")"
[ ! -e "$FOLDER" ] || fail "the piped demo left its folder"

# Installed layout: the three programs side by side in bin/, the help file in
# share/tirna520/ beside it; the folder under ~/.cache when XDG_CACHE_HOME is not set; SIGTERM
# to the demo ends both.
mkdir -p "$T/inst/bin" "$T/inst/share/tirna520" "$T/home"
cp "$cli" "$sim" "$window" "$T/inst/bin/"
cp "$(dirname "$window")/Tirna520.hlp" "$T/inst/share/tirna520/"
HOME="$T/home" XDG_CACHE_HOME= start_demo "$T/inst/bin/tirna520-cli" demo
[[ "$FOLDER" == "$T/home/.cache/tirna520/demo-"* ]] || fail "program folder $FOLDER"
cmp "$FOLDER/Tirna520.hlp" "$T/inst/share/tirna520/Tirna520.hlp" ||
  fail "the installed help file was not found: $(cat "$T/demo.err")"
[ "$(readlink "/proc/$WIN/exe")" = "$T/inst/bin/tirna520" ] || fail "not the window beside the cli"
[ "$(readlink "/proc/$RADIO/exe")" = "$T/inst/bin/tirna520-sim" ] || fail "not the sim beside the cli"
kill -TERM "$DEMO"
demo_ends 143

# A program folder on a RAM disk: refused before anything starts, and nothing is left.
expect_status 3 env TIRNA520_DRIVE=ram "$cli" demo
grep -q 'папка не на жёстком диске' "$T/err" || fail "no drive message: $(cat "$T/err")"
[ -z "$(ls -A "$XDG_CACHE_HOME/tirna520")" ] || fail "a refused folder was left"
# A window that cannot start (no display): status 3 with the window's own lines and the demo's,
# the simulator ended and the folder gone.
expect_status 3 env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$cli" demo
grep -q '^Окно tirna520 завершилось: ' "$T/err" || fail "no word on the window: $(cat "$T/err")"
grep -qi 'display' "$T/err" || fail "not the window's own failure line: $(cat "$T/err")"
[ -z "$(ls -A "$XDG_CACHE_HOME/tirna520")" ] || fail "the folder of a failed demo was left"
# Without the window beside it or in the build tree: a file error naming it.
rm "$T/inst/bin/tirna520"
expect_status 3 "$T/inst/bin/tirna520-cli" demo
grep -q '^tirna520: File not found.' "$T/err" || fail "no missing-window message: $(cat "$T/err")"
cd /
no_strays
echo ok
