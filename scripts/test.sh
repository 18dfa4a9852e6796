#!/bin/bash
# Installs what is missing, builds, and runs every test. CI runs exactly this.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh test

# The Debian 13 root of the last stage is made, or brought up to date, in the
# background while the stages before it build: that is mostly downloading and
# unpacking. The last stage waits for it and reports what went wrong.
debian13_log=$(mktemp)
./scripts/debian13.sh --prepare >"$debian13_log" 2>&1 &
debian13_prepare=$!
trap 'kill "$debian13_prepare" 2>/dev/null || true; rm -f "$debian13_log"' EXIT

# The main build is optimised, as packagers build, and stops on any warning:
# some warnings show only when the optimiser looks across functions.
cmake -S . -B build -DBUILD_TESTING=ON -DCMAKE_BUILD_TYPE=Release -DQUENDRIL_WERROR=ON
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"

# Our code under AddressSanitizer and UndefinedBehaviorSanitizer: a second
# build, and the tests that can find a memory or undefined-behaviour fault in
# it (CMakePresets.json says which are left out, and why).
cmake --preset asan
cmake --build --preset asan
ctest --preset asan -j"$(nproc)"

# A short smoke run of each fuzz target over its seed corpus; the long
# campaigns are run by hand (fuzz/README.md).
cmake -S fuzz -B build-fuzz -DQUENDRIL_WERROR=ON
cmake --build build-fuzz -j2
ctest --test-dir build-fuzz --output-on-failure

# The Windows program, cross-built in the Debian 13 root with its MinGW-w64
# against Qt for Windows (built once from Debian 13's own Qt source into a
# cache outside the checkout), with its setup program, and its tests under
# that root's Wine: the in-process suites, and the real program and the setup
# program driven from outside.
./scripts/build-windows.sh --tests
./scripts/debian13.sh --run ctest --test-dir build-windows --output-on-failure -j"$(nproc)"

# The same build and tests on Debian 13 (GCC 14, Qt 6.8), in a minimal root
# of its own; skipped, and saying so, where it cannot run.
wait "$debian13_prepare" || true
cat "$debian13_log"
./scripts/debian13.sh
