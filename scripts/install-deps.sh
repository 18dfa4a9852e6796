#!/bin/sh
# Installs the Debian packages that building, running and testing Quendril
# need, when they are missing, and any packages named as arguments (the
# benchmarks name theirs). Works as root or through sudo.
set -eu

packages="
  build-essential cmake
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-qpa-plugins
  fonts-dejavu-core
  xvfb xauth xdotool x11-utils faketime
  python3-pyatspi at-spi2-core dbus imagemagick
  desktop-file-utils appstream dpkg-dev file
  clang libclang-rt-dev
  $*
"

missing=""
for p in $packages; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
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
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
