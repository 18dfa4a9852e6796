#!/bin/bash
# Every command of every window reached from the keyboard alone, on the real
# program under its own X server: the access keys of the buttons and menus,
# the Tab order of each window, and what Enter and Esc press.
# CTest runs it as e2e_keyboard_reach; by hand:
#   bash tests/e2e/keyboard_reach.sh build/bin/quendril
# It runs on a private desktop of the harness (tests/support/harness.py) on
# the first free display of the "packaging" row of tests/support/x_displays.txt
# (QUENDRIL_TEST_DISPLAYS, first-last, to choose others).
# CTest linux: e2e_keyboard_reach @program@
set -euo pipefail
program=$1
# shellcheck source=../support/outside_checks.sh
. "$(dirname "$0")/../support/outside_checks.sh"
in_private_desktop packaging -- bash "$0" "$@"
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null || true; }
trap cleanup EXIT

ok() { echo "ok: $*"; }

caption=${QUENDRIL_CAPTION:?is set by the build}
main_size=$(window_size main) result_size=$(window_size result) about_size=$(window_size about) exit_size=$(window_size exit)

# Every wait below gives up after 30 s, time enough at a fraction of the speed.
# Each address the browser stand-in was handed, one a line.
pages() { opened | grep 'page=' || true; }
count_pages() { pages | grep -c . || true; }
more_pages_than() { [ "$(count_pages)" -gt "$1" ]; }
# The keys open exactly one page, and it is this one.
opens() {
  local page=$1 id=$2; shift 2
  local before; before=$(count_pages)
  keys "$id" "$@"
  wait_for more_pages_than "$before" || true
  local after; after=$(count_pages)
  [ "$after" = $((before + 1)) ] && pages | tail -n 1 | grep -q "page=${page}\$" \
    || fail "$* should open $page (pages now: $(pages | tail -n 1))"
  ok "$* opens $page"
}
# The keys bring up the entry message box, which Enter then closes.
message() {
  local id=$1; shift
  keys "$id" "$@"
  local box; box=$(wait_window "$QUENDRIL_TITLE" any) || fail "$* should show the entry message"
  keys "$box" key Return
  gone "$QUENDRIL_TITLE" any || fail "Enter should close the message box"
  ok "$* runs Find Object on the empty entry"
}
start() {
  "$program" &
  app=$!
  pids+=("$app")
  main=$(wait_window "$caption" "$main_size") || fail "main window did not come up"
}
ends() {
  wait_exit "$app"
  [ "$exit_status" != running ] || fail "$* should end the program, but it still runs"
  [ "$exit_status" = 0 ] || fail "$* should end the program with status 0, got $exit_status"
  ok "$* ends the program"
}
exit_screen() { exitscreen=$(wait_window "$caption" "$exit_size") || fail "$* should bring up the exit screen"; ok "$* brings up the exit screen"; }
to_result() {
  keys "$main" "$@"
  result=$(wait_window "$caption" "$result_size") || fail "$* should show the reading"
  ok "$* shows the reading"
}
to_main() {
  keys "$result" "$@"
  main=$(wait_window "$caption" "$main_size") || fail "$* should bring back the main window"
  gone "$caption" "$result_size" || fail "$* should close the result window"
  ok "$* goes back to the main window"
}
about() {
  local owner=$1 close=$2
  keys "$owner" key --delay 120 alt+h a
  local box; box=$(wait_window "$caption" "$about_size") || fail "Alt+H A should open the about box"
  keys "$box" key "$close"
  gone "$caption" "$about_size" || fail "$close should close the about box"
  ok "Alt+H A opens the about box and $close closes it"
}

echo "-- main window"
start
message "$main" key Return
message "$main" key Escape
# Tab order: the entry box, Find Object, Exit.
message "$main" key Tab space
# Alt+F names both the File menu and the Find Object button, and Qt takes
# turns between the two on repeated presses; the File menu is reached
# without that guess from the Help menu, one to the left.
message "$main" key --delay 120 alt+h Left f
opens help-web-page "$main" key --delay 120 alt+h o
opens home-page "$main" key --delay 120 alt+h v
opens download-web-page "$main" key --delay 120 alt+h u
opens donate "$main" key alt+d
# The page asked for after Alt+O shows that the program has taken the key.
count=$(opened | grep -c . || true)
keys "$main" key alt+o
opens donate "$main" key alt+d
[ "$(opened | grep -c . || true)" = $((count + 1)) ] || fail "Make Money Online should stay switched off"
ok "Alt+O leaves the switched-off Make Money Online alone"
about "$main" Return
about "$main" Escape
about "$main" alt+o
keys "$main" type --delay 20 123456789

echo "-- result window"
to_result key Return
opens help-web-page "$result" key --delay 120 alt+h o
opens home-page "$result" key --delay 120 alt+h v
opens download-web-page "$result" key --delay 120 alt+h c
opens donate "$result" key alt+d
about "$result" Escape
to_main key alt+b
to_result key Escape
to_main key --delay 120 alt+f b
to_result key --delay 120 alt+h Left f
# Tab order: Exit has the focus, Back comes next.
to_main key Tab space
to_result key Return
keys "$result" key Tab Tab Return
exit_screen "Tab Tab Enter in the result window"

echo "-- exit screen"
# Tab order: Exit, the check box, your name, submit, your e-mail, friend's
# e-mail, friend's name, the message box, and round to Exit.
opens home-page "$exitscreen" key Tab space
opens home-page "$exitscreen" key space
keys "$exitscreen" key Tab type 'Ann'
keys "$exitscreen" key Tab Tab type 'ann@a.example'
keys "$exitscreen" key Tab type 'bob@b.example'
keys "$exitscreen" key Tab type 'Bob'
keys "$exitscreen" key Tab type 'Hi '
keys "$exitscreen" key alt+n
referred() { opened | grep 'zorq-refer-a-friend' >/dev/null; }
wait_for referred || true
referral=$(opened | tr -d '\r' | grep -o 'page=zorq-refer-a-friend.*taf5=[^&]*' | tail -n 1 || true)
[ "$referral" = 'page=zorq-refer-a-friend&taf1=Ann&taf2=ann@a.example&taf3=Hi%20Your%20Message%0D%0A&taf4=Bob&taf5=bob@b.example' ] \
  || fail "Alt+N should send the boxes filled in Tab order, got: $referral"
ok "Alt+N submits the boxes filled in Tab order"
keys "$exitscreen" key Tab space
ends "Tab from the message box to Exit, then Space,"

echo "-- the other ways out"
start
keys "$main" key alt+e
exit_screen "Alt+E in the main window"
keys "$exitscreen" key alt+x
ends "Alt+X on the exit screen"

start
keys "$main" key --delay 120 alt+h Left x
exit_screen "Alt+H Left X (File, Exit) in the main window"
keys "$exitscreen" key space
ends "Space on the exit screen, whose Exit button has the focus,"

start
keys "$main" key Tab Tab space
exit_screen "Tab Tab Space in the main window"
keys "$exitscreen" key alt+x
ends "Alt+X on the exit screen"

start
keys "$main" type --delay 20 123456789
to_result key Return
keys "$result" key alt+e
exit_screen "Alt+E in the result window"
keys "$exitscreen" key alt+x
ends "Alt+X on the exit screen"

start
keys "$main" type --delay 20 123456789
to_result key Return
keys "$result" key --delay 120 alt+f x
exit_screen "Alt+F X in the result window"
keys "$exitscreen" key alt+x
ends "Alt+X on the exit screen"
echo "keyboard: all checks passed"
