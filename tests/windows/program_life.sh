#!/bin/bash
# The real quendril.exe under Wine, seen from outside, on a desktop of its own
# (a private X server and a fresh Wine prefix). The program is installed from
# the build into a folder of the prefix and started from there, with no Qt or
# compiler folder on any path. Checks: its main window; the date it stores in
# Wine's registry, scrambled and in the user's regional short-date format; a
# result window after a typed number and Enter; a page handed through the
# Windows shell to the browser stand-in; a second copy refused while the first
# runs, and nothing left behind by a copy that was killed; the exit screen
# above other windows, its message and a refused copy's above it, and the
# end through it with status 0; a copy under
# another file name with a setting of its own; the update reminder due after
# 15 days in that same date format; under Windows' High Contrast colours, the
# typed number and every button caption of the main window, the result window
# and the about box readable, as the screen shows them.
# Usage: program_life.sh BUILD_DIR
# CTest windows: wine_program_life @build@
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine_program.sh
. "$here/wine_program.sh"
site_root=${QUENDRIL_SITE_ROOT:?is set by the build}

open_wine_desktop
install_program

# The user's short-date format, as the regional settings set it.
wine reg add 'HKCU\Control Panel\International' /v sShortDate /d 'dd.MM.yyyy' /f >/dev/null
today=$(date +%d.%m.%Y)

echo "-- first start"
start_program
first=$program_pid
main=$(wait_window "$caption" "$main_size") || fail "no main window of $main_size"
echo "ok: the main window"
check "the first start asks nothing" test "$(count_windows "$message_title")" = 0
stored=$(stored_date)
check "the first start stores today's date in the registry, scrambled, as dd.MM.yyyy ($today)" \
  test "$stored" = "$(scramble "$today")"

echo "-- second copy"
start_program
second=$program_pid
box=$(wait_window "$message_title" any) || fail "the second copy showed no message"
check "the second copy shows no main window" test "$(count_windows "$caption")" = 1
keys "$box" key Return
wait_exit "$second"
check "the refused copy ends with status 0" test "$exit_status" = 0
check "the first copy still runs" kill -0 "$first"

echo "-- a reading"
keys "$main" type --delay 50 123456789
keys "$main" key Return
result=$(wait_window "$caption" "$display_size") || fail "no result window"
check "the main window has gone" wait_for count_is "$caption" 1
echo "ok: the result window"

echo "-- a page"
# The program takes its keys in order: O reaches the Help menu that Alt+H opened.
keys "$result" key alt+h o
anything_opened() { opened | grep . >/dev/null; }
wait_for anything_opened || true
help_page_opened() { opened | grep -xF "$site_root/vasq-free-quendril/ssd.php?page=help-web-page" >/dev/null; }
check "Online Help reaches the browser through the shell" help_page_opened

echo "-- a killed copy"
kill -KILL "$first"
wait_exit "$first"
start_program
next=$program_pid
main=$(wait_window "$caption" "$main_size") || fail "after a killed copy the next start shows no main window"
# A refused copy shows its message instead of the main window, never after it.
check "after a killed copy the next start shows no message" test "$(count_windows "$message_title")" = 0

echo "-- the end"
keys "$main" key alt+e
screen=$(wait_window "$caption" "$exit_size") || fail "the exit screen did not come up"
check "the exit screen keeps itself above other windows" \
  sh -c "xprop -id '$screen' _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE"
# Its own message lies above it, though it is kept above other windows.
keys "$screen" key alt+n
box=$(wait_window "$message_title" any) || fail "Refer A Friend Now on the untouched screen showed no message"
check "the exit screen's message lies above it" wait_for stacked_above "$box" "$screen"
keys "$box" key Return
check "Enter closes the message" wait_for count_is "$message_title" 0
# Started again meanwhile, a copy says it is refused where it can be seen.
start_program
again=$program_pid
box=$(wait_window "$message_title" any) || fail "a copy started during the exit screen showed no message"
check "its message lies above the first copy's exit screen" wait_for stacked_above "$box" "$screen"
keys "$box" key Return
wait_exit "$again"
check "the copy refused during the exit screen ends with status 0" test "$exit_status" = 0
keys "$screen" key alt+x
wait_exit "$next"
check "the program ends with status 0 ($exit_status)" test "$exit_status" = 0

echo "-- a copy under another name"
cp "$folder/quendril.exe" "$folder/quendril-copy.exe"
before=$(stored_date)
windows_program='C:\Quendril\quendril-copy.exe' start_program
copy=$program_pid
main=$(wait_window "$caption" "$main_size") || fail "the renamed copy shows no main window"
check "the renamed copy keeps its own date" test "$(registry_key='HKCU\Software\quendril-copy\quendril-copy\Settings' stored_date)" = "$(scramble "$today")"
check "and leaves the program's own alone" test "$(stored_date)" = "$before"
end_program "$copy" "$main"
echo "ok: the renamed copy ends with status 0"

echo "-- the reminder, 15 days on"
past=$(date -d '15 days ago' +%d.%m.%Y)
wine reg add "$registry_key" /v Gxudwlrq /d "$(scramble "$past")" /f >/dev/null
start_program
last=$program_pid
box=$(wait_window "$message_title" any) || fail "a date 15 days ago in the user's format brought no reminder"
check "the reminder comes before the main window" test "$(count_windows "$caption")" = 0
keys "$box" key n
main=$(wait_window "$caption" "$main_size") || fail "no main window after the reminder"
check "answering stores today's date" test "$(stored_date)" = "$(scramble "$today")"
end_program "$last" "$main"
echo "ok: the program ends with status 0"

echo "-- High Contrast colours"
# Each named control's text stands out from its background by at least
# WCAG's 4.5 : 1; the controls after --drawn only show that the window is drawn.
readable() {
  local name ratio
  window_picture contrast "$@" || fail "$2: $(cat "$dir/picture.txt")"
  while read -r name ratio; do
    check "$2: $name stands out from its background by $ratio : 1" awk -v r="$ratio" 'BEGIN { exit !(r >= 4.5) }'
  done <"$dir/picture.txt"
}
# Windows' High Contrast Black: white texts on black, wherever the design
# leaves a colour to the system. Wine reads the colours when it starts.
for colour in 'ButtonFace=0 0 0' 'ButtonText=255 255 255' 'Window=0 0 0' 'WindowText=255 255 255'; do
  wine reg add 'HKCU\Control Panel\Colors' /v "${colour%%=*}" /d "${colour#*=}" /f >/dev/null
done
restart_wineserver
start_program
contrasted=$program_pid
main=$(wait_window "$caption" "$main_size") || fail "no main window under High Contrast colours"
keys "$main" type 123456789
readable "$main" frmMain cmdNext cmdExit txtNumber --drawn Label1
keys "$main" key Return
result=$(wait_window "$caption" "$display_size") || fail "no result window under High Contrast colours"
readable "$result" frmDisplay cmdBack cmdExit --drawn lblLostObjectNumber
keys "$result" key alt+h a
about=$(wait_window "$caption" "$about_size") || fail "no about box under High Contrast colours"
readable "$about" frmAbout cmdOK --drawn Label1
keys "$about" key Escape
gone "$caption" "$about_size" || fail "Escape should close the about box"
end_program "$contrasted" "$result"
echo "ok: the program ends with status 0"
echo "program life under Wine: all checks passed"
