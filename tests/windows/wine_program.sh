# shellcheck shell=bash disable=SC2154  # $program, $windows_program and $dir belong to the sourcing script
# Sourced by the outside checks of the Windows program under Wine (after
# wine_session.sh): the program started by its Windows path, its windows found
# by their exact title and client size, keys typed into them, its exit status,
# and the date it keeps in Wine's registry.

fail() { echo "FAIL: $*" >&2; exit 1; }
check() { local what=$1; shift; if "$@"; then echo "ok: $what"; else fail "$what"; fi; }

caption=${QUENDRIL_CAPTION:?comes from product.env of the build}
message_title=${QUENDRIL_TITLE:?comes from product.env of the build}
# Client sizes under Wine: the menu bars of Qt's Windows style are a pixel
# taller than those of its Fusion style on Linux.
main_size=488x404
display_size=456x339
exit_size=741x315
# Starts the program by its Windows path, from its own folder; sets $program_pid.
start_program() {
  (cd "$(dirname "$program")" && exec wine "$windows_program") >/dev/null 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
}

# Visible windows with exactly this title, one id a line.
windows_titled() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; }
count_windows() { windows_titled "$1" | grep -c . || true; }

# Waits up to 30 s for a visible window with this title and client size
# ("any" for any size), and prints its id.
wait_window() {
  local title=$1 size=$2 id geometry
  for _ in $(seq 300); do
    for id in $(windows_titled "$title"); do
      geometry=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null) || continue
      local WIDTH= HEIGHT=
      eval "$geometry"
      if [ "$size" = any ] || [ "${WIDTH}x${HEIGHT}" = "$size" ]; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.1
  done
  return 1
}

# Keys to a window: without a window manager it has to be given the focus.
keys() {
  local id=$1
  shift
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id" 2>/dev/null || true
  sleep 0.2
  xdotool "$@"
}

# Waits up to 30 s for a child process to end; sets $exit_status.
wait_exit() {
  local pid=$1
  exit_status=running
  for _ in $(seq 300); do
    if ! kill -0 "$pid" 2>/dev/null; then
      exit_status=0
      { wait "$pid"; } 2>/dev/null || exit_status=$?
      return 0
    fi
    sleep 0.1
  done
}

registry_key='HKCU\Software\quendril\quendril\Settings'
# The stored date as the registry holds it (scrambled), or nothing.
stored_date() {
  wine reg query "$registry_key" /v Gxudwlrq 2>/dev/null | tr -d '\r' | sed -n 's/^ *Gxudwlrq *REG_SZ *//p'
}
# The program's scrambling: every character code moved up by 3.
scramble() { printf '%s' "$1" | tr '\0-\374' '\3-\377'; }
