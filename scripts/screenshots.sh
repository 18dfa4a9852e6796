#!/bin/bash
# Takes the README's screenshots of the four windows on a private desktop of
# the tests' harness (tests/support/harness.py). Needs xvfb, xdotool and imagemagick.
# Usage: scripts/screenshots.sh [build dir] [output dir] [scale] [file name prefix]
#   scripts/screenshots.sh build docs               docs/main-window.png and the rest
#   scripts/screenshots.sh build docs 2 hidpi-      docs/hidpi-main-window.png ... at twice the size
# QUENDRIL_TEST_DISPLAYS names the X display numbers to try, first-last
# (default: the "screenshots" row of tests/support/x_displays.txt).
set -euo pipefail
# shellcheck source=../tests/support/outside_checks.sh
. "$(dirname "$0")/../tests/support/outside_checks.sh"
in_private_desktop screenshots --screen 1600x1200x24 -- bash "$0" "$@"
build=${1:-build}
out=${2:-docs}
scale=${3:-1}
prefix=${4:-}
program="$build/bin/quendril"
# The windows' caption, as the build wrote it.
# shellcheck disable=SC1091  # written by the build
. "$build/product.env"
caption=$QUENDRIL_CAPTION
mkdir -p "$out"
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null || true; }
trap cleanup EXIT

# The harness's throwaway home, and its browser stand-in first on the path,
# so that no link leaves the machine.
export QT_SCALE_FACTOR="$scale"
"$program" &
program_pid=$!
pids+=("$program_pid")

# The smallest visible window with that title: a dialog rather than the window below it.
window() {
  local id
  wait_window "$1" any >/dev/null || fail "no window \"$1\""
  windows_placed "$1" | while read -r id _ _ width height; do
    echo "$((width * height)) $id"
  done | sort -n | head -n 1 | cut -d' ' -f2
}
shoot() {
  sleep 1
  local id x y width height
  read -r id x y width height < <(windows_placed "$1" | grep "^$(window "$1") ")
  import -window root -crop "${width}x${height}+${x}+${y}" +repage "$out/$prefix$2"
}
focus() { xdotool windowfocus --sync "$(window "$1")"; }

shoot "$caption" main-window.png
focus "$caption"
xdotool type --delay 20 123456789
xdotool key Return
shoot "$caption" result-window.png
focus "$caption"
xdotool key alt+h a
shoot "$caption" about-box.png
xdotool key Return
focus "$caption"
xdotool key Escape
shoot "$caption" exit-screen.png
focus "$caption"
xdotool key alt+x
wait $program_pid
echo "screenshots written to $out"
