# Texts from a file or a radio reach the terminal escaped: a factory number, model text or free
# text holding ESC sequences, a bell or a carriage return cannot move the cursor or rewrite what
# the technician reads. Data written to standard output (a CSV table, a PDF) stays as it is, and a
# journal cell a spreadsheet would take for a formula stays a text.
source "$E2E_LIB"

# A radio whose factory number moves the cursor up and clears the line (ESC [1A ESC [K), whose
# model text sets the terminal's title and rings (ESC ]0;X BEL), and whose free text holds a DEL
# after a lone CR (a line break, as the window shows it).
"$cli" new --coding-version 4 -o "$T/evil.tn5" >/dev/null
poke "$T/evil.tn5" "$(offset_of $((0x2E0)))" 1B 5B 31 41 1B 5B 4B
poke "$T/evil.tn5" "$(offset_of $((0x2C0)))" 1B 5D 30 3B 58 07
poke "$T/evil.tn5" "$(offset_of $((0x300)))" 41 0D 42 7F 00
"$cli" new --coding-version 4 -o "$T/plain.tn5" >/dev/null

# raw_controls FILE: the control characters in FILE other than the line feed, as hex; empty when
# none.
raw_controls() { LC_ALL=C tr -d '\n\040-\176\200-\377' <"$1" | od -An -tx1 | tr -d ' \n'; }

mkdir "$T/radios"
cp "$T/evil.tn5" "$T/radios/r1.tn5"
start_sim --memory "$T/evil.tn5"
# status | command | what its output must show, escaped
while IFS='|' read -r status command shown; do
  eval "set -- $command"
  expect_status "$status" "$@"
  cat "$T/out" "$T/err" >"$T/all"
  [ -z "$(raw_controls "$T/all")" ] || fail "$command: raw controls $(raw_controls "$T/all")"
  grep -qF -- "$shown" "$T/all" || { cat "$T/all"; fail "$command: '$shown' not shown"; }
done <<'TABLE'
0|"$cli" show "$T/evil.tn5"|Заводской № : \u001b[1A\u001b[K
0|"$cli" show --json "$T/evil.tn5"|"nomer": "\u001b[1A\u001b[K"
1|"$cli" diff "$T/plain.tn5" "$T/evil.tn5"|\u001b]0;X\u0007
0|"$cli" read-extra --port "$DEV" "$T/extra.tn5"|B\u007f
TABLE
stop_sim

# The fleet's lines name the radio by its factory number; its journal keeps the bytes as they are.
start_sim --radios "$T/radios" --unplugged-ms 60000
expect_status 0 "$cli" fleet --port "$DEV" "$T/plain.tn5" --journal "$T/j.csv" --count 1
[ -z "$(raw_controls "$T/out")" ] || fail "fleet: raw controls $(raw_controls "$T/out")"
grep -qF "$DEV: \u001b[1A\u001b[K done" "$T/out" || { cat "$T/out"; fail "fleet: no escaped number"; }
stop_sim

# A factory number a spreadsheet would take for a formula: an apostrophe keeps it a text.
"$cli" new --coding-version 4 -o "$T/radios/r1.tn5" >/dev/null
poke "$T/radios/r1.tn5" "$(offset_of $((0x2E0)))" 3D 31 2B 32 2B 33 20  # "=1+2+3 "
start_sim --radios "$T/radios" --unplugged-ms 60000
expect_status 0 "$cli" fleet --port "$DEV" "$T/plain.tn5" --journal "$T/f.csv" --count 1
grep -q "[,;]'=1+2+3[,;]" "$T/f.csv" || { cat "$T/f.csv"; fail "the formula's cell"; }
stop_sim

# Data on standard output is written as it is: the CSV table keeps its line ends, the PDF its bytes.
"$cli" export-csv "$T/evil.tn5" -o - >"$T/table.csv"
"$cli" export-csv "$T/evil.tn5" -o "$T/table-file.csv"
cmp -s "$T/table.csv" "$T/table-file.csv" || fail "export-csv to standard output was changed"
"$cli" report "$T/evil.tn5" -o - >"$T/report.pdf"
"$cli" report "$T/evil.tn5" -o "$T/report-file.pdf"
[ "$(head -c 5 "$T/report.pdf")" = "%PDF-" ] && [ "$(stat -c %s "$T/report.pdf")" -eq "$(stat -c %s "$T/report-file.pdf")" ] ||
  fail "the PDF on standard output was changed"
no_strays
echo ok
