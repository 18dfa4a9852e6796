#!/bin/sh
# Builds and runs the benchmarks: start-up, peak memory and response of
# Quendril side by side with a minimal Qt window under a private Xvfb, then
# the reading core per entry. Not part of the tests.
# Usage: bench/run.sh [BUILD-DIR [DISPLAY]]   (default: build-bench :71)
# RUNS, ROUNDS and WARMUP in the environment change the repetitions.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
display=${2:-:71}

"$root/scripts/install-deps.sh" bench
cmake -S "$root" -B "$build" -DBUILD_BENCHMARKS=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j2 --target quendril minimal_qt_window window_bench core_bench >/dev/null

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null || true' EXIT INT TERM
ready=no
for _ in $(seq 100); do
  if ! kill -0 $xvfb 2>/dev/null; then
    echo "run.sh: Xvfb could not start on $display (is the display in use?)" >&2
    exit 1
  fi
  if xdpyinfo -display "$display" >/dev/null 2>&1; then ready=yes; break; fi
  sleep 0.1
done
[ $ready = yes ] || { echo "run.sh: Xvfb on $display did not answer" >&2; exit 1; }

echo "== Start-up and response (Xvfb $display, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg))"
DISPLAY=$display "$build/bench/window_bench" \
  --program "$build/bin/quendril" --baseline "$build/bench/minimal_qt_window" \
  --runs "${RUNS:-15}" --rounds "${ROUNDS:-25}" --warmup "${WARMUP:-2}"

echo
echo "== Reading core: one iteration is one entry"
"$build/bench/core_bench" --benchmark_min_time=0.3
