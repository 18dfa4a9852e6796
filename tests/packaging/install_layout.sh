#!/bin/bash
# Installs the build into a throwaway prefix and checks what lands there:
# exactly the program, its desktop entry, its AppStream file and its icons,
# the bitmaps at their theme sizes, and the three naming one id.
# Usage: install_layout.sh BUILD_DIR VERSION APPSTREAMCLI, with QUENDRIL_APP_ID
# in the environment (CTest sets it from the build).
# CTest linux: install_layout @build@ @version@ @appstreamcli@
set -euo pipefail
build=$1 version=$2 appstreamcli=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck source=../support/checks.sh
. "$(dirname "$0")/../support/checks.sh"

root=$work/root
cmake --install "$build" --prefix "$root" >"$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }

id=${QUENDRIL_APP_ID:?is set by the build}
expected="bin/quendril
share/applications/$id.desktop
share/doc/quendril/changelog.gz
share/doc/quendril/copyright
share/icons/hicolor/256x256/apps/$id.png
share/icons/hicolor/48x48/apps/$id.png
share/icons/hicolor/scalable/apps/$id.svg
share/man/man1/quendril.1.gz
share/metainfo/$id.metainfo.xml"
actual=$(cd "$root" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
  diff <(echo "$expected") <(echo "$actual") >&2 || true
  fail "installed files differ from the expected layout (- expected, + installed)"
fi
echo "ok: installed files are exactly the expected layout"

check "the program is executable" test -x "$root/bin/quendril"
for size in 48 256; do
  check "the $size px icon is a $size x $size PNG" \
    bash -c "file -b '$root/share/icons/hicolor/${size}x${size}/apps/$id.png' | grep -q '^PNG image data, $size x $size,'"
done
check "the scalable icon is the program's SVG" \
  cmp -s "$root/share/icons/hicolor/scalable/apps/$id.svg" "$(dirname "$0")/../../src/app/resources/quendril.svg"

desktop=$root/share/applications/$id.desktop
metainfo=$root/share/metainfo/$id.metainfo.xml
check "the desktop entry names the installed icon" grep -qx "Icon=$id" "$desktop"
check "the desktop entry starts the installed program" grep -qx "Exec=quendril" "$desktop"
check "the AppStream id is the desktop entry's" grep -q "<id>$id</id>" "$metainfo"
check "the AppStream launchable is the desktop entry" \
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo"
check "the AppStream release is this build's version" \
  grep -q "<release version=\"$version\"" "$metainfo"
check "no placeholder is left unfilled" bash -c "! grep -q '@[A-Z_]*@' '$metainfo'"
check "the installed program carries no library search path" bash -c "! readelf -d '$root/bin/quendril' | grep -Eq 'RPATH|RUNPATH'"
# The installed tree as a software centre reads it: the AppStream file finds
# its desktop entry. --strict fails on warnings and infos too.
check "appstreamcli validate-tree passes" \
  bash "$(dirname "$0")/appstream_validate.sh" "$appstreamcli" validate-tree "$root"
