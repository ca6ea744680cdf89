# tirna520-cli list-ports runs on any machine (with or without serial ports) and the help names
# every command.
source "$TEST_LIB"

expect_status 0 "$cli" list-ports
first=$(head -1 "$T/out")
[ "$first" = "No serial ports found." ] ||
  [[ "$first" == DEVICE*DESCRIPTION*USB\ ID*PROGRAMMER*MAY\ OPEN ]] || fail "list-ports: $first"
expect_status 2 "$cli" list-ports extra

expect_status 0 "$cli" --help
for command in new show set export-csv import-csv diff list-ports; do
  grep -q "^  $command " "$T/out" || fail "--help does not name $command"
done
expect_status 0 "$cli" set --help
grep -q 'osn13 (the squelch key) is picked after all others' "$T/out" || fail "set --help"
expect_status 0 "$cli" import-csv --help
grep -q 'UTF-8 byte order' "$T/out" || fail "import-csv --help"
echo ok
