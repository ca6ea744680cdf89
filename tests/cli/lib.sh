# Shared helpers of the command-line tests. Source it; it sets -eu and a scratch folder $T.
set -eu
cli="${TIRNA_CLI:?TIRNA_CLI names the tirna520-cli executable}"
# A test run in a locale the machine has not generated would run in C without saying so.
if [ -n "${LC_ALL:-}" ] && [ "${LC_ALL%%.*}" != C ] &&
   ! locale -a 2>/dev/null | grep -qix "$(echo "$LC_ALL" | sed 's/UTF-8/utf8/I')"; then
  echo "skipped: the locale $LC_ALL is not generated (scripts/setup makes it)"
  exit 77
fi
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
# Every write is journaled in the user's journal: the tests' go to their scratch folder.
export XDG_DATA_HOME="$T/data"

fail() { echo "FAIL: $*" >&2; exit 1; }

# expect_status N command...: runs the command, keeps stdout in $T/out and stderr in $T/err.
expect_status() {
  local want=$1; shift
  local got=0
  "$@" >"$T/out" 2>"$T/err" || got=$?
  [ "$got" -eq "$want" ] || { cat "$T/err" >&2; fail "'$*' exited $got, expected $want"; }
}

# expect_line FILE TEXT: FILE has a line that is exactly TEXT.
expect_line() {
  grep -Fxq -- "$2" "$1" || { cat "$1" >&2; fail "no line '$2' in $1"; }
}

# poke FILE OFFSET BYTE...: overwrites bytes of a file (hex values).
poke() {
  local file=$1 offset=$2; shift 2
  for b in "$@"; do
    printf "\\x$b" | dd of="$file" bs=1 seek="$offset" conv=notrunc status=none
    offset=$((offset + 1))
  done
}

# The file offset of memory address A: packet (A div 8) + 1, byte 4 + (A mod 8).
offset_of() { echo $(( ($1 / 8) * 12 + 4 + $1 % 8 )); }
