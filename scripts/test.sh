#!/bin/sh
# Installs what is missing, builds, and runs every test. CI runs exactly this.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build
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
cmake -S fuzz -B build-fuzz
cmake --build build-fuzz -j2
ctest --test-dir build-fuzz --output-on-failure
