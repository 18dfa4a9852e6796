# shellcheck shell=bash disable=SC2154  # $work and pids belong to the sourcing script
# Sourced by the test scripts, scripts/screenshots.sh and bench/run.sh:
# start_private_x starts an X server of our own on the first free display of
# QUENDRIL_TEST_DISPLAYS (default 61 to 64), exports DISPLAY and adds the
# server to the caller's pids. QUENDRIL_TEST_SCREEN sets its screen (default
# 1280x1024x24). A display is ours only once our server has written its
# number, never someone else's server on it.
# -noreset: by default the server resets when its last client leaves, and a
# program started in that moment cannot connect.
start_private_x() {
  local number ready=$work/x-ready xvfb
  for number in ${QUENDRIL_TEST_DISPLAYS:-61 62 63 64}; do
    [ -e "/tmp/.X${number}-lock" ] && continue
    : >"$ready"
    Xvfb ":$number" -screen 0 "${QUENDRIL_TEST_SCREEN:-1280x1024x24}" -nolisten tcp -noreset -displayfd 3 3>"$ready" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do
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
  echo "FAIL: no X server could be started on ${QUENDRIL_TEST_DISPLAYS:-61 62 63 64}" >&2
  return 1
}
