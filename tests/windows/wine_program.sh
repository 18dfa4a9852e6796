# shellcheck shell=bash disable=SC2154,SC2034  # $build, $here, $program, $windows_program and $dir belong to the sourcing script, which reads what is set here
# Sourced by the outside checks of the Windows program under Wine, once they
# have set $build (the build folder) and $here (their own folder): the Wine
# desktop (wine_session.sh), the build's product values, the program installed
# into the prefix and started by its Windows path, its windows found by their
# exact title and client size, keys typed into them and its exit status (as
# every outside check finds them: outside_checks.sh), and the date it keeps in
# Wine's registry.

# shellcheck source=wine_session.sh
. "$(dirname "${BASH_SOURCE[0]}")/wine_session.sh"
# shellcheck disable=SC1091
. "$build/product.env"
export QUENDRIL_WINDOW_SIZES=${QUENDRIL_WINDOW_SIZES:-$build/window_sizes.txt}
# shellcheck source=../support/outside_checks.sh
. "$(dirname "${BASH_SOURCE[0]}")/../support/outside_checks.sh"

caption=${QUENDRIL_CAPTION:?comes from product.env of the build}
message_title=${QUENDRIL_TITLE:?comes from product.env of the build}
# Client sizes under Wine: the menu bars of Qt's Windows style are a pixel
# taller than those of its Fusion style on Linux.
main_size=$(window_size main 1)
display_size=$(window_size result 1)
about_size=$(window_size about 1)
exit_size=$(window_size exit 1)
# The windows belong to Wine's process of the program, not to the wine
# command that started it.
windows_by_pid=false
# A Wine desktop of our own (wine_session.sh) in a fresh folder, $dir, for
# the rest of the script; at its end the processes in $pids are killed and
# the desktop and the folder go.
open_wine_desktop() {
  dir=$(mktemp -d)
  pids=()
  trap 'kill "${pids[@]}" 2>/dev/null || true; stop_wine_session "$dir/desktop"; rm -rf "$dir"' EXIT
  start_wine_session "$dir/desktop" || fail "no Wine desktop"
  echo "Wine desktop on $DISPLAY"
}

# Installs the program from the build into C:\Quendril of the prefix, laid
# out as the install lays it out, and sets $folder, $program and
# $windows_program to it.
install_program() {
  folder=$WINEPREFIX/drive_c/Quendril
  cmake --install "$build" --prefix "$folder" >/dev/null
  program=$folder/quendril.exe
  windows_program='C:\Quendril\quendril.exe'
}

# Starts the program by its Windows path, from its own folder; sets $program_pid.
start_program() {
  (cd "$(dirname "$program")" && exec wine "$windows_program") >/dev/null 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
}

# What reg query prints for a key (or one value of it), or nothing where the
# registry holds no such key or value. Fails, with Wine's own errors, when reg
# could not read the registry or did not start at all: an empty answer then
# would pass for a missing value.
registry_query() {
  local out status=0
  out=$(WINEDEBUG=err+all wine reg query "$@" 2>"$dir/reg.err" </dev/null) || status=$?
  if [ "$status" = 0 ]; then
    printf '%s\n' "$out" | tr -d '\r'
  elif ! printf '%s' "$out" | grep -q 'Unable to find the specified registry'; then
    fail "reg query $* ended with status $status: $(tr -d '\r' <"$dir/reg.err") $(printf '%s' "$out" | tr -d '\r')"
  fi
}

registry_key='HKCU\Software\quendril\quendril\Settings'
# The stored date as the registry holds it (scrambled), or nothing.
stored_date() {
  registry_query "$registry_key" /v Gxudwlrq | sed -n 's/^ *Gxudwlrq *REG_SZ *//p'
}
# Reads a window of the program as the screen shows it:
#   window_picture COMMAND ID WINDOW ARGUMENT...
# runs tests/support/window_picture.py COMMAND on the window ID, whose Designer
# file is src/windows/WINDOW.ui, once the window is drawn (up to 30 s); its
# answer is in $dir/picture.txt, and its status is returned.
window_picture() {
  local command=$1 id=$2 ui=$here/../../src/windows/$3.ui
  shift 3
  picture_status=3
  wait_for picture_drawn "$command" "$id" "$ui" "$@" || true
  return "$picture_status"
}
picture_drawn() {
  import -window "$2" -depth 8 "ppm:$dir/window.ppm" 2>/dev/null || return 1
  picture_status=0
  python3 "$here/../support/window_picture.py" "$1" "$dir/window.ppm" "${@:3}" >"$dir/picture.txt" || picture_status=$?
  [ "$picture_status" != 3 ]
}
