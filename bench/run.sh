#!/bin/bash
# Builds and runs the benchmarks: start-up, peak memory and response of
# Quendril side by side with a minimal Qt window on a private desktop of the
# tests' harness (tests/support/harness.py), then the reading core per entry.
# Not part of the tests.
# Usage: bench/run.sh [BUILD-DIR]   (default: build-bench)
# RUNS, ROUNDS and WARMUP in the environment change the repetitions;
# QUENDRIL_TEST_DISPLAYS the X display numbers to try, first-last (default:
# the "benchmark" row of tests/support/x_displays.txt).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}

"$root/scripts/install-deps.sh" bench
cmake -S "$root" -B "$build" -DBUILD_BENCHMARKS=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j2 --target quendril minimal_qt_window window_bench core_bench >/dev/null

echo "== Start-up and response (private Xvfb, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg))"
python3 "$root/tests/support/harness.py" run --displays benchmark -- "$build/bench/window_bench" \
  --program "$build/bin/quendril" --baseline "$build/bench/minimal_qt_window" \
  --runs "${RUNS:-15}" --rounds "${ROUNDS:-25}" --warmup "${WARMUP:-2}"

echo
echo "== Reading core: one iteration is one entry"
"$build/bench/core_bench" --benchmark_min_time=0.3
