#!/bin/bash
# Runs a command with CPU-bound processes beside it, one per core (or
# QUENDRIL_LOAD of them), as on a busy shared machine: a check that depends on
# timing shows itself here. Installs stress-ng when it is missing.
#
#   scripts/under-load.sh ./scripts/test.sh
#   scripts/under-load.sh ctest --test-dir build -j2 --output-on-failure
#   QUENDRIL_LOAD=4 scripts/under-load.sh ./scripts/test.sh windows
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: under-load.sh COMMAND [ARGUMENT]..." >&2; exit 2; }
"$(dirname "$0")/install-deps.sh" load
load=${QUENDRIL_LOAD:-$(nproc)}
stress-ng --cpu "$load" --quiet &
stress=$!
trap 'kill "$stress" 2>/dev/null || true; wait "$stress" 2>/dev/null || true' EXIT
echo "under-load: $load CPU-bound processes beside: $*" >&2
status=0
"$@" || status=$?
exit "$status"
