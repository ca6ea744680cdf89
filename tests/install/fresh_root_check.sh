#!/usr/bin/env bash
# A newcomer's first minutes, on fresh minimal Debian 12 systems: roots made with
# `debootstrap --variant=minbase` on this machine's disk, entered with chroot (so that `/` is no
# mount point there), the windows shown on an Xvfb display of this machine.
#   package  the Debian package installed with apt-get: the window started from PATH in a folder
#            of its own, a message box and Qt's file dialog over it (screenshots), the fonts Qt
#            picks (none of them monospaced), tirna520-cli new, show and report, and the
#            installed demo finding its help file;
#   run      a clone of the project at REV: scripts/run to the first window, with the time it
#            took, the packages apt installed and the size of what it downloaded.
# Usage: tests/install/fresh_root_check.sh [all|package|run] [REV]   (REV: default HEAD)
# TIRNA_DEB names a package to install (else scripts/package builds one); SHOTS a folder for the
# screenshots (else they are left out). Needs root and Debian's mirror; installs debootstrap,
# xvfb, xdotool and imagemagick when missing; exits 77 (skipped) when it cannot make a root.
# It takes about ten minutes on two cores, so it is no part of ctest or .ci/run.
set -euo pipefail
cd "$(dirname "$0")/../.."
src=$PWD
what=${1:-all}
rev=$(git rev-parse "${2:-HEAD}")
mirror=${MIRROR:-http://deb.debian.org/debian}
fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "skipped: $*"; exit 77; }
say() { echo "fresh-root: $*"; }
now() { date +%s.%N; }

