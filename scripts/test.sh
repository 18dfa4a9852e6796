#!/bin/sh
# Installs what is missing, builds, and runs every test. CI runs exactly this.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure
