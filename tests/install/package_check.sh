#!/usr/bin/env bash
# The Debian package as a technician gets it: built, checked by lintian (no tag at all in its
# pedantic run), installed with apt-get, started from PATH and from its menu entry's
# launcher, and removed again.
# Needs root or sudo; run by .ci/run after the tests.
set -euo pipefail
cd "$(dirname "$0")/../.."
fail() { echo "FAIL: $*" >&2; exit 1; }
as_root=()
[ "$(id -u)" = 0 ] || as_root=(sudo)
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT

scripts/package >/dev/null
deb=$(ls build-package/tirna520_*.deb)
# Every check lintian has, pedantic and experimental ones included. An error or a warning fails,
# and so does any other tag: the hardening and stripping ones (hardening-no-bindnow,
# hardening-no-fortify-functions, binary-has-unneeded-section) are only informational.
lintian --pedantic --display-info --display-experimental --fail-on error,warning "$deb" \
  >"$T/lintian" 2>/dev/null || { cat "$T/lintian" >&2; fail "lintian found errors or warnings in $deb"; }
# A "spelling error" that lintian finds in a program but whose word stands nowhere in the sources
# is a few bytes of machine code that happen to read as a word ("wTH"): it comes and goes with the
# compiler's output and is not text the program shows. Any other tag fails.
while read -r line; do
  word=$(sed -n 's/^I: tirna520: spelling-error-in-binary \([^ ]*\) .*/\1/p' <<<"$line")
  if [ -n "$word" ] && ! grep -rqF -- "$word" src; then continue; fi
  echo "$line"
done <"$T/lintian" >"$T/lintian.text"
[ ! -s "$T/lintian.text" ] || { cat "$T/lintian.text" >&2; fail "lintian tags in $deb"; }
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" >"$T/apt.log" 2>&1 ||
  fail "apt-get install: $(cat "$T/apt.log")"

version=$(sed -n 's/^project(tirna520 VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "$(command -v tirna520-cli)" = /usr/bin/tirna520-cli ] || fail "tirna520-cli is not on PATH"
[ "$(tirna520-cli --version)" = "tirna520-cli $version" ] || fail "tirna520-cli --version"
[ "$(env -u DISPLAY tirna520 --version)" = "tirna520 $version" ] || fail "tirna520 --version"
[ -f /usr/lib/udev/rules.d/70-tirna520.rules ] || fail "udev rule"
man -w tirna520-cli >/dev/null || fail "man tirna520-cli"

# Started as the menu entry starts it.
launcher=$(sed -n 's/^Exec=\([^ ]*\) %f$/\1/p' /usr/share/applications/ru.tirna.Tirna520.desktop)
source tests/install/launcher_check.sh
check_launcher "$launcher" tirna520-cli "$T"

"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tirna520 >"$T/apt.log" 2>&1 ||
  fail "apt-get remove: $(cat "$T/apt.log")"
[ ! -e /usr/bin/tirna520 ] || fail "tirna520 is still installed"
echo "package $deb: no lintian tags (pedantic, experimental), installed, started, removed"
