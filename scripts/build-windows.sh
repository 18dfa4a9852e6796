#!/bin/bash
# Builds the Windows program in the Debian 13 root (scripts/debian13.sh),
# with Debian 13's MinGW-w64 and Qt tools, into this checkout: Qt for Windows
# from the cache (built first when missing, scripts/build-qt-windows.sh), the
# icon renderer, then the program cross-built with MinGW-w64 into
# build-windows/bin/quendril.exe, beside the Qt libraries and plugins it loads,
# and from it the setup program and the ZIP (build-windows/quendril-*).
#
#   scripts/build-windows.sh           the program alone
#   scripts/build-windows.sh --tests   the program and its tests, warnings as errors
#                                      (scripts/debian13.sh --run ctest --test-dir
#                                      build-windows runs them under Wine)
#   scripts/build-windows.sh ... -DNAME=VALUE
#                                      a setting for CMake, such as the key the
#                                      packages are signed with (docs/signing.md)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${QUENDRIL_IN_DEBIAN13:-}" ]; then
  ./scripts/install-deps.sh debian13
  exec ./scripts/debian13.sh --run ./scripts/build-windows.sh "$@"
fi
tests=OFF
# What is left in "$@" is the settings for CMake.
for argument; do
  shift
  case $argument in
    --tests) tests=ON ;;
    -D?*) set -- "$@" "$argument" ;;
    *) echo "usage: build-windows.sh [--tests] [-DNAME=VALUE]..." >&2; exit 2 ;;
  esac
done
if [ "$tests" = ON ]; then ./scripts/install-deps.sh windows-test; else ./scripts/install-deps.sh windows; fi

qt=$(./scripts/build-qt-windows.sh)

# Build tools run where the build runs: Qt's own there renders the icon.
cmake -S . -B build-windows/host-tools -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-windows/host-tools --target quendril_icon_renderer -j"$(nproc)"

# A build made against another Qt starts afresh: CMake keeps the toolchain
# it was first configured with.
if [ -f build-windows/CMakeCache.txt ] \
  && ! grep -qxF "CMAKE_TOOLCHAIN_FILE:FILEPATH=$qt/lib/cmake/Qt6/qt.toolchain.cmake" build-windows/CMakeCache.txt; then
  rm -rf build-windows/CMakeCache.txt build-windows/CMakeFiles
fi
cmake -S . -B build-windows -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DQUENDRIL_HOST_ICON_RENDERER="$PWD/build-windows/host-tools/src/app/quendril_icon_renderer" \
  -DBUILD_TESTING=$tests -DQUENDRIL_WERROR=$tests "$@"
cmake --build build-windows -j"$(nproc)"
# The two downloads: the setup program and the ZIP of the program's folder.
cmake --build build-windows --target quendril_packages
# shellcheck disable=SC1091  # written by the build
. build-windows/product.env
echo "build-windows: wrote build-windows/bin/quendril.exe, build-windows/quendril-$QUENDRIL_VERSION-setup.exe" \
  "and build-windows/quendril-$QUENDRIL_VERSION-windows-x64.zip"
