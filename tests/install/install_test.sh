#!/usr/bin/env bash
# The installed program, staged with DESTDIR: every file in its place, the menu entry, metainfo
# and file type valid, man pages and completion from the programs' own --help, the versions, and
# the menu's launcher: it starts the window in the user's own program folder and the window opens
# the file it was given; the command line then reads that folder's config.ini.
set -euo pipefail
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$T/stage cmake --install "$TIRNA_BUILD_DIR" >/dev/null
prefix=$T/stage$TIRNA_PREFIX
id=ru.tirna.Tirna520

for f in bin/tirna520 bin/tirna520-cli bin/tirna520-sim libexec/tirna520/tirna520-start \
         share/tirna520/Tirna520.hlp share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/mime/packages/tirna520.xml share/icons/hicolor/scalable/apps/$id.svg \
         share/icons/hicolor/48x48/apps/$id.png share/icons/hicolor/256x256/apps/$id.png \
         share/man/man1/tirna520.1.gz share/man/man1/tirna520-cli.1.gz \
         share/man/man1/tirna520-sim.1.gz share/bash-completion/completions/tirna520-cli \
         lib/udev/rules.d/70-tirna520.rules share/doc/tirna520/copyright; do
  [ -e "$prefix/$f" ] || fail "not installed: $f"
done
file "$prefix/share/icons/hicolor/48x48/apps/$id.png" | grep -q '48 x 48' || fail "48 px icon"
file "$prefix/share/icons/hicolor/256x256/apps/$id.png" | grep -q '256 x 256' || fail "256 px icon"

# The menu entry: valid, Russian, starting the launcher with the file.
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
grep -qx 'Name=Тирна-520' "$prefix/share/applications/$id.desktop" || fail "Russian name"
grep -qx "Exec=$TIRNA_PREFIX/libexec/tirna520/tirna520-start %f" \
  "$prefix/share/applications/$id.desktop" || fail "Exec"
grep -qx 'MimeType=application/x-tirna520-params;' "$prefix/share/applications/$id.desktop" ||
  fail "MimeType"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "metainfo"
cp -r "$prefix/share/mime" "$T/mime"
update-mime-database "$T/mime"
grep -q 'pattern="\*.tn5"' "$T/mime/application/x-tirna520-params.xml" || fail "MIME type"

# Versions, man pages and completion, each from the programs themselves.
# Each program says its version and exits 0.
for program in tirna520-cli tirna520-sim tirna520; do
  version=$(env -u DISPLAY "$prefix/bin/$program" --version 2>&1) || fail "$program --version exited $?"
  [ "$version" = "$program $TIRNA_VERSION" ] || fail "$program --version: $version"
done
cli_page=$(MANWIDTH=100 man -l "$prefix/share/man/man1/tirna520-cli.1.gz" 2>/dev/null)
for command in $("$prefix/bin/tirna520-cli" --help | awk '/^Subcommands:/{on=1;next} on&&/^  [a-z]/{print $1}'); do
  grep -q "^   $command\$" <<<"$cli_page" || fail "man page lacks the command $command"
done
grep -q -- '--first-location' <<<"$cli_page" || fail "man page lacks a command's options"
MANWIDTH=100 man -l "$prefix/share/man/man1/tirna520-sim.1.gz" 2>/dev/null | grep -q -- '--radio-version' ||
  fail "sim man page"
if [ -f /usr/share/bash-completion/bash_completion ]; then
  completion=$(PATH=$prefix/bin:$PATH bash -c '
    source /usr/share/bash-completion/bash_completion
    source "$1/share/bash-completion/completions/tirna520-cli"
    complete_words() {
      COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
      COMPREPLY=(); _tirna520; echo "${COMPREPLY[*]}"
    }
    complete_words tirna520-cli re
    complete_words tirna520-cli import-csv --f
    complete_words tirna520-sim --radio-v' _ "$prefix")
  [ "$completion" = $'report read read-extra\n--first-location\n--radio-version' ] ||
    fail "completion: $completion"
fi

source "$(dirname "$0")/launcher_check.sh"
check_launcher "$prefix/libexec/tirna520/tirna520-start" "$prefix/bin/tirna520-cli" "$T"
echo "installed layout, menu entry, launcher and versions: OK"
