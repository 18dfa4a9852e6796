# shellcheck shell=bash disable=SC2154  # $work and pids belong to the sourcing script
# Sourced by the test scripts, scripts/screenshots.sh and bench/run.sh:
# start_private_x [NAME] starts an X server of our own on the first free
# display of QUENDRIL_TEST_DISPLAYS, by default of the row NAME (packaging when
# not given) of x_displays.txt beside this file, exports DISPLAY and adds the
# server to the caller's pids. QUENDRIL_TEST_SCREEN sets its screen (default
# 1280x1024x24). A display is ours only once our server has written its
# number, never someone else's server on it.
# -noreset: by default the server resets when its last client leaves, and a
# program started in that moment cannot connect.
quendril_x_displays_table=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/x_displays.txt

start_private_x() {
  local number ready=$work/x-ready xvfb numbers
  numbers=${QUENDRIL_TEST_DISPLAYS:-$(x_displays "${1:-packaging}")} || return 1
  for number in $numbers; do
    [ -e "/tmp/.X${number}-lock" ] && continue
    : >"$ready"
    Xvfb ":$number" -screen 0 "${QUENDRIL_TEST_SCREEN:-1280x1024x24}" -nolisten tcp -noreset -displayfd 3 3>"$ready" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 300); do
      if [ -s "$ready" ]; then
        pids+=("$xvfb")
        export DISPLAY=":$number"
        return 0
      fi
      kill -0 "$xvfb" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb" 2>/dev/null || true
  done
  echo "FAIL: no X server could be started on $numbers" >&2
  return 1
}

# x_displays NAME prints the display numbers of the row NAME of x_displays.txt.
x_displays() {
  awk -v name="$1" '$1 == name && $3 ~ /^[0-9]+$/ {
      for (n = $2; n <= $3; n++) printf "%s%d", (n > $2 ? " " : ""), n; found = 1 }
    END { if (!found) { print "FAIL: no display range \"" name "\" in " FILENAME > "/dev/stderr"; exit 1 } }' \
    "$quendril_x_displays_table"
}
