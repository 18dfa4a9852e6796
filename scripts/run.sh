#!/bin/sh
# Installs what is missing, builds, and starts the program.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build
cmake --build build -j"$(nproc)"
exec ./build/bin/quendril
