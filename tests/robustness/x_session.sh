# shellcheck shell=bash disable=SC2154,SC2034  # $program belongs to the sourcing script, which reads what is set here
# Sourced by the robustness scripts that drive the real program, after they
# have set $program: they run on a private desktop of the harness on one of
# the "robustness" displays (tests/support/x_displays.txt), with throwaway
# profiles, the program started as an unprivileged user when we run as root
# (root ignores file modes), and its windows found by exact title and size.

# shellcheck source=../support/outside_checks.sh
. "$(dirname "${BASH_SOURCE[0]}")/../support/outside_checks.sh"

work=$(mktemp -d)
chmod 755 "$work"
pids=()
cleanup() {
  kill "${pids[@]}" 2>/dev/null || true
  wait 2>/dev/null || true
  chmod -R u+rwX "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

caption=${QUENDRIL_CAPTION:?is set by the build}
message_title=${QUENDRIL_TITLE:?is set by the build}
main_size=$(window_size main)
exit_size=$(window_size exit)

if [ "$(id -u)" = 0 ]; then
  user=nobody
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  # The desktop's session bus is root's: the program as another user has none.
  unset DBUS_SESSION_BUS_ADDRESS
else
  user=$(id -un)
  as_user=()
fi

# A fresh profile: home, configuration and runtime folders owned by the user
# the program runs as. Prints its folder.
new_profile() {
  local profile=$work/$1
  mkdir -p "$profile/home/config/quendril" "$profile/run"
  chmod 700 "$profile/run"
  chown -R "$user" "$profile/home" "$profile/run"
  echo "$profile"
}

# Starts the program in a profile, as the unprivileged user; sets $program_pid.
start_program() {
  local profile=$1
  env HOME="$profile/home" XDG_CONFIG_HOME="$profile/home/config" XDG_RUNTIME_DIR="$profile/run" \
    LANG=C.UTF-8 LC_ALL= "${as_user[@]}" "$program" &
  program_pid=$!
  pids+=("$program_pid")
}
