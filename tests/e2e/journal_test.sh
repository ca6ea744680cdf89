# The programming journal of a shop: a single write (with its read-back) and a free-text write,
# a fleet on a queue of radios, then an audit of those radios with one changed behind the
# journal's back; every row lands in the user's one journal, chained. history lists a radio's
# rows and backups, journal verify holds and names the row after one edited, and the audit
# named the changed radio and its parameter without writing anything; the certificate names
# every radio and the chain's state.
source "$E2E_LIB"
journal=$XDG_DATA_HOME/tirna520/journal.csv  # the user's, by default

"$cli" new --coding-version 4 -o "$T/file.tn5" >/dev/null
"$cli" set "$T/file.tn5" f_rx3=151 skan5=Включен >/dev/null

# radio FOLDER NAME NUMBER: a radio's memory with a 7-digit factory number.
radio() {
  mkdir -p "$1"
  "$cli" new --coding-version 4 -o "$1/$2.tn5" >/dev/null
  local digits=() i
  for ((i = 0; i < 7; i++)); do digits+=("3${3:i:1}"); done
  poke "$1/$2.tn5" "$(offset_of $((0x2E0)))" "${digits[@]}"
}
# row_count TEXT: the journal's rows holding TEXT.
row_count() { grep -cF -- "$1" "$journal" || true; }

# A single write with its read-back and backup, then the free text: two rows.
radio "$T/single" r 3000001
start_sim --memory "$T/single/r.tn5" --radio-version 4
expect_status 0 "$cli" write --port "$DEV" "$T/file.tn5" --verify --backup-dir "$T/bk"
expect_status 0 "$cli" write-extra --port "$DEV" --text "Склад 1"
stop_sim
[ "$(wc -l <"$journal")" -eq 3 ] || { cat "$journal"; fail "not two rows after two writes"; }
sha=$(sha256sum "$T/file.tn5" | cut -d' ' -f1)
grep -F "3000001" "$journal" | grep -F "$sha" | grep -F "read back equal" | grep -qF "write" ||
  fail "the write's row lacks the radio, the file's SHA-256 or its read-back"
[ "$(row_count write-extra)" -eq 1 ] || fail "no write-extra row"

# A fleet of two radios into the same journal; the radios as it leaves them are saved.
radio "$T/queue" r1 1000001
radio "$T/queue" r2 1000002
mkdir "$T/fleet-saved"
start_sim --radios "$T/queue" --unplugged-ms 1000 --save "$T/fleet-saved"
expect_status 0 "$cli" fleet --port "$DEV" "$T/file.tn5" --count 2
stop_sim
[ "$(wc -l <"$journal")" -eq 5 ] || { cat "$journal"; fail "not four rows after the fleet"; }

# Radio 1000002 changed behind the journal's back; the audit reads both and writes nothing.
cp -r "$T/fleet-saved" "$T/audit"
"$cli" set "$T/audit/r2.tn5" skan5=Выключен >/dev/null
start_sim --radios "$T/audit" --unplugged-ms 1000 --log "$T/audit.log"
expect_status 1 "$cli" fleet --port "$DEV" --audit "$T/file.tn5" --count 2
stop_sim
[ "$(count_lines "$T/audit.log" ' write 0x')" -eq 0 ] || fail "the audit wrote to a radio"
grep -F "1000001" "$journal" | grep -qF "matches" || fail "1000001 not journaled as matching"
grep -F "1000002" "$journal" | grep -qF "differs in skan5" || fail "1000002: not its parameter"

# history: each radio's rows, oldest first, with its backups.
expect_status 0 "$cli" history 3000001 --backup-dir "$T/bk"
[ "$(grep -c '  write  done' "$T/out")" -eq 1 ] || { cat "$T/out"; fail "history 3000001"; }
grep -q 'проверка чтением: совпадает' "$T/out" || fail "history: the read-back not shown"
grep -q "^  $T/bk/3000001-.*\.tn5$" "$T/out" || { cat "$T/out"; fail "history: no backup"; }
expect_status 0 "$cli" history 1000002 --json
[ "$(grep -c '"command": "fleet' "$T/out")" -eq 2 ] || { cat "$T/out"; fail "history --json"; }
grep -B15 '"command": "fleet --audit"' "$T/out" | grep -q '"note": "differs in skan5"' ||
  fail "history --json: the audit's row"

# The chain holds for the six rows; an edited row breaks it at the row after it.
expect_status 0 "$cli" journal verify
grep -q ": the chain is intact, 6 rows; the last row's SHA-256 [0-9a-f]\{64\}$" "$T/out" ||
  { cat "$T/out"; fail "journal verify"; }
sed '2s/3000001/3000009/' "$journal" >"$T/edited.csv"
expect_status 9 "$cli" journal verify "$T/edited.csv"
grep -q 'the chain breaks at row 2 (line 3): it does not follow row 1' "$T/out" ||
  { cat "$T/out"; fail "the edit was not found"; }

# The certificate: the radios, the file's SHA-256 and the chain's state, as pdftotext reads it;
# chosen by factory number, only that radio's rows.
expect_status 0 "$cli" certificate -o "$T/cert.pdf"
pdftotext -layout "$T/cert.pdf" "$T/cert.txt"
for n in 3000001 1000001 1000002; do grep -q " $n " "$T/cert.txt" || fail "the certificate lacks $n"; done
grep -q "Цепочка журнала : *цела, строк: 6$" "$T/cert.txt" || { cat "$T/cert.txt"; fail "chain state"; }
grep -q "$sha" "$T/cert.txt" || fail "the certificate lacks the file's SHA-256"
grep -q "отличается от файла *не совпадает" "$T/cert.txt" || fail "the audit's differing radio"
expect_status 0 "$cli" certificate --number 1000002 -o "$T/one.pdf"
[ "$(pdftotext -layout "$T/one.pdf" - | grep -cE '^[0-9]+ ')" -eq 2 ] || fail "not 1000002's two rows"

# A journal that cannot be written (a folder): the write is done and said so; the journal's
# failure comes after it, with its own status.
start_sim --memory "$T/single/r.tn5" --radio-version 4
mkdir "$T/folder.csv"
expect_status 10 "$cli" write --port "$DEV" "$T/file.tn5" --journal "$T/folder.csv"
expect_line "$T/out" "Запись данных успешно завершена."
grep -q "^$T/folder.csv: " "$T/err" || { cat "$T/err"; fail "the journal's failure is not named"; }
stop_sim
no_strays
echo ok
