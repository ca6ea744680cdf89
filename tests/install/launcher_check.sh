# check_launcher LAUNCHER CLI TMP: the launcher as the menu starts it, with a file named relative
# to where it starts. It makes the user's program folder in the data folder, the window runs
# there and opens the file; the installed command line then reads that folder's config.ini,
# wherever it runs. Needs inotifywait (inotify-tools) and fail().
check_launcher() {
  local launcher=$1 cli=$2 T=$3
  local home=$T/home folder=$T/home/.local/share/tirna520
  mkdir -p "$home" "$T/work" "$T/run"
  chmod 700 "$T/run"
  "$cli" new --band 1 -o "$T/work/radio.tn5"
  (cd "$T/work" && exec inotifywait -q -t 20 -e close_nowrite --format %e radio.tn5 >"$T/opened") &
  local watcher=$!
  sleep 0.5  # the watch is set up
  (cd "$T/work" && exec env -u XDG_DATA_HOME HOME="$home" XDG_RUNTIME_DIR="$T/run" \
     QT_QPA_PLATFORM=offscreen TIRNA520_DRIVE=fixed "$launcher" radio.tn5) >"$T/window.log" 2>&1 &
  local window=$!
  if ! wait "$watcher"; then
    kill "$window" 2>/dev/null
    fail "the window did not open radio.tn5: $(cat "$T/window.log")"
  fi
  local cwd
  cwd=$(readlink "/proc/$window/cwd" || true)
  kill "$window" 2>/dev/null || fail "the window ended: $(cat "$T/window.log")"
  wait "$window" 2>/dev/null || true
  [ "$(cat "$T/opened")" = "CLOSE_NOWRITE,CLOSE" ] || fail "radio.tn5: $(cat "$T/opened")"
  [ "$cwd" = "$folder" ] || fail "the window ran in $cwd, not in $folder"
  [ -f "$folder/config.ini" ] && [ -d "$folder/Save" ] || fail "no config.ini and Save in $folder"

  local line
  line=$(cd "$T/work" && HOME="$home" timeout 20 "$cli" read --port COM1 -o "$T/x.tn5" 2>/dev/null |
         head -1 || true)
  [[ $line == "Порт COM1: /dev/ttyUSB0 (в $folder/config.ini нет ключа COM1 раздела [Порты])" ]] ||
    fail "the command line's port line: $line"
}
