#!/bin/bash
# The real quendril.exe under Wine, as Windows 11, at the screen densities
# of Windows' display scaling (HKCU\Control Panel\Desktop LogPixels), on a
# screen large enough for its windows: at 125, 150, 175 and 200 %, every
# window has its designed size times the scale, and its panels, lines and
# coloured labels show their colours where the design puts them, as the
# screen shows them. (Whether every text shows whole, the window tests see
# exactly, under Wine too.)
# QUENDRIL_WINE_DPIS names other densities, for example "96 240".
# Usage: scales.sh BUILD_DIR
# CTest windows: wine_scales @build@
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine_program.sh
. "$here/wine_program.sh"

QUENDRIL_TEST_SCREEN=2560x2048x24 open_wine_desktop
install_program
# As Windows 11, where Qt would draw in its Windows 11 style, with a taller
# menu bar than any window is laid out for (the other checks run as Wine's
# default, Windows 10).
wine winecfg /v win11 </dev/null >/dev/null 2>&1 || fail "winecfg could not set Windows 11"

# A designed size times the scale, as Qt rounds it.
scaled() { awk -v size="$1" -v scale="$scale" 'BEGIN { split(size, p, "x"); printf "%dx%d", int(p[1] * scale + 0.5), int(p[2] * scale + 0.5) }'; }
# The window shows its coloured parts in their places; the control named
# shows that it is drawn.
panels() {
  local status=0
  window_picture panels "$1" "$2" --scale "$scale" --drawn "$3" || status=$?
  [ "$status" = 0 ] || fail "$2 at $scale: $(tr '\n' ' ' <"$dir/picture.txt")"
  echo "ok: $2 at $scale shows its panels in their places"
}

for dpi in ${QUENDRIL_WINE_DPIS:-120 144 168 192}; do
  scale=$(awk -v dpi="$dpi" 'BEGIN { print dpi / 96 }')
  echo "-- $dpi dots per inch (scale $scale)"
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  # Wine 10 reads the density only when its server starts.
  restart_wineserver
  start_program
  pid=$program_pid
  main=$(wait_window "$caption" "$(scaled "$main_size")") || fail "no main window of $(scaled "$main_size")"
  panels "$main" frmMain Label1
  keys "$main" type 123456789
  keys "$main" key Return
  result=$(wait_window "$caption" "$(scaled "$display_size")") || fail "no result window of $(scaled "$display_size")"
  panels "$result" frmDisplay lblLostObjectNumber
  keys "$result" key alt+h a
  about=$(wait_window "$caption" "$(scaled "$about_size")") || fail "no about box of $(scaled "$about_size")"
  panels "$about" frmAbout Label1
  keys "$about" key Escape
  gone "$caption" "$(scaled "$about_size")" || fail "Escape should close the about box"
  keys "$result" key alt+e
  screen=$(wait_window "$caption" "$(scaled "$exit_size")") || fail "no exit screen of $(scaled "$exit_size")"
  panels "$screen" frmNagScreen2 lblGoToHome
  keys "$screen" key alt+x
  wait_exit "$pid"
  check "the program ends with status 0 ($exit_status)" test "$exit_status" = 0
done
echo "scales under Wine: all checks passed"
