#!/bin/bash
# Builds the Debian package from the build, checks its control data and its
# contents, unpacks it into a throwaway folder and starts the packaged program
# on a private desktop of the harness until its main window shows.
# Usage: deb_package.sh CPACK BUILD_DIR VERSION, with QUENDRIL_APP_ID and
# QUENDRIL_CAPTION in the environment (CTest sets them from the build).
# CTest linux: deb_package @cpack@ @build@ @version@
set -euo pipefail
cpack=$1 build=$2 version=$3
# shellcheck source=../support/outside_checks.sh
. "$(dirname "$0")/../support/outside_checks.sh"
in_private_desktop packaging -- bash "$0" "$@"
work=$(mktemp -d)
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; }
debs=("$work"/out/*.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single .deb: ${debs[*]}"
deb=${debs[0]}
check "SHA256SUMS beside the package passes sha256sum -c" bash -c 'cd "$1" && sha256sum -c SHA256SUMS' _ "$work/out"
check "the package file has the Debian name" test "$(basename "$deb")" = "quendril_${version}_$(dpkg --print-architecture).deb"

info=$(dpkg-deb -I "$deb")
field() { dpkg-deb -f "$deb" "$1"; }
check "package name" test "$(field Package)" = quendril
check "package version" test "$(field Version)" = "$version"
check "package architecture" test "$(field Architecture)" = "$(dpkg --print-architecture)"
check "package maintainer" test -n "$(field Maintainer)"
check "package description" test -n "$(field Description)"
depends=$(field Depends)
echo "Depends: $depends"
# One dependency a line: its name, then its version, if any.
dependencies=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//')
depends_on() { awk -v name="$1" -v versioned="$2" '$1 == name && (!versioned || $2 == "(>=") {found = 1} END {exit !found}' <<<"$dependencies"; }
# Found by dpkg-shlibdeps from the linked libraries, with their versions
# (under the name Debian 13 gave a library for its 64-bit time, too:
# libqt6core6t64)...
depends_on_library() { depends_on "$1" 1 || depends_on "${1}t64" 1; }
for library in libqt6core6 libqt6gui6 libqt6widgets6 libc6 libstdc++6; do
  check "depends on $library (versioned)" depends_on_library "$library"
done
# ...and the ones loaded at run time rather than linked: the fonts, and the
# SVG icon engine wherever the release keeps it.
check "depends on fonts-dejavu-core" depends_on fonts-dejavu-core ""
check "depends on Qt's SVG icon engine" grep -qxF "qt6-svg-plugins | libqt6svg6 (<< 6.7.2-5~)" <<<"$dependencies"
check "dpkg-deb -I shows the dependencies" grep -q "Depends: .*fonts-dejavu-core" <<<"$info"
check "recommends Qt's Wayland platform" test "$(field Recommends)" = qt6-wayland
check "a utility's section" test "$(field Section)" = utils

# Every file under /usr, owned by root, none of them a build or test leftover.
contents=$(dpkg-deb -c "$deb")
files=$(awk '$1 !~ /^d/ {print $6}' <<<"$contents" | LC_ALL=C sort)
id=${QUENDRIL_APP_ID:?is set by the build}
expected="./usr/bin/quendril
./usr/share/applications/$id.desktop
./usr/share/doc/quendril/changelog.gz
./usr/share/doc/quendril/copyright
./usr/share/icons/hicolor/256x256/apps/$id.png
./usr/share/icons/hicolor/48x48/apps/$id.png
./usr/share/icons/hicolor/scalable/apps/$id.svg
./usr/share/man/man1/quendril.1.gz
./usr/share/metainfo/$id.metainfo.xml"
if [ "$files" != "$expected" ]; then
  diff <(echo "$expected") <(echo "$files") >&2 || true
  fail "package files differ from the expected list (- expected, + packaged)"
fi
echo "ok: package holds exactly the expected files"
check "every entry is owned by root" bash -c "! awk '\$2 != \"root/root\"' <<<'$contents' | grep -q ."
check "the program is packaged executable" grep -Eq '^-rwxr-xr-x .* \./usr/bin/quendril$' <<<"$contents"

# Debian's own checker: no error and no warning (it fails on either, and when
# it cannot check at all).
check "lintian reports no error and no warning" lintian --fail-on error,warning --no-tag-display-limit "$deb"

root=$work/root
dpkg-deb -x "$deb" "$root"
check "the packaged program is stripped" bash -c "file -b '$root/usr/bin/quendril' | grep -q ', stripped'"

# The unpacked program on the harness's desktop: a throwaway home, and the
# browser stand-in first on the path, so that nothing outside is touched.
# It answers its own options without a display, on standard output and with
# status 0; its help offers only options it answers.
answer() { env -u DISPLAY "$root/usr/bin/quendril" "$@"; }
help=$(answer --help) || fail "--help ended with status $?"
check "the packaged program answers --help" grep -q -- '^  -v, --version ' <<<"$help"
check "its help offers no --help-all" bash -c '! grep -q -- --help-all <<<"$1"' help "$help"
for option in -h --help-all; do
  check "$option answers as --help does" test "$(answer "$option")" = "$help"
done
for option in --version -v; do
  check "the packaged program answers $option" test "$(answer "$option")" = "quendril $version"
done
# It starts as usual past one of Qt's standard options (a word after a single
# dash, whose letters are no options of ours) and an argument it does not know.
"$root/usr/bin/quendril" -platformtheme gtk3 --no-such-option >"$work/program.log" 2>&1 &
program=$!
pids+=("$program")

caption=${QUENDRIL_CAPTION:?is set by the build}
shows_main_window() { ended "$program" || designed_window "$caption" any >/dev/null; }
wait_for shows_main_window || true
window=$(designed_window "$caption" any) || { cat "$work/program.log" >&2; fail "the packaged program showed no main window"; }
echo "ok: the packaged program shows its main window"
check "the main window has its designed size" designed_window "$caption" "$(window_size main)"
check "the main window carries the icon" bash -c "xprop -id $window _NET_WM_ICON | grep -q 'Icon ('"
check "the program's settings went to the throwaway home" test -f "$XDG_CONFIG_HOME/quendril/quendril.conf"
