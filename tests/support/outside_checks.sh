# shellcheck shell=bash disable=SC2154  # $caption and $exit_size belong to the sourcing script
# Sourced by the scripts that check the real program from outside on an X
# server of their own (the robustness runs, keyboard reach, the Windows program
# under Wine): their verdicts, waits for a state, the program's windows found by
# exact title and size, and its exit status. The windows all carry the same
# caption, so they are told apart by their size (window_size.sh).
# The sourcing script sets $caption and $exit_size and defines keys ID ARGS...
# (xdotool ARGS, with the window ID given the focus first); where a window's
# X process is not the one it started (Wine), it sets windows_by_pid=false.

. "$(dirname "${BASH_SOURCE[0]}")/window_size.sh"

fail() { echo "FAIL: $*" >&2; exit 1; }
check() { local what=$1; shift; if "$@"; then echo "ok: $what"; else fail "$what"; fi; }

# Waits up to 30 s, looking every tenth of a second, until the command succeeds.
wait_for() {
  for _ in $(seq 300); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# Visible windows with exactly this title, of one process if a pid is given,
# one id a line.
windows_titled() {
  local title=$1 pid=${2:-} id
  for id in $(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null || true); do
    if [ -z "$pid" ] || [ "$(xdotool getwindowpid "$id" 2>/dev/null)" = "$pid" ]; then
      echo "$id"
    fi
  done
}
count_windows() { windows_titled "$@" | grep -c . || true; }

# The id of a visible window with this exact title and designed size ("any"
# for any size), of one process if a pid is given; fails when there is none.
designed_window() {
  local title=$1 size=$2 pid=${3:-} id geometry
  for id in $(windows_titled "$title" "$pid"); do
    geometry=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null) || continue
    local WIDTH='' HEIGHT=''
    eval "$geometry"
    if [ "$size" = any ] || has_designed_size "$WIDTH" "$HEIGHT" "$size"; then
      echo "$id"
      return 0
    fi
  done
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
