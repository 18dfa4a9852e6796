#!/bin/bash
# Installs what building and running need, when it is missing, builds the
# program alone (no tests) into build-run/, apart from the tests' build/, and
# starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh run
cmake -S . -B build-run -DBUILD_TESTING=OFF
cmake --build build-run -j"$(nproc)"
exec ./build-run/bin/quendril "$@"
