#!/bin/bash
# Builds Qt for 64-bit Windows once, from Debian 13's own source of its Qt
# (6.8, a long-term release that Debian's security team keeps patched), with
# Debian 13's MinGW-w64 and Debian 13's Qt tools, and keeps it in a cache
# outside the checkout:
#
#   ${XDG_CACHE_HOME:-$HOME/.cache}/quendril/qt-<version>-<target>-<config>/
#
# A cached Qt is reused only when it was finished: the mark that says so is
# written after the build, the install and the keeping of its notices all
# succeeded, and a prefix without it is removed and built again.
#
# Beside it the cache keeps, under share/quendril-qt-source/, what the
# notices of the shipped libraries are made from (cmake/qt_notices.py): the
# source's attribution and licence files, and for each library what its
# build read; and Debian's source package itself, which ships beside the
# Windows downloads.
# Prints the Qt prefix alone on its standard output; what it does goes to
# standard error.
#
# Runs in the Debian 13 root (scripts/build-windows.sh takes it there), whose
# qt6-base-dev is the version built: a new version there, as when Debian
# publishes a fix, is a new name in the cache, and so a new build.
# Needs: the MinGW-w64 compiler, CMake, Ninja, Qt's development files and
# dpkg-dev (scripts/install-deps.sh windows installs them), and the Debian
# mirror of the root's apt sources.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
toolchain_source=$here/../cmake/mingw-w64-x86_64.cmake
target=x86_64-w64-mingw32

fail_prefix=build-qt-windows
# shellcheck source=../tests/support/checks.sh
. "$here/../tests/support/checks.sh"
for tool in $target-g++-posix cmake ninja dpkg-source apt-get; do
  command -v "$tool" >/dev/null || fail "$tool is missing; run scripts/install-deps.sh windows"
done
# The source's version, which apt-get source asks for (a rebuild of the
# binaries alone, +bN, has another).
version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev 2>/dev/null) \
  || fail "Qt's tools (qt6-base-dev) are missing; run scripts/install-deps.sh windows"

# What the program and its tests need: Core, Gui, Widgets, Test and the
# Windows and offscreen platforms, optimised for size (a smaller download,
# and quicker to build). Debian's source leaves out the tablet header
# wintab.h (not free), hence no tablet events. OpenGL stays (loaded at run
# time only when asked for), as Qt's Windows platform was not made to build
# without it, and so does Direct2D (its DirectWrite font database). The
# graphics view stays too: the Windows style plugin draws its shadows with a
# graphics effect.
options=(
  -DCMAKE_BUILD_TYPE=Release -DFEATURE_optimize_size=ON
  -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF
  -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
  -DFEATURE_jpeg=OFF -DFEATURE_vulkan=OFF -DFEATURE_tabletevent=OFF
)
config=$( (printf '%s\n' "${options[@]}"; cat "$toolchain_source") | sha256sum | cut -c1-10)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/quendril
name=qt-${version}-${target}-${config}
prefix=$cache/$name

kept=$prefix/share/quendril-qt-source
if [ -f "$prefix/quendril-qt-complete" ] && [ -d "$kept/read" ]; then
  echo "build-qt-windows: using the cached Qt $version for Windows" >&2
  echo "$prefix"
  exit 0
fi

started=$(date +%s)
work=$cache/$name.work
rm -rf "$work" "$prefix"
mkdir -p "$work"
echo "build-qt-windows: building Qt $version for Windows ($target) into $prefix; this takes about 40 minutes on 2 cores" >&2

# Debian's source package of qtbase, through apt with a private state: the
# machine's own apt sources, turned into source entries.
apt_dir=$work/apt
mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [ -f "$list" ] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$list"
done >"$apt_dir/sources.list.d/from-host.list"
for sources in /etc/apt/sources.list.d/*.sources; do
  [ -f "$sources" ] || continue
  sed 's/^Types:.*/Types: deb-src/' "$sources" >"$apt_dir/sources.list.d/$(basename "$sources")"
done
apt_private=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o APT::Sandbox::User=root)
echo "== apt-get source qt6-base=$version" >&2
apt-get "${apt_private[@]}" -q update >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get update of the source entries"; }
(cd "$work" && apt-get "${apt_private[@]}" -q source "qt6-base=$version") >>"$work/apt.log" 2>&1 \
  || { tail -30 "$work/apt.log" >&2; fail "apt-get source qt6-base=$version"; }
source_dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
[ -n "$source_dir" ] || fail "no source folder after apt-get source"

# The toolchain travels with the Qt it built: Qt's own toolchain file loads it
# by this path whenever a program is configured against this Qt.
toolchain=$prefix/lib/cmake/quendril-mingw-w64-x86_64.cmake
mkdir -p "$(dirname "$toolchain")"
cp "$toolchain_source" "$toolchain"

# The same libraries on any machine, whenever and wherever built: no folder
# of this machine in them (the prefix compiled into Qt Core is a fixed one,
# which Qt for Windows only falls back on, since it finds itself from its
# own library; the cache is only where it is installed), and the source
# package's date for every time the build embeds (rcc's file times), as
# Debian's own package builds take it.
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Timestamp)
export SOURCE_DATE_EPOCH
echo "== configure" >&2
cmake -G Ninja -S "$source_dir" -B "$work/build" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_INSTALL_PREFIX=/opt/quendril-qt \
  "-DCMAKE_C_FLAGS=-ffile-prefix-map=$work/=" "-DCMAKE_CXX_FLAGS=-ffile-prefix-map=$work/=" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  "${options[@]}" >"$work/configure.log" 2>&1 || { tail -40 "$work/configure.log" >&2; fail "configure"; }
echo "== build ($(nproc) jobs)" >&2
# Qt's headers warn at every step; on a failure only the failed steps are shown.
cmake --build "$work/build" -j"$(nproc)" >"$work/build.log" 2>&1 || {
  grep -A 12 '^FAILED: ' "$work/build.log" | grep -v ' warning: ' | head -n 80 >&2
  fail "build (the whole log: $work/build.log)"
}
echo "== install" >&2
cmake --install "$work/build" --prefix "$prefix" >"$work/install.log" 2>&1 || { tail -40 "$work/install.log" >&2; fail "install"; }
echo "== notices and source" >&2
# Every library and plugin that the program or its tests load.
python3 "$here/../cmake/qt_notices.py" keep "$source_dir" "$work/build" "$kept" \
  Core Gui Widgets Test QWindowsIntegrationPlugin QModernWindowsStylePlugin QOffscreenIntegrationPlugin \
  || fail "keeping the notices of Qt's sources"
mkdir -p "$kept/package"
cp "$work"/qt6-base_*.dsc "$work"/qt6-base_*.tar.* "$kept/package/"
printf '%s\n' "${options[@]}" >"$kept/options.txt"

minutes=$(( ($(date +%s) - started + 30) / 60 ))
printf 'Qt %s for %s, options %s, built in %s min on %s\n' \
  "$version" "$target" "${options[*]}" "$minutes" "$(date -u +%F)" >"$prefix/quendril-qt-complete"
rm -rf "$work"
echo "build-qt-windows: built Qt $version for Windows in $minutes min" >&2
echo "$prefix"
