#!/bin/bash
# The Windows setup program under Wine, seen from outside, on a desktop of
# its own (a private X server and a fresh Wine prefix):
# - it installs silently for all users into Program Files, with a Start menu
#   entry and an entry in the list of installed programs that point at the
#   installed program;
# - the program, started by its shortcut's target, shows its main window, a
#   reading after a typed number and Enter, the main window again after Back,
#   refuses a second copy, and ends through its exit screen with status 0;
# - installed again over itself, it keeps one list entry; installed into a
#   folder given with /D=, it goes there;
# - its uninstaller leaves no file, folder, shortcut or list entry of ours,
#   and the program's setting stays in the user's registry;
# - installed for the current user alone over an install for all users, it
#   takes its place, under the user's own programs folder and list, and goes
#   away from there as completely; installed for all users over an install
#   for the current user, it takes that one's place;
# - while the installed program runs, the setup program and the uninstaller,
#   both silent, end with a non-zero status and leave the install as it was;
# - on Windows 7 (Wine's version setting) it refuses and installs nothing;
# - it and its uninstaller ask for no administrator's rights when started,
#   and draw their windows for the display's scaling (their manifests).
# Usage: setup_life.sh BUILD_DIR
# CTest windows: wine_setup_and_removal @build@
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine_program.sh
. "$here/wine_program.sh"
setup=$build/quendril-${QUENDRIL_VERSION}-setup.exe
[ -f "$setup" ] || fail "no $setup: build the target quendril_packages (scripts/build-windows.sh does)"

open_wine_desktop
drive_c=$WINEPREFIX/drive_c
# shellcheck disable=SC1003  # the key ends in a backslash
list_entry='Software\Microsoft\Windows\CurrentVersion\Uninstall\'"${QUENDRIL_APP_ID}"

