# shellcheck shell=bash disable=SC2154  # $caption and $exit_size belong to the sourcing script
# Sourced by the shell checks that drive the real program from outside (the
# robustness runs, the package's program,
# the Windows program under Wine): the harness (harness.py beside this file)
# that gives them a private desktop, their verdicts and waits (checks.sh), the
# program's windows found by exact title and designed size, keys sent to them,
# and its exit status. The windows all carry the same caption, so they are told
# apart by their size, from the table the build writes from the Designer files.
# For end_program the sourcing script sets $caption and $exit_size; where a
# window's X process is not the one it started (Wine), windows_by_pid=false.

quendril_support=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=checks.sh
. "$quendril_support/checks.sh"
harness() { python3 "$quendril_support/harness.py" "$@"; }

# in_private_desktop ROW [--window-manager] [--screen WxHxD] -- bash "$0" "$@"
# runs the sourcing script again on a desktop of the harness (an X server on
# the row ROW of x_displays.txt, Openbox where asked, D-Bus, a throwaway home
# and the browser stand-in first on the PATH) unless it runs on one already.
in_private_desktop() {
  [ -n "${QUENDRIL_DESKTOP:-}" ] && return 0
  local row=$1
  shift
  exec python3 "$quendril_support/harness.py" run --displays "$row" "$@"
}

# Every address handed to the browser stand-in so far, one call a line.
opened() { harness opened; }
# The settings store's scrambling, and the date a settings file holds (unscrambled).
scramble() { harness scramble "$1"; }
stored_date_in() { harness stored-date "$1"; }

# window_size NAME [EXTRA]: the designed size of the window NAME (main,
# result, about, exit), WIDTHxHEIGHT, with EXTRA pixels on the height of a
# window with a menu bar.
window_size() { harness window-size "$1" --menu-bar-extra "${2:-0}"; }

# The windows are drawn for the default site address, QUENDRIL_DEFAULT_SITE_ROOT;
# built with a longer one, QUENDRIL_SITE_ROOT, a window that shows the address
# may be taller than designed, never wider, and no two windows have the same width.
# has_designed_size WIDTH HEIGHT DESIGNED (WIDTHxHEIGHT): exactly, or with a
# longer address its width and at least its height.
has_designed_size() {
  local width=$1 height=$2 designed=$3
  [ "$width" = "${designed%x*}" ] || return 1
  if [ "${QUENDRIL_SITE_ROOT:-}" = "${QUENDRIL_DEFAULT_SITE_ROOT:-}" ]; then
    [ "$height" = "${designed#*x}" ]
  else
    [ "$height" -ge "${designed#*x}" ]
  fi
}

# Visible windows with exactly this title, of one process if a pid is given:
# "ID X Y WIDTH HEIGHT" a line (harness.py windows); windows_titled: their ids.
windows_placed() { harness windows --title "$1" ${2:+--pid "$2"}; }
windows_titled() { windows_placed "$@" | cut -d ' ' -f 1; }
count_windows() { windows_placed "$@" | grep -c . || true; }

# The id of a visible window with this exact title and designed size ("any"
# for any size), of one process if a pid is given; fails when there is none.
designed_window() {
  local title=$1 size=$2 pid=${3:-} id width height
  while read -r id _ _ width height; do
    if [ "$size" = any ] || has_designed_size "$width" "$height" "$size"; then
      echo "$id"
      return 0
    fi
  done < <(windows_placed "$title" "$pid")
  return 1
}
# Waits up to 30 s for such a window and prints its id.
wait_window() { wait_for designed_window "$@"; }
# Waits up to 30 s until no visible window with this exact title has this
# designed size ("any" for any size).
not_shown() { ! designed_window "$@" >/dev/null; }
gone() { wait_for not_shown "$@"; }

# Whether exactly COUNT visible windows carry this exact title, of one process
# if a pid is given.
count_is() { [ "$(count_windows "$1" "${3:-}")" = "$2" ]; }

# keys ID ARGS...: xdotool ARGS, with the window ID given the keyboard first
# (harness.py give-keyboard).
keys() {
  local id=$1
  shift
  harness give-keyboard "$id"
  xdotool "$@"
}

# Whether window A is stacked above window B, by the window manager's own
# record (bottom to top).
stacked_above() {
  local a b
  a=$(printf '0x%x' "$1") b=$(printf '0x%x' "$2")
  xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | tr ' ' '\n' | grep -x -e "$a" -e "$b" | tail -n 1 | grep -qx "$a"
}

# Waits up to 30 s for a child process to end; sets $exit_status to its
# status, or to "running". (Not in a subshell: only the parent can wait.)
# shellcheck disable=SC2034  # exit_status is read by the sourcing script
wait_exit() {
  local pid=$1
  exit_status=running
  wait_for ended "$pid" || return 0
  exit_status=0
  { wait "$pid"; } 2>/dev/null || exit_status=$?
}
ended() { ! kill -0 "$1" 2>/dev/null; }

# Ends the program the user's way: Exit in the main window, then Exit on the
# exit screen. Fails unless it ends with status 0.
end_program() {
  local pid=$1 main=$2 owner=$1 screen
  [ "${windows_by_pid:-true}" = true ] || owner=""
  keys "$main" key alt+e
  screen=$(wait_window "$caption" "$exit_size" "$owner") || fail "the exit screen did not come up"
  keys "$screen" key alt+x
  wait_exit "$pid"
  [ "$exit_status" = 0 ] || fail "the program ended with status $exit_status"
}
