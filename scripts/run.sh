#!/bin/bash
# Installs what building and running need, when it is missing, builds the
# program alone (no tests) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh run
cmake -S . -B build -DBUILD_TESTING=OFF
cmake --build build -j"$(nproc)"
exec ./build/bin/quendril "$@"
