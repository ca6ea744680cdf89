# tirna520-cli new and show: the default images, what show prints, file errors and usage errors.
source "$TEST_LIB"

expect_status 0 "$cli" new -o "$T/d.tn5"
[ "$(stat -c %s "$T/d.tn5")" -eq 1536 ] || fail "default file is not 1536 bytes"
# Record 1 and record 128 headers, the first channel record, the identification block.
[ "$(od -An -tx1 -N12 "$T/d.tn5" | tr -d ' \n')" = "5700000800640c000000640c" ] ||
  fail "record 1 differs"
[ "$(od -An -tx1 -j $((127 * 12)) -N4 "$T/d.tn5" | tr -d ' \n')" = "5703f808" ] || fail "record 128"
[ "$(od -An -tx1 -j $((90 * 12 + 4)) -N8 "$T/d.tn5" | tr -d ' \n')" = "0002003030363150" ] ||
  fail "identification block"

expect_status 0 "$cli" show --json "$T/d.tn5"
[ "$(grep -c '^  "' "$T/out")" -eq 181 ] || fail "show --json does not hold 181 keys"
expect_line "$T/out" '  "model": "Тирна-                ",'
expect_line "$T/out" '  "frq": "148МГц - 174МГц (П23)",'
expect_line "$T/out" '  "f_rx1": "  160,000000",'
expect_line "$T/out" '  "st_rx1": " Выключен",'
expect_line "$T/out" '  "pow16": "  Повышен.",'
expect_line "$T/out" '  "memo1": "",'
expect_line "$T/out" '  "osn13": "Временное откл. шумоподавителя",'
expect_line "$T/out" '  "osn14": "Кратковременное нажатие (кн.\"ШПД\")",'
expect_line "$T/out" '  "band_index": 0,'
expect_line "$T/out" '  "coding_version": 2,'
expect_line "$T/out" '  "time": "  -  -         :  :  "'

# The other band in the new coding.
expect_status 0 "$cli" new --band 1 --coding-version 4 -o "$T/h.tn5"
expect_status 0 "$cli" show --json "$T/h.tn5"
expect_line "$T/out" '  "f_tx9": "  460,000000",'
expect_line "$T/out" '  "frq": "450МГц - 470МГц (П45)",'
expect_line "$T/out" '  "band_index": 1,'
expect_line "$T/out" '  "coding_version": 4,'

# Channel 3 off, channel 4 transmit inhibited, a free text of two lines with the letter я.
cp "$T/d.tn5" "$T/e.tn5"
poke "$T/e.tn5" "$(offset_of $((0x22)))" 04
poke "$T/e.tn5" "$(offset_of $((0x37)))" 04
poke "$T/e.tn5" "$(offset_of $((0x300)))" ff 0d 0a 41 00
expect_status 0 "$cli" show --json "$T/e.tn5"
expect_line "$T/out" '  "no_kan3": "V",'
expect_line "$T/out" '  "f_rx3": "",'
expect_line "$T/out" '  "busy3": "",'
expect_line "$T/out" '  "no_tx4": "V",'
expect_line "$T/out" '  "f_tx4": "",'
expect_line "$T/out" '  "band4": "   25 кГц",'
expect_line "$T/out" '  "memo1": "я\nA",'

# The readable listing.
expect_status 0 "$cli" show "$T/e.tn5"
grep -q '^ 3    V$' "$T/out" || fail "listing: channel 3 should show only its label and the ticked box"
grep -q 'Кнопка "ШПД" : *Временное откл. шумоподавителя' "$T/out" || fail "listing: settings"

# A longer file opens; a shorter one, a missing one and a folder give their error texts.
{ cat "$T/d.tn5"; head -c 64 /dev/zero; } >"$T/long.tn5"
expect_status 0 "$cli" show "$T/long.tn5"
head -c 1535 "$T/d.tn5" >"$T/short.tn5"
expect_status 3 "$cli" show "$T/short.tn5"
grep -q 'Read beyond end of file\.$' "$T/err" || fail "short file message: $(cat "$T/err")"
expect_status 3 "$cli" show "$T/missing.tn5"
grep -q 'File not found\.$' "$T/err" || fail "missing file message"
mkdir "$T/dir.tn5"
expect_status 3 "$cli" show "$T/dir.tn5"
grep -q 'File access denied\.$' "$T/err" || fail "folder message"
expect_status 3 "$cli" new -o "$T/no/such/folder.tn5"
grep -q 'Invalid filename\.$' "$T/err" || fail "bad folder message"

# Usage errors.
expect_status 2 "$cli"
expect_status 2 "$cli" frobnicate
expect_status 2 "$cli" new --band 2 -o "$T/x.tn5"
expect_status 2 "$cli" new
expect_status 2 "$cli" show
[ ! -e "$T/x.tn5" ] || fail "a refused command wrote a file"
# The exit statuses: one table, which --help shows and the README repeats word for word.
expect_status 0 "$cli" --help
sed -n '/^Exit status:/,$p' "$T/out" | sed -n 's/^  \([0-9]*\)  \(.*\)$/\1 \2/p' >"$T/help-table"
sed -n '/^### Exit statuses/,/^## /p' "$TEST_DATA/../../README.md" |
  sed -n 's/^| \([0-9]*\) | \(.*\) |$/\1 \2/p' >"$T/readme-table"
[ "$(wc -l <"$T/help-table")" -eq 20 ] || fail "--help lacks the exit status table"
diff "$T/help-table" "$T/readme-table" >&2 || fail "the README's exit statuses differ from --help's"
echo ok
