#!/bin/bash
# Builds and runs the benchmarks: start-up, peak memory and response of
# Quendril side by side with a minimal Qt window under a private Xvfb, then
# the reading core per entry. Not part of the tests.
# Usage: bench/run.sh [BUILD-DIR]   (default: build-bench)
# RUNS, ROUNDS and WARMUP in the environment change the repetitions;
# QUENDRIL_TEST_DISPLAYS the X display numbers to try (default: the
# "benchmark" row of tests/support/x_displays.txt).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}

"$root/scripts/install-deps.sh" bench
cmake -S "$root" -B "$build" -DBUILD_BENCHMARKS=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j2 --target quendril minimal_qt_window window_bench core_bench >/dev/null

work=$(mktemp -d)
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
. "$root/tests/support/private_x.sh"
start_private_x benchmark

echo "== Start-up and response (Xvfb $DISPLAY, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg))"
"$build/bench/window_bench" \
  --program "$build/bin/quendril" --baseline "$build/bench/minimal_qt_window" \
  --runs "${RUNS:-15}" --rounds "${ROUNDS:-25}" --warmup "${WARMUP:-2}"

echo
echo "== Reading core: one iteration is one entry"
"$build/bench/core_bench" --benchmark_min_time=0.3
