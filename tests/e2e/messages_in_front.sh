#!/bin/bash
# Every message lies in front of the window that asked for it, as the window
# manager stacks them: the real program under its own X server with Openbox,
# which keeps the exit screen above other windows. Checks each message of
# the entry rules over the main window, and each message of the exit screen
# and of its refer-a-friend checks over the exit screen.
# CTest runs it as e2e_messages_in_front; by hand:
#   bash tests/e2e/messages_in_front.sh build/bin/quendril
# It runs on a private desktop of the harness (tests/support/harness.py), with
# Openbox, on the first free display of the "packaging" row of
# tests/support/x_displays.txt (QUENDRIL_TEST_DISPLAYS, first-last, to choose others).
# CTest linux: e2e_messages_in_front @program@
set -euo pipefail
program=$1
# shellcheck source=../support/outside_checks.sh
. "$(dirname "$0")/../support/outside_checks.sh"
in_private_desktop packaging --window-manager -- bash "$0" "$@"
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null || true; }
trap cleanup EXIT

caption=${QUENDRIL_CAPTION:?is set by the build}
title=${QUENDRIL_TITLE:?is set by the build}
main_size=$(window_size main) exit_size=$(window_size exit)

# The keys bring up a message (named here by what it says) that lies in
# front of the window; Enter closes it.
message_in_front() {
  local text=$1 owner=$2 box; shift 2
  keys "$owner" "$@"
  box=$(wait_window "$title" any) || fail "$* should show \"$text\""
  wait_for stacked_above "$box" "$owner" || fail "\"$text\" lies behind its window"
  echo "ok: \"$text\" lies in front of its window"
  keys "$box" key Return
  gone "$title" any || fail "Enter should close \"$text\""
}

"$program" &
app=$!
pids+=("$app")
# What X shows, for a failure message: every visible window's title and size.
shown_windows() {
  local id
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    printf '%s "%s" %s; ' "$id" "$(xdotool getwindowname "$id" 2>/dev/null)" \
      "$(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/.*Geometry: //p')"
  done
}
main=$(wait_window "$caption" "$main_size") || fail "the main window did not come up (shown: $(shown_windows))"

echo "-- the entry rules, over the main window"
message_in_front "Please Enter Number !" "$main" key Return
for entry in 12:"Please Enter A 9 Digit Numbers!" 111111111:"You Can't Enter Same Digit Numbers!" \
  100020003:"You Can't Enter More Than Three Zeros!"; do
  message_in_front "${entry#*:}" "$main" type "${entry%%:*}"$'\n'
  keys "$main" key ctrl+a BackSpace
done
message_in_front "Please Enter Only Numbers" "$main" type x

echo "-- the exit screen's own"
keys "$main" key alt+e
screen=$(wait_window "$caption" "$exit_size") || fail "the exit screen did not come up"
message_in_front "Please Enter Proper Email Address" "$screen" key alt+n
# Tab order: Exit, the check box, your name, submit, your e-mail, friend's e-mail, friend's name.
message_in_front "Email Address Cannot Contain Space" "$screen" key Tab Tab Tab Tab type 'a b'
keys "$screen" key ctrl+a type 'ann@a.example'
keys "$screen" key Tab type 'bob@b.example'
message_in_front "Please Enter Your Name" "$screen" key alt+n
# From the friend's e-mail round to your name: friend's name, the message
# box, Exit, the check box, your name.
keys "$screen" key Tab Tab Tab Tab Tab type 'Ann'
message_in_front "Please Enter Your Friend's Name" "$screen" key alt+n
keys "$screen" key alt+x
wait_exit "$app"
[ "$exit_status" = 0 ] || fail "the program should end with status 0, got $exit_status"
echo "messages in front: all checks passed"
