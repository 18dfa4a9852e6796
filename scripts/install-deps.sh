#!/bin/bash
# Installs the Debian packages that Quendril needs for one or more purposes,
# when they are missing. Works as root or through sudo; does nothing when all
# are present.
#
#   install-deps.sh run            build the program and run it
#   install-deps.sh test           build the program and its tests and run them,
#                                  also under the sanitizers
#   install-deps.sh fuzz           build the fuzz targets and run them
#   install-deps.sh bench          build and run the benchmarks
#   install-deps.sh debian13       make the Debian 13 root that the Windows
#                                  build and the Debian 13 stage run in
#   install-deps.sh windows        build Qt for Windows and the Windows program
#   install-deps.sh windows-test   the same, and run its tests under Wine
#                                  (both in the Debian 13 root)
#   install-deps.sh load           run a command on a loaded machine (under-load.sh)
set -euo pipefail

# Building the program, and what it loads at run time: Qt's platform plugins
# (X11 in qt6-qpa-plugins, Wayland in qt6-wayland), the SVG icon engine and
# the fonts that stand in for Verdana and MS Sans Serif.
run="
  build-essential cmake
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-qpa-plugins qt6-wayland
  fonts-dejavu-core
"
# The host's part of the Debian 13 root (scripts/debian13.sh).
debian13="
  debootstrap
"
# Private X and Wayland desktops, a window manager that stacks the windows,
# Qt's GTK platform theme for a dark desktop, the accessibility bus and the
# tools that read and drive the program, and the packaging checks.
test="
  $run
  xvfb xdotool x11-utils faketime weston openbox qt6-gtk-platformtheme
  python3-pyatspi at-spi2-core dbus imagemagick
  desktop-file-utils appstream dpkg-dev file lintian $debian13
"
# The fuzz targets: clang with libFuzzer.
fuzz="
  $run
  clang libclang-rt-dev
"
bench="
  $run
  xvfb libbenchmark-dev libxcb1-dev
"
# The Windows program, cross-built: MinGW-w64, Ninja, Debian's Qt source
# (dpkg-dev unpacks it) built with the host's Qt tools, and the host's Qt
# rendering the icon, and Python readying the program files for a signature;
# Wine and a private X server run it and its tests, icoutils reads the
# program file's resources, and openssl and osslsigncode make a throwaway
# certificate and sign with it, its key held in a SoftHSM2 token reached
# through OpenSSL's pkcs11 engine, as a maker's hardware token is.
windows="
  $run
  g++-mingw-w64-x86-64-posix ninja-build dpkg-dev nsis python3
"
windows_test="
  $windows
  wine wine64 fonts-wine xvfb xdotool x11-utils openbox file imagemagick icoutils
  openssl osslsigncode softhsm2 libengine-pkcs11-openssl
"
# CPU-bound processes beside a test run, for scripts/under-load.sh.
load="
  stress-ng
"
# For every purpose, where the release has them: Debian 13 moved Qt's SVG
# icon engine out of libqt6svg6 into qt6-svg-plugins.
where_known="qt6-svg-plugins"

[ $# -gt 0 ] || { echo "usage: install-deps.sh run|test|fuzz|bench|debian13|windows|windows-test|load ..." >&2; exit 2; }
packages=""
for purpose in "$@"; do
  case $purpose in
    run) packages="$packages $run" ;;
    test) packages="$packages $test" ;;
    fuzz) packages="$packages $fuzz" ;;
    bench) packages="$packages $bench" ;;
    debian13) packages="$packages $debian13" ;;
    windows) packages="$packages $windows" ;;
    windows-test) packages="$packages $windows_test" ;;
    load) packages="$packages $load" ;;
    *) echo "install-deps: unknown purpose '$purpose' (run, test, fuzz, bench, debian13, windows, windows-test or load)" >&2; exit 2 ;;
  esac
done

# grep reads to the end: with pipefail, a writer cut off early would fail the pipe.
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep "install ok installed" >/dev/null; }
known() { LC_ALL=C apt-cache policy "$1" 2>/dev/null | grep '^  Candidate: [^(]' >/dev/null; }
missing=""
for p in $packages; do
  case " $missing " in *" $p "*) continue ;; esac
  installed "$p" || missing="$missing $p"
done
for p in $where_known; do
  if ! installed "$p" && known "$p"; then missing="$missing $p"; fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=""
elif command -v sudo >/dev/null 2>&1; then
  as_root="sudo"
else
  echo "install-deps: these packages are missing and neither root nor sudo is available:$missing" >&2
  exit 1
fi

echo "install-deps: installing$missing"
$as_root apt-get update -q
# Package lists that were missing or old may know more now.
for p in $where_known; do
  case " $missing " in *" $p "*) continue ;; esac
  if ! installed "$p" && known "$p"; then missing="$missing $p"; fi
done
# shellcheck disable=SC2086  # one word a package
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
