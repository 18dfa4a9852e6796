#!/bin/bash
# The other-copy guard of the real program: a copy killed with SIGKILL leaves
# nothing that blocks the next start; two copies started in the same instant
# give exactly one main window and one "Application is already running"
# message; a copy started while the first shows its exit screen is refused.
# Usage: crash_and_race.sh PROGRAM [TRIALS]   (TRIALS of the race, default 10)
# CTest linux: crash_and_race @program@ @race_trials@
set -euo pipefail
program=$1
trials=${2:-10}
# shellcheck source=../support/outside_checks.sh
. "$(dirname "$0")/../support/outside_checks.sh"
in_private_desktop robustness -- bash "$0" "$@"
# shellcheck source=x_session.sh
. "$(dirname "$0")/x_session.sh"

profile=$(new_profile guard)
settings=$profile/home/config/quendril/quendril.conf

# Answers the message box of a refused copy and checks that copy ends with status 0.
dismiss_refusal() {
  local box=$1 pid=$2 what=$3
  keys "$box" key Return
  wait_exit "$pid"
  [ "$exit_status" = 0 ] || fail "$what: the refused copy ended with status $exit_status"
}

echo "-- killed copy"
start_program "$profile"
first=$program_pid
wait_window "$caption" "$main_size" >/dev/null || fail "killed copy: no main window"
cp "$settings" "$work/settings.before"
kill -KILL "$first"
wait_exit "$first"
check "killed copy: its lock file is left behind" test -e "$profile/run/quendril.lock"
start_program "$profile"
next=$program_pid
main=$(wait_window "$caption" "$main_size") || fail "killed copy: the next start shows no main window"
# A refused copy shows its message instead of the main window, never after it.
check "killed copy: the next start shows no message" test "$(count_windows "$message_title")" = 0
check "killed copy: the stored date is intact" cmp -s "$work/settings.before" "$settings"
end_program "$next" "$main"

echo "-- exit screen"
start_program "$profile"
first=$program_pid
main=$(wait_window "$caption" "$main_size") || fail "exit screen: no main window"
keys "$main" key alt+e
screen=$(wait_window "$caption" "$exit_size") || fail "exit screen: it did not come up"
start_program "$profile"
second=$program_pid
box=$(wait_window "$message_title" any) || fail "exit screen: the second copy showed no message"
check "exit screen: the second copy shows no main window" test "$(count_windows "$caption")" = 1
dismiss_refusal "$box" "$second" "exit screen"
check "exit screen: the first copy still runs" kill -0 "$first"
check "exit screen: and still shows its exit screen" test "$(windows_titled "$caption")" = "$screen"
keys "$screen" key alt+x
wait_exit "$first"
check "exit screen: the first copy ends with status 0" test "$exit_status" = 0

# Both copies wait at a gate that opens for both at once: a pipe that we hold
# open, so that each copy's reading end opens at once and its read waits for
# a line. Once both have it open, one line each lets both through.
echo "-- $trials races"
gate=$work/gate
# Whether the process reads from the gate.
at_gate() { [ "$(readlink "/proc/$1/fd/0" 2>/dev/null)" = "$gate" ]; }
for trial in $(seq "$trials"); do
  rm -f "$gate" && mkfifo -m 666 "$gate"
  exec 3<>"$gate"
  racers=()
  for _ in 1 2; do
    env HOME="$profile/home" XDG_CONFIG_HOME="$profile/home/config" XDG_RUNTIME_DIR="$profile/run" \
      LANG=C.UTF-8 LC_ALL= "${as_user[@]}" \
      sh -c 'read -r _ <"$1"; exec "$2"' gate "$gate" "$program" 3>&- &
    racers+=($!)
    pids+=($!)
  done
  for pid in "${racers[@]}"; do
    wait_for at_gate "$pid" || fail "race $trial: a copy did not reach the gate"
  done
  printf '\n\n' >&3
  exec 3>&-
  main=$(wait_window "$caption" "$main_size") || fail "race $trial: no main window"
  box=$(wait_window "$message_title" any) || fail "race $trial: no message"
  # Each copy shows one window, and the refused one its message first and
  # only: with both windows up, no other can come.
  mains=$(count_windows "$caption")
  boxes=$(count_windows "$message_title")
  [ "$mains" = 1 ] && [ "$boxes" = 1 ] || fail "race $trial: $mains main windows and $boxes messages"
  box_pid=$(xdotool getwindowpid "$box")
  main_pid=$(xdotool getwindowpid "$main")
  [ "$box_pid" != "$main_pid" ] || fail "race $trial: one copy shows both windows"
  for pid in "${racers[@]}"; do
    case $pid in "$box_pid" | "$main_pid") ;; *) fail "race $trial: a window of an unknown process" ;; esac
  done
  dismiss_refusal "$box" "$box_pid" "race $trial"
  end_program "$main_pid" "$main"
done
echo "ok: $trials races, each with exactly one main window and one message"
echo "crash and race: all checks passed"