[ "$(id -u)" = 0 ] || skip "needs root (debootstrap, chroot, mount)"
tools=()
command -v debootstrap >/dev/null || tools+=(debootstrap)
command -v Xvfb >/dev/null || tools+=(xvfb)
command -v xdotool >/dev/null || tools+=(xdotool)
command -v import >/dev/null || tools+=(imagemagick)
if [ ${#tools[@]} -gt 0 ]; then
  say "installing ${tools[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${tools[@]}" \
    >/dev/null || skip "cannot install ${tools[*]}"
fi

# On the disk, not in /tmp: the window refuses to run from a RAM disk.
W=$(mktemp -d /var/tmp/tirna520-roots-XXXXXX)
mounts=()
xvfb=
cleanup() {
  set +e
  for p in /proc/[0-9]*; do
    [[ "$(readlink "$p/root" 2>/dev/null)" == "$W"/* ]] && kill -KILL "${p#/proc/}" 2>/dev/null
  done
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  local i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount "${mounts[i]}" || umount -l "${mounts[i]}"; done
  if grep -q " $W/" /proc/mounts; then
    echo "fresh-root: $W still has mounts; left as it is" >&2
  else
    rm -rf "$W"
  fi
}
trap cleanup EXIT

# The display: found by its abstract socket from inside the roots too.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$W/display" 2>"$W/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$W/display" ] && break; sleep 0.1; done
[ -s "$W/display" ] || fail "Xvfb did not start: $(cat "$W/xvfb.log")"
display=:$(cat "$W/display")

# make_root NAME: a fresh minimal root $W/NAME with the sources a Debian 12 machine has, /proc,
# /sys and /dev.
make_root() {
  local root=$W/$1
  if [ ! -d "$W/base" ]; then
    say "making a minimal bookworm root (debootstrap --variant=minbase)"
    debootstrap --variant=minbase bookworm "$W/base" "$mirror" >"$W/debootstrap.log" 2>&1 ||
      { tail -5 "$W/debootstrap.log"; skip "debootstrap could not make a root"; }
  fi
  cp -a "$W/base" "$root"
  printf 'deb %s bookworm main\ndeb %s bookworm-updates main\ndeb %s bookworm-security main\n' \
    "$mirror" "$mirror" "${mirror%/debian}/debian-security" >"$root/etc/apt/sources.list"
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"
  mount -t proc proc "$root/proc" && mounts+=("$root/proc")
  mount --bind /sys "$root/sys" && mounts+=("$root/sys")
  mount --bind /dev "$root/dev" && mounts+=("$root/dev")
  mount --bind /dev/pts "$root/dev/pts" && mounts+=("$root/dev/pts")
}

# in_root NAME COMMAND...: runs COMMAND in root NAME as root, with a clean environment.
in_root() {
  local root=$W/$1
  shift
  chroot "$root" env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 TERM=dumb DISPLAY="$display" "$@"
}

# end_root NAME: ends every process that runs in root NAME.
end_root() {
  local p
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$W/$1" ] && kill "${p#/proc/}" 2>/dev/null
  done
  return 0
}

# building_in NAME: whether a compiler, linker or make runs in root NAME.
building_in() {
  local p
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$W/$1" ] || continue
    case "$(cat "$p/comm" 2>/dev/null)" in
      cmake | gmake | make | c++ | g++ | cc1plus | as | ld | collect2) return 0 ;;
    esac
  done
  return 1
}

# window SECONDS SEARCH...: the id of the first visible window that `xdotool search SEARCH`
# finds, waiting at most SECONDS.
window() {
  local deadline=$((SECONDS + $1)) id
  shift
  while [ $SECONDS -lt "$deadline" ]; do
    id=$(DISPLAY=$display xdotool search --onlyvisible "$@" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}

shot() {
  [ -n "${SHOTS:-}" ] || return 0
  mkdir -p "$SHOTS"
  import -display "$display" -window root "$SHOTS/$1.png"
  say "screenshot $SHOTS/$1.png"
}

# apt_figures LOG: what an apt-get install run says it installed and downloaded.
apt_figures() {
  grep -hE '^[0-9]+ upgraded, [0-9]+ newly installed|^Need to get|^After this operation|^Fetched .* in ' "$@" |
    sed 's/^/  apt: /' || true  # a quiet apt-get says none of it
}

package_check() {
  local deb=${TIRNA_DEB:-}
  if [ -z "$deb" ]; then
    say "building the package (scripts/package)"
    deb=$PWD/$(scripts/package | tail -1)
  fi
  local probe=${TIRNA_FONT_PROBE:-build/tests/install/install_font_probe}
  [ -x "$probe" ] || fail "no font probe at $probe (cmake --build build --target install_font_probe)"
  make_root package
  local R=$W/package
  cp "$deb" "$R/root/"
  cp "$probe" "$R/root/font_probe"
  say "installing $(basename "$deb") with apt-get, as the README says"
  in_root package apt-get update -q >"$W/package-apt.log" 2>&1 || fail "apt-get update"
  in_root package env DEBIAN_FRONTEND=noninteractive apt-get install -y "/root/$(basename "$deb")" \
    >>"$W/package-apt.log" 2>&1 || { tail -20 "$W/package-apt.log"; fail "apt-get install"; }
  apt_figures "$W/package-apt.log"

  # The fonts: none that Qt picks for a window is monospaced.
  say "fonts installed: $(in_root package fc-list : family | sort -u | paste -sd, -)"
  say "fc-match sans-serif: $(in_root package fc-match sans-serif)"
  in_root package /root/font_probe >"$W/fonts" 2>"$W/fonts.err" || fail "font probe: $(cat "$W/fonts.err")"
  sed 's/^/  Qt: /' "$W/fonts"
  ! grep -q 'fixed pitch' "$W/fonts" || fail "a window's font is monospaced"
  grep -qx 'window: Liberation Sans' "$W/fonts" || fail "the window's Arial is not Liberation Sans"

  # The window, started from PATH in a folder of its own (in a chroot: no mount entry holds it),
  # asked to open a file that is not there: its message box, then Qt's file dialog.
  in_root package sh -c 'mkdir -p /root/tirna && cd /root/tirna && exec tirna520 /root/missing.tn5' \
    >"$W/window.log" 2>&1 &
  local box main dialog
  box=$(window 30 --name '^ПО Тирна-520$') || fail "no message box: $(cat "$W/window.log")"
  main=$(window 5 --name 'Версия 1.3') || fail "no main window: $(cat "$W/window.log")"
  [ -f "$R/root/tirna/config.ini" ] || fail "the window made no config.ini (refused its folder?)"
  sleep 1
  shot fresh-root-message-box
  DISPLAY=$display xdotool windowfocus --sync "$box" key Return
  sleep 0.5
  DISPLAY=$display xdotool windowfocus --sync "$main" key ctrl+o
  dialog=$(window 10 --name 'Открыть|Open') || fail "no file dialog"
  sleep 1
  shot fresh-root-file-dialog
  DISPLAY=$display xdotool windowfocus --sync "$dialog" key Escape
  sleep 0.5
  shot fresh-root-window
  end_root package

  # The command line.
  in_root package tirna520-cli new --band 1 -o /root/a.tn5 || fail "new"
  in_root package tirna520-cli show /root/a.tn5 >"$W/show.txt" || fail "show"
  grep -q '450' "$W/show.txt" || fail "show: $(head "$W/show.txt")"
  in_root package tirna520-cli report /root/a.tn5 -o /root/a.pdf || fail "report"
  [ "$(head -c 4 "$R/root/a.pdf")" = "%PDF" ] || fail "report wrote no PDF"
  say "tirna520-cli new, show, report: OK"

  # The installed demo finds the help file where the window does.
  in_root package timeout -s TERM 10 env QT_QPA_PLATFORM=offscreen tirna520-cli demo \
    >"$W/demo.out" 2>"$W/demo.err" || true
  grep -q '^Окно tirna520: процесс' "$W/demo.out" || fail "demo: $(cat "$W/demo.out" "$W/demo.err")"
  ! grep -q 'справка недоступна' "$W/demo.err" || fail "demo: $(cat "$W/demo.err")"
  say "tirna520-cli demo: started with its help file"
}

run_check() {
  make_root run
  git clone -q --no-checkout "$src" "$W/run/root/tirna520"
  git -C "$W/run/root/tirna520" checkout -q "$rev"
  say "scripts/run in a fresh clone at $(git log -1 --format='%h %s' "$rev")"
  local start end id
  start=$(now)
  # Each line of its output with the time it came, for the time of each phase.
  in_root run bash -c 'cd /root/tirna520 && exec scripts/run' 2>&1 |
    while IFS= read -r line; do printf '%s %s\n' "$EPOCHREALTIME" "$line"; done >"$W/run.log" &
  local run=$!
  # The first window of the program, whichever it is.
  while ! id=$(window 10 --class tirna520); do
    kill -0 "$run" 2>/dev/null || { tail -30 "$W/run.log"; fail "scripts/run ended without a window"; }
  done
  end=$(now)
  sleep 1
  shot fresh-root-scripts-run
  say "$(awk -v s="$start" -v e="$end" 'BEGIN { t = e - s; printf "first window %d min %02d s after scripts/run started", t / 60, t % 60 }')"
  say "  title: $(DISPLAY=$display xdotool getwindowname "$id")"
  sed 's/^[0-9.]* //' "$W/run.log" >"$W/run.text"
  apt_figures "$W/run.text"
  # The phases, each with the time from the start.
  grep -E '^[0-9.]+ (run|setup|build): ' "$W/run.log" |
    awk -v s="$start" '{ t = $1 - s; $1 = ""; printf "  %3d:%02d%s\n", t / 60, t % 60, $0 }'
  # What is still built while the window runs (the command line and the simulator).
  while building_in run; do sleep 1; done
  end=$(now)
  local built=$W/run/root/tirna520/build/src
  [ -x "$built/cli/tirna520-cli" ] && [ -x "$built/sim/tirna520-sim" ] ||
    fail "tirna520-cli and tirna520-sim were not built: $(tail "$W/run/root/tirna520/build/programs.log")"
  say "$(awk -v s="$start" -v e="$end" 'BEGIN { t = e - s; printf "all three programs built %d min %02d s after scripts/run started", t / 60, t % 60 }')"
  end_root run
}

case "$what" in
  package) package_check ;;
  run) run_check ;;
  all) package_check; run_check ;;
  *) fail "usage: $0 [all|package|run] [REV]" ;;
esac
echo "fresh roots: OK"
