#!/bin/bash
# Installs what is missing, builds, and runs the tests. With no argument it
# runs every stage, in this order; CI runs exactly that. With stage names it
# runs those alone, in the same order, and installs only what they need.
#   linux      the program and its tests (build/)
#   asan       the same under the sanitizers (build-asan/)
#   fuzz       a short run of each fuzz target (build-fuzz/)
#   windows    the Windows program and its tests under Wine (build-windows/)
#   debian13   the program and its tests on Debian 13
# The last two run in the Debian 13 root (scripts/debian13.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
all="linux asan fuzz windows debian13"
for stage in "$@"; do
  case " $all " in
    *" $stage "*) ;;
    *) echo "usage: test.sh [STAGE...], with the stages $all (none named: all of them)" >&2; exit 2 ;;
  esac
done
named=" ${*:-$all} "
runs() { [[ $named == *" $1 "* ]]; }
echo "== test.sh: stages${named}(of: $all)"

purposes=()
if runs linux || runs asan; then purposes+=(test); fi
if runs fuzz; then purposes+=(fuzz); fi
if runs windows || runs debian13; then purposes+=(debian13); fi
./scripts/install-deps.sh "${purposes[@]}"

# The Debian 13 root is made, or brought up to date, in the background while
# the stages before it build: that is mostly downloading and unpacking. The
# first stage in the root waits for it and shows how it went.
debian13_prepare=""
debian13_log=$(mktemp)
trap 'if [ -n "$debian13_prepare" ]; then kill "$debian13_prepare" 2>/dev/null || true; fi; rm -f "$debian13_log"' EXIT
if runs windows || runs debian13; then
  ./scripts/debian13.sh --prepare >"$debian13_log" 2>&1 &
  debian13_prepare=$!
fi
root_prepared() {
  [ -n "$debian13_prepare" ] || return 0
  wait "$debian13_prepare" || true
  debian13_prepare=""
  cat "$debian13_log"
}

if runs linux; then
  # The main build is optimised, as packagers build, and stops on any warning:
  # some warnings show only when the optimiser looks across functions.
  cmake -S . -B build -DBUILD_TESTING=ON -DCMAKE_BUILD_TYPE=Release -DQUENDRIL_WERROR=ON
  cmake --build build -j"$(nproc)"
  ctest --test-dir build --output-on-failure -j"$(nproc)"
fi

if runs asan; then
  # Our code under AddressSanitizer and UndefinedBehaviorSanitizer: a second
  # build, and the tests that can find a memory or undefined-behaviour fault in
  # it (CMakePresets.json says which are left out, and why).
  cmake --preset asan
  cmake --build --preset asan
  ctest --preset asan -j"$(nproc)"
fi

if runs fuzz; then
  # A short smoke run of each fuzz target over its seed corpus; the long
  # campaigns are run by hand (fuzz/README.md).
  cmake -S fuzz -B build-fuzz -DQUENDRIL_WERROR=ON
  cmake --build build-fuzz -j2
  ctest --test-dir build-fuzz --output-on-failure
fi

if runs windows; then
  # The Windows program, cross-built in the Debian 13 root with its MinGW-w64
  # against Qt for Windows (built once from Debian 13's own Qt source into a
  # cache outside the checkout), with its setup program, and its tests under
  # that root's Wine: the in-process suites, and the real program and the setup
  # program driven from outside.
  root_prepared
  ./scripts/build-windows.sh --tests
  ./scripts/debian13.sh --run ctest --test-dir build-windows --output-on-failure -j"$(nproc)"
fi

if runs debian13; then
  # The same build and tests on Debian 13 (GCC 14, Qt 6.8), in a minimal root
  # of its own; skipped, and saying so, where it cannot run.
  root_prepared
  ./scripts/debian13.sh
fi
