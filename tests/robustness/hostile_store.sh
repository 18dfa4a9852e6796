#!/bin/bash
# The real program against a settings file in every bad state a user's disk can
# hold. In each case it starts and shows its main window with no message box,
# writes nothing where it cannot, and never loses or rewrites a readable value.
# As root the program runs as "nobody", so that file modes apply to it.
# Every case has a profile of its own, so all run side by side on one X server.
# Usage: hostile_store.sh PROGRAM
# CTest linux: hostile_store @program@
set -euo pipefail
program=$1
# shellcheck source=../support/outside_checks.sh
. "$(dirname "$0")/../support/outside_checks.sh"
in_private_desktop robustness -- bash "$0" "$@"
# shellcheck source=x_session.sh
. "$(dirname "$0")/x_session.sh"

# The store keeps the date in the C locale's short form, scrambled.
today=$(LC_ALL=C date +'%-d %b %Y')
good_line="Gxudwlrq=\"$(scramble "$today")\""
plain_line='Duration=8 Dec 2026'

# What lies in a configuration folder: names, modes, sizes and contents.
store_state() {
  local dir=$work/$1/home/config/quendril
  [ -d "$dir" ] || return 0
  (cd "$dir" && find . -printf '%p %m %s\n' | sort && find . -type f -readable -exec sha256sum {} + | sort)
}

cases=()
# new_case NAME [FILE CONTENT...]: a profile whose settings file holds the
# content (no file when none is given), owned by the program's user.
new_case() {
  local name=$1
  shift
  new_profile "$name" >/dev/null
  cases+=("$name")
  if [ $# -gt 0 ]; then
    printf '%s' "$1" >"$(conf "$name")"
    chown "$user" "$(conf "$name")"
  fi
}
conf() { echo "$work/$1/home/config/quendril/quendril.conf"; }

new_case missing
rmdir "$work/missing/home/config/quendril"
new_case empty ''
# Random bytes behind a section header that never closes: QSettings cannot read the file.
new_case garbage '['$'\001\376\n'
perl -e 'srand(7); print map { chr(int(rand(256))) } 1..65536' >>"$(conf garbage)"
# Ten megabytes of other entries before a good value: it is read, and kept.
new_case large '[Filler]'$'\n'
perl -e 'printf("key%06d=%s\n", $_, "x" x 54) for 1..160000' >>"$(conf large)"
printf '[Settings]\n%s\n' "$good_line" >>"$(conf large)"
check "large: the file is over 10 MB" test "$(stat -c %s "$(conf large)")" -gt 10000000
new_case not_a_date '[Settings]'$'\n''Gxudwlrq=Qrwdgdwh'$'\n'
new_case impossible_date '[Settings]'$'\n''Gxudwlrq="64#Ihe#5359"'$'\n' # 31 Feb 2026
new_case plain_key '[Settings]'$'\n'"$plain_line"$'\n'
new_case good '[Settings]'$'\n'"$good_line"$'\n'
new_case unreadable '[Settings]'$'\n'"$good_line"$'\n'
chmod 000 "$(conf unreadable)"
new_case readonly_file '[Settings]'$'\n'"$plain_line"$'\n'
chmod 444 "$(conf readonly_file)"
new_case readonly_dir_good '[Settings]'$'\n'"$good_line"$'\n'
new_case readonly_dir_empty
new_case readonly_dir_plain_key '[Settings]'$'\n'"$plain_line"$'\n'
for name in readonly_dir_good readonly_dir_empty readonly_dir_plain_key; do
  chmod 555 "$work/$name/home/config/quendril"
done

for name in "${cases[@]}"; do
  store_state "$name" >"$work/$name.before"
done

declare -A pid main
for name in "${cases[@]}"; do
  start_program "$work/$name"
  pid[$name]=$program_pid
done
for name in "${cases[@]}"; do
  main[$name]=$(wait_window "$caption" "$main_size" "${pid[$name]}") || fail "$name: no main window"
done
# Any message at the start comes before the main window, and holds it back
# until it is answered: with the main window up, none can follow.
for name in "${cases[@]}"; do
  check "$name: starts with one main window" test "$(count_windows "$caption" "${pid[$name]}")" = 1
  check "$name: and no message box" test "$(count_windows "$message_title" "${pid[$name]}")" = 0
done
for name in "${cases[@]}"; do
  end_program "${pid[$name]}" "${main[$name]}"
done

# Where the program could write and had nothing readable of its own, it stores today.
for name in missing empty plain_key; do
  check "$name: today is stored" test "$(stored_date_in "$(conf "$name")")" = "$today"
done
check "plain_key: the entry that is not ours is kept" grep -qxF "$plain_line" "$(conf plain_key)"
for name in garbage large not_a_date impossible_date good unreadable readonly_file \
  readonly_dir_good readonly_dir_empty readonly_dir_plain_key; do
  store_state "$name" >"$work/$name.after"
  diff "$work/$name.before" "$work/$name.after" >&2 || true
  check "$name: the store is left as it was" cmp -s "$work/$name.before" "$work/$name.after"
done
echo "hostile store: all checks passed"
