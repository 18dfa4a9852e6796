# Sourced by the robustness scripts that drive the real program: a private X
# server on one of the "robustness" displays (tests/support/x_displays.txt),
# throwaway profiles, the program started
# as an unprivileged user when we run as root (root ignores file modes), and
# its windows found by exact title and size.
# The sourcing script sets $program first.

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
main_size=488x403
exit_size=741x315

if [ "$(id -u)" = 0 ]; then
  user=nobody
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
else
  user=$(id -un)
  as_user=()
fi

. "$(dirname "${BASH_SOURCE[0]}")/../support/private_x.sh"
. "$(dirname "${BASH_SOURCE[0]}")/../support/outside_checks.sh"

# An X server of our own on the first free display of the robustness range.
start_x() {
  start_private_x robustness || fail "no free X display for the robustness tests"
}

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
    LANG=C.UTF-8 LC_ALL= PATH="$work/bin:$PATH" "${as_user[@]}" "$program" &
  program_pid=$!
  pids+=("$program_pid")
}

# Without a window manager focus is not handed over: give it to the window first.
keys() {
  local id=$1
  shift
  xdotool windowraise "$id" windowfocus --sync "$id" 2>/dev/null || true
  sleep 0.1
  xdotool "$@"
}

# A browser stand-in, so that nothing leaves the machine.
mkdir -p "$work/bin"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/xdg-open"
chmod 755 "$work/bin/xdg-open"