# The list entry in the given registry root as reg prints it, or nothing when
# there is none.
list_entry() { registry_query "$1\\$list_entry"; }
# One value of a list entry as list_entry gives it, or nothing.
value_in() { printf '%s\n' "$1" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
# One value of the list entry in the given registry root, or nothing.
entry_value() { value_in "$(list_entry "$1")" "$2"; }
# The files below a folder of the prefix whose path names the program.
ours_below() { find "$1" \( -iname '*quendril*' -o -iname "*$QUENDRIL_TITLE*" \) -print 2>/dev/null; }
# The program a shortcut starts: the Windows path stored in it.
shortcut_target() { strings -a "$1" | grep -m 1 -i '^[a-z]:\\.*\.exe$'; }

# Runs the uninstaller named in the list entry silently, in place (_?=), and
# sets $status to its status. It cannot remove its own file while it runs: a
# copy of it in the user's Temp folder, started with _?= too, removes that,
# the folder and the list entry once it has ended, and is waited for as well.
run_uninstaller() {
  local root=$1 quiet
  quiet=$(entry_value "$root" QuietUninstallString)
  [ -n "$quiet" ] || fail "the list entry names no quiet uninstaller"
  status=0
  eval "wine $(printf '%s' "$quiet" | sed 's/\\/\\\\/g')" </dev/null >/dev/null 2>&1 || status=$?
  wait_for uninstaller_ended || fail "an uninstaller still runs after 30 s"
}
uninstaller_ended() { ! ours_running '_[?]='; }
# Runs that uninstaller and fails unless it ends with status 0.
uninstall() {
  run_uninstaller "$1"
  [ "$status" = 0 ] || fail "the uninstaller ended with status $status"
}
# Runs the setup program with these arguments; sets $status to its status.
run_setup() {
  status=0
  wine "$setup" "$@" </dev/null >/dev/null 2>&1 || status=$?
}
# What an install is: its files with their contents, its list entry and its
# Start menu entry.
install_state() {
  (cd "$1" && find . -type f -exec md5sum {} + | sort -k 2)
  list_entry "$2"
  ls -l "$3"
}
# Whether the manifest Windows reads from a program file holds this text.
manifest_has() { wrestool --extract --raw --type=24 "$1" | grep -- "$2" >/dev/null; }
# Whether a Windows program whose command line matches this pattern runs in our prefix.
ours_running() {
  local pid
  for pid in $(pgrep -f -- "$1" || true); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 0
  done
  return 1
}

echo "-- the setup program's manifest"
check "it starts with the user's own rights" manifest_has "$setup" 'level="asInvoker"'
check "its window follows the display's scaling" manifest_has "$setup" '<dpiAware[^>]*>true<'

echo "-- on Windows 7"
wine winecfg /v win7 </dev/null >/dev/null 2>&1 || fail "winecfg could not set Windows 7"
run_setup /S
check "the setup program refuses Windows 7 with a non-zero status" test "$status" != 0
check "and installs nothing" test -z "$(ours_below "$drive_c")"
check "nor lists anything" test -z "$(list_entry HKLM)$(list_entry HKCU)"
# Wine 8 makes its prefixes as Windows 7; the rest runs on Windows 10.
wine winecfg /v win10 </dev/null >/dev/null 2>&1 || fail "winecfg could not set Windows 10"

echo "-- install for all users"
run_setup /S
check "the setup program installs on Windows 10" test "$status" = 0
folder="$drive_c/Program Files/$QUENDRIL_TITLE"
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$QUENDRIL_TITLE.lnk"
check "the program is in Program Files" test -f "$folder/quendril.exe"
check "beside its Qt libraries and plugins" test -f "$folder/Qt6Widgets.dll" -a -f "$folder/platforms/qwindows.dll"
check "the Start menu entry is there" test -f "$shortcut"
target=$(shortcut_target "$shortcut")
check "the Start menu entry starts the installed program" test "$target" = "C:\\Program Files\\$QUENDRIL_TITLE\\quendril.exe"
entry=$(list_entry HKLM)
check "the list entry names the program" test "$(value_in "$entry" DisplayName)" = "$QUENDRIL_TITLE"
check "its version" test "$(value_in "$entry" DisplayVersion)" = "$QUENDRIL_VERSION"
check "its publisher" test -n "$(value_in "$entry" Publisher)"
check "its icon" test "$(value_in "$entry" DisplayIcon)" = "$target,0"
check "its folder" test "$(value_in "$entry" InstallLocation)" = "C:\\Program Files\\$QUENDRIL_TITLE"
check "its size" test "$(($(value_in "$entry" EstimatedSize)))" -gt 1000
check "its uninstaller" sh -c "test -f \"$folder/Uninstall $QUENDRIL_TITLE.exe\""
check "which starts with the user's own rights" manifest_has "$folder/Uninstall $QUENDRIL_TITLE.exe" 'level="asInvoker"'

echo "-- the installed program"
program=$folder/quendril.exe
# Marked, it stands for an earlier version, which an update must not leave
# in place (Windows runs a program file with data after its end).
printf 'an earlier quendril.exe' >>"$program"
windows_program=$target
start_program
first=$program_pid
main=$(wait_window "$caption" "$main_size") || fail "the installed program shows no main window"
echo "ok: its main window"
start_program
second=$program_pid
box=$(wait_window "$message_title" any) || fail "a second copy showed no message"
keys "$box" key Return
wait_exit "$second"
check "a second copy is refused and ends with status 0" test "$exit_status" = 0
keys "$main" type --delay 50 123456789
keys "$main" key Return
result=$(wait_window "$caption" "$display_size") || fail "no result window"
echo "ok: a reading"
keys "$result" key alt+b
main=$(wait_window "$caption" "$main_size") || fail "Back brought no main window"
echo "ok: Back to the main window"

echo "-- while it runs"
before=$(install_state "$folder" HKLM "$shortcut")
run_setup /S
check "a silent setup ends with a non-zero status" test "$status" != 0
check "and leaves the install as it was" test "$(install_state "$folder" HKLM "$shortcut")" = "$before"
check "the earlier program among it" grep -q 'an earlier quendril.exe' "$program"
run_uninstaller HKLM
check "a silent uninstall ends with a non-zero status" test "$status" != 0
check "and leaves the install as it was" test "$(install_state "$folder" HKLM "$shortcut")" = "$before"
check "the program still runs" kill -0 "$first"
end_program "$first" "$main"
echo "ok: the program ends with status 0"
stored=$(stored_date)
check "the program has stored its date" test -n "$stored"

echo "-- installed again over itself"
wine "$setup" /S </dev/null >/dev/null 2>&1 || fail "the second install failed"
entries=$(registry_query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' \
  | grep -c -i "${QUENDRIL_APP_ID}$" || true)
check "one list entry" test "$entries" = 1
check "the program is there" test -f "$folder/quendril.exe"
check "the earlier one is not" sh -c "! grep -q 'an earlier quendril.exe' '$folder/quendril.exe'"

echo "-- removed"
uninstall HKLM
check "no file of ours in Program Files" test -z "$(ours_below "$drive_c/Program Files")"
check "no Start menu entry" test -z "$(ours_below "$drive_c/ProgramData/Microsoft/Windows/Start Menu")"
check "no list entry" test -z "$(entry_value HKLM DisplayName)"
check "the setting stays" test "$(stored_date)" = "$stored"

echo "-- into a given folder"
wine "$setup" /S '/D=C:\Tools\Quendril' </dev/null >/dev/null 2>&1 || fail "the install into C:\Tools\Quendril failed"
check "the program is in the given folder" test -f "$drive_c/Tools/Quendril/quendril.exe"
check "the list entry names it" test "$(entry_value HKLM InstallLocation)" = 'C:\Tools\Quendril'
uninstall HKLM
check "removed: nothing of ours in C:\Tools" test -z "$(ls -A "$drive_c/Tools")"

echo "-- for the current user alone, over an install for all users"
wine "$setup" /S </dev/null >/dev/null 2>&1 || fail "the install for all users failed"
wine "$setup" /S /CurrentUser </dev/null >/dev/null 2>&1 || fail "the per-user install failed"
check "the install for all users has gone" test -z "$(ours_below "$drive_c/Program Files")"
user_folder=$(find "$drive_c/users" -maxdepth 5 -type d -path '*/Programs/*' -name "$QUENDRIL_TITLE" | head -n 1)
check "the program is in the user's own programs folder" test -f "$user_folder/quendril.exe"
check "listed for the user" test "$(entry_value HKCU DisplayName)" = "$QUENDRIL_TITLE"
check "not for all users" test -z "$(entry_value HKLM DisplayName)"
uninstall HKCU
check "removed: no file of ours in the user's folders" test -z "$(ours_below "$drive_c/users" | grep -v -i '/temp/')"
check "removed: no list entry" test -z "$(entry_value HKCU DisplayName)"
check "the setting stays" test "$(stored_date)" = "$stored"

echo "-- for all users, over an install for the current user"
wine "$setup" /S /CurrentUser </dev/null >/dev/null 2>&1 || fail "the per-user install failed"
wine "$setup" /S /AllUsers </dev/null >/dev/null 2>&1 || fail "the install for all users failed"
check "the install for the user has gone" test -z "$(ours_below "$drive_c/users" | grep -v -i '/temp/')"
check "and its list entry" test -z "$(entry_value HKCU DisplayName)"
check "listed for all users" test "$(entry_value HKLM DisplayName)" = "$QUENDRIL_TITLE"
uninstall HKLM
check "removed: nothing of ours left" test -z "$(ours_below "$drive_c" | grep -v -i '/temp/')"
echo "setup under Wine: all checks passed"
