# write --backup-dir: the whole radio is read and saved as a new file named after its factory
# number and the moment before anything is written; a radio that fails during the backup gets
# nothing written, and no backup file is left.
source "$E2E_LIB"

# A radio with a factory number that needs trimming and a character unsafe in file names.
"$cli" new --coding-version 4 -o "$T/radio.tn5" >/dev/null
poke "$T/radio.tn5" "$(offset_of $((0x2E0)))" 20 41 31 2F 34 20 20      # " A1/4  "
poke "$T/radio.tn5" "$(offset_of $((0x300)))" 42 43                      # free text
poke "$T/radio.tn5" "$(offset_of $((0x3FF)))" 5A                         # unused, never written
"$cli" new --coding-version 4 -o "$T/f.tn5" >/dev/null
"$cli" set "$T/f.tn5" f_rx3=151 >/dev/null
backups() { find "$1" -mindepth 1 | sort; }

start_sim --memory "$T/radio.tn5" --radio-version 4 --log "$T/sim.log" --save "$T/saved.tn5"
expect_status 0 "$cli" write --backup-dir "$T/bk/radios" --port "$DEV" "$T/f.tn5"
[ "$(backups "$T/bk/radios" | wc -l)" -eq 1 ] || fail "not one backup: $(backups "$T/bk")"
first=$(backups "$T/bk/radios")
[[ "$(basename "$first")" =~ ^A1_4-20[0-9]{6}-[0-9]{6}\.tn5$ ]] || fail "backup name $first"
expect_line "$T/out" "Резервная копия: $first"
expect_line "$T/out" "Запись данных успешно завершена."
cmp "$first" "$T/radio.tn5" || fail "the backup is not the radio's memory before the write"
# The 128 read requests all came before the first frame.
first_write=$(grep -n ' write 0x' "$T/sim.log" | head -1 | cut -d: -f1)
[ "$(head -n "$first_write" "$T/sim.log" | grep -c ' read 0x')" -eq 128 ] ||
  fail "not a whole read before the write"
[ "$(count_lines "$T/sim.log" ' write 0x')" -eq 38 ] || fail "not 38 frames"

# The next backup is a new file with the radio as the first write left it; the first stays.
cp "$first" "$T/first.copy"
expect_status 0 "$cli" write --backup-dir "$T/bk/radios" --port "$DEV" "$T/f.tn5"
[ "$(backups "$T/bk/radios" | wc -l)" -eq 2 ] || fail "the second backup did not add a file"
second=$(backups "$T/bk/radios" | grep -vxF "$first")
cmp "$first" "$T/first.copy" || fail "the first backup was changed"
expect_status 0 "$cli" read --port "$DEV" -o "$T/now.tn5"
same_packets "$second" "$T/now.tn5" 1 120 || fail "the second backup is not the radio's memory"
same_packets "$second" "$T/now.tn5" 123 128 || fail "the second backup is not the radio's memory"
stop_sim

# A radio without a factory number: the placeholder.
start_sim --radio-version 4
expect_status 0 "$cli" write --backup-dir "$T/bk/blank" --port "$DEV" "$T/f.tn5"
[[ "$(basename "$(backups "$T/bk/blank")")" =~ ^no-number-20[0-9]{6}-[0-9]{6}\.tn5$ ]] ||
  fail "placeholder name: $(backups "$T/bk/blank")"
stop_sim

# Radios that fail in the middle of the backup: hanging up after 50 packets, or falling silent
# (the read's deadline). Nothing is written to them and no backup file is left.
for fault in "--hangup-after 50" "--silent-after 50"; do
  mkdir -p "$T/bk/fail"
  # shellcheck disable=SC2086
  start_sim --memory "$T/radio.tn5" --radio-version 4 $fault --log "$T/fail.log" --save "$T/fail.tn5"
  expect_status 5 "$cli" write --backup-dir "$T/bk/fail" --port "$DEV" "$T/f.tn5"
  read_failed_lines
  expect_line "$T/err" "Резервная копия не сделана. В радиостанцию ничего не записано."
  [ -z "$(ls -A "$T/bk/fail")" ] || fail "$fault: a backup file was left: $(ls -A "$T/bk/fail")"
  [ "$(count_lines "$T/fail.log" ' write 0x')" -eq 0 ] || fail "$fault: frames were written"
  # 50 answered; the silent radio also logs the request it leaves unanswered.
  [ "$(count_lines "$T/fail.log" ' read 0x')" -ge 50 ] || fail "$fault: the backup did not start"
  stop_sim
  cmp "$T/fail.tn5" "$T/radio.tn5" || fail "$fault: the radio's memory changed"
done

# A backup folder that cannot be made: status 3 before the radio is asked anything.
start_sim --radio-version 4 --log "$T/folder.log"
: >"$T/plain-file"
expect_status 3 "$cli" write --backup-dir "$T/plain-file/bk" --port "$DEV" "$T/f.tn5"
expect_line "$T/err" "$T/plain-file/bk: Invalid filename."
[ ! -s "$T/folder.log" ] || fail "the radio was asked before the folder was checked"
# A file the write would refuse: status 8 before any backup.
cp "$T/f.tn5" "$T/bad.tn5"
poke "$T/bad.tn5" $((121 * 12 + 1)) 00
expect_status 8 "$cli" write --backup-dir "$T/bk/refused" --port "$DEV" "$T/bad.tn5"
[ ! -s "$T/folder.log" ] || fail "a refused file reached the radio"
[ ! -e "$T/bk/refused" ] || fail "a refused file made the backup folder"
stop_sim
no_strays
echo ok
