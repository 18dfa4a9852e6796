#!/bin/bash
# The real program's whole life under its own X server, driven with real keys:
# a second copy refused, a reading, Back, another reading, the exit screen on
# top, a referral whose address reaches the browser exactly, the end with
# status 0, and the update reminder a faked fortnight later.
# Usage: whole_life.sh PROGRAM
set -euo pipefail
program=$1
work=$(mktemp -d)
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
check() { local what=$1; shift; if "$@"; then echo "ok: $what"; else fail "$what"; fi; }

display=":$((200 + $$ % 500))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_RUNTIME_DIR=$work/run LANG=C.UTF-8
mkdir -p "$HOME" "$work/bin" && mkdir -m 700 "$XDG_RUNTIME_DIR"
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

# The browser stand-in records every address it is handed.
opened=$work/opened.txt
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' "$opened" > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH=$work/bin:$PATH
touch "$opened"

# Waits for exactly one visible window with this exact title and this size.
window() {
  local title=$1 size=$2 id
  for _ in $(seq 100); do
    for id in $(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$id")"
      if [ "${WIDTH}x${HEIGHT}" = "$size" ] || [ "$size" = any ]; then echo "$id"; return 0; fi
    done
    sleep 0.1
  done
  return 1
}
# Without a window manager focus is not handed over: give it to the window first.
keys() { local id=$1; shift; xdotool windowraise "$id" windowfocus --sync "$id"; sleep 0.2; xdotool "$@"; sleep 0.3; }
settings=$XDG_CONFIG_HOME/quendril/quendril.conf

main_size=488x403 result_size=456x338 exit_size=741x315
caption='Vasq Quendril v1.15'

"$program" & first=$!; pids+=($first)
main=$(window "$caption" $main_size) || fail "main window did not come up"
check "first run stores the date scrambled" grep -q '^Gxudwlrq=' "$settings"
check "the plain key is not in the store" bash -c "! grep -q Duration '$settings'"

"$program" & second=$!; pids+=($second)
box=$(window 'Vasq Quendril' any) || fail "second copy showed no message"
check "second copy shows no main window" test "$(xdotool search --onlyvisible --name "^$caption\$" | wc -l)" = 1
keys "$box" key Return
status=0; wait "$second" || status=$?
check "second copy ends with status 0" test "$status" = 0
check "first copy still runs" kill -0 "$first"

keys "$main" type --delay 30 123456789
keys "$main" key Return
result=$(window "$caption" $result_size) || fail "result window did not come up"
check "main window hidden while the result shows" test "$(xdotool search --onlyvisible --name "^$caption\$" | wc -l)" = 1
keys "$result" key alt+b
main=$(window "$caption" $main_size) || fail "Back did not bring the main window"
keys "$main" key BackSpace BackSpace type --delay 30 98
keys "$main" key Return
result=$(window "$caption" $result_size) || fail "second reading did not come up"
keys "$result" key Escape
exitscreen=$(window "$caption" $exit_size) || fail "exit screen did not come up"
check "exit screen stays on top" bash -c "xprop -id $exitscreen _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE"

# Tab order from Exit: Check1, your name, submit, your e-mail, friend's e-mail, friend's name.
keys "$exitscreen" key Tab Tab type --delay 20 ' Tom & Jerry'
keys "$exitscreen" key Tab Tab type --delay 20 'tom@cartoon.example'
keys "$exitscreen" key Tab type --delay 20 'jerry=1@mouse.example'
keys "$exitscreen" key Tab type --delay 20 'Jürgen #1'
keys "$exitscreen" key alt+n
for _ in $(seq 50); do grep -q 'zorq-refer-a-friend' "$opened" && break; sleep 0.1; done
expected_tail='ssd.php?page=zorq-refer-a-friend&taf1=Tom%20%26%20Jerry&taf2=tom@cartoon.example&taf3=Your%20Message%0D%0A&taf4=J%C3%BCrgen%20%231&taf5=jerry%3D1@mouse.example&taf6='
line=$(grep 'zorq-refer-a-friend' "$opened" || true)
check "referral address arrives exactly" test "$line" = "${line%%ssd.php*}${expected_tail}${line%%ssd.php*}"

keys "$exitscreen" key alt+x
status=0; wait "$first" || status=$?
check "Exit ends the program with status 0" test "$status" = 0

# A fortnight and a day later the reminder comes once; Yes opens the download page.
faketime_lib=$(find /usr/lib -name 'libfaketime.so.1' | head -n 1)
[ -n "$faketime_lib" ] || fail "libfaketime is not installed"
before=$(grep -c . "$opened")
LD_PRELOAD=$faketime_lib FAKETIME=+15d "$program" & later=$!; pids+=($later)
question=$(window 'Vasq Quendril' any) || fail "the reminder did not come"
keys "$question" key Return
main=$(window "$caption" $main_size) || fail "main window after the reminder"
for _ in $(seq 50); do [ "$(grep -c . "$opened")" -gt "$before" ] && break; sleep 0.1; done
check "Yes opens the download page" bash -c "tail -n 1 '$opened' | grep -q 'ssd.php?page=download-web-page\$'"
kill "$later"; wait "$later" 2>/dev/null || true

LD_PRELOAD=$faketime_lib FAKETIME=+16d "$program" & again=$!; pids+=($again)
main=$(window "$caption" $main_size) || fail "main window the next day"
check "the reminder does not come again the next day" test "$(xdotool search --onlyvisible --name '^Vasq Quendril$' | wc -l)" = 0
kill "$again"; wait "$again" 2>/dev/null || true
echo "whole life: all checks passed"
