#!/bin/bash
# Builds the shipped files a second time, from a copy of the sources in
# another folder, later, under another umask, time zone and locale, and
# compares them bit for bit with the first build's.
# On a difference it shows where: diffoscope's report when it is installed,
# else the differing members of an archive and the first differing bytes.
#
#   reproducible.sh linux SOURCE BUILD EPOCH     the program and the .deb
#   reproducible.sh windows SOURCE BUILD EPOCH   the program's folder as
#                                                shipped, the setup program
#                                                and the ZIP
#
# EPOCH is the first build's date (QUENDRIL_SOURCE_DATE_EPOCH): a copy
# without its commit would fall back to another.
# CTest linux: reproducible_build linux @source@ @build@ @epoch@
# CTest windows: windows_reproducible_build windows @source@ @build@ @epoch@
set -euo pipefail
kind=$1 source=$2 first=$3 epoch=$4
work=$(mktemp -d /tmp/quendril-again.XXXXXX)
trap 'rm -rf "$work"' EXIT
again=$work/sources-elsewhere
second=$again/build-again

# shellcheck source=../support/checks.sh
. "$(dirname "$0")/../support/checks.sh"

# The sources as they are now, tracked or not yet ignored.
mkdir -p "$again"
if git -C "$source" rev-parse --git-dir >/dev/null 2>&1; then
  git -C "$source" ls-files -z --cached --others --exclude-standard \
    | (cd "$source" && while IFS= read -r -d '' file; do
      if [ -e "$file" ] || [ -L "$file" ]; then printf '%s\0' "$file"; fi
    done) \
    | tar -C "$source" --null -T - -cf - | tar -C "$again" -xf -
else
  tar -C "$source" --exclude='./build*' --exclude=./.cache -cf - . | tar -C "$again" -xf -
fi

# The second build's surroundings differ from the first's wherever a build
# could take something in: group-writable files, a time zone 14 hours east
# of UTC (spelt out, so that no time zone data is needed), another locale.
elsewhere() { (umask 002 && TZ=KIT-14 LC_ALL=C.UTF-8 LANG=C.UTF-8 "$@"); }

# The first build's choices.
# shellcheck source=../support/build_again.sh
. "$(dirname "$0")/../support/build_again.sh"
first_build_options "$first"
export SOURCE_DATE_EPOCH=$epoch
elsewhere cmake -S "$again" -B "$second" -DBUILD_TESTING=OFF "${options[@]}" >"$work/configure.log" 2>&1 \
  || { cat "$work/configure.log" >&2; fail "configuring the second build"; }

# Where two files differ.
show_difference() {
  local a=$1 b=$2
  if command -v diffoscope >/dev/null 2>&1; then
    diffoscope --text - "$a" "$b" | head -n 200 >&2 || true
    return
  fi
  case $a in
    *.deb | *.zip)
      mkdir -p "$work/x1" "$work/x2"
      rm -rf "$work/x1"/* "$work/x2"/*
      if [[ $a == *.deb ]]; then
        dpkg-deb -R "$a" "$work/x1"; dpkg-deb -R "$b" "$work/x2"
      else
        (cd "$work/x1" && cmake -E tar xf "$a"); (cd "$work/x2" && cmake -E tar xf "$b")
      fi
      diff -r "$work/x1" "$work/x2" >&2 || true
      ;;
  esac
  echo "first differing bytes (offset, octal byte in the first build, in the second):" >&2
  cmp -l "$a" "$b" 2>&1 | head -n 16 >&2 || true
}

differences=0
compare() {
  local what=$1 a=$2 b=$3
  if [ ! -f "$b" ]; then
    echo "DIFFERS: $what: the second build has no such file" >&2; differences=$((differences + 1))
  elif cmp -s "$a" "$b"; then
    echo "ok: $what"
  else
    echo "DIFFERS: $what ($a, $b)" >&2
    show_difference "$a" "$b"
    differences=$((differences + 1))
  fi
}

case $kind in
  linux)
    elsewhere cmake --build "$second" -j2 >"$work/build.log" 2>&1 || { tail -n 50 "$work/build.log" >&2; fail "the second build"; }
    cpack -G DEB --config "$first/CPackConfig.cmake" -B "$work/deb-first" >"$work/cpack.log" 2>&1 \
      || { cat "$work/cpack.log" >&2; fail "cpack -G DEB in $first"; }
    elsewhere cpack -G DEB --config "$second/CPackConfig.cmake" -B "$work/deb-second" >"$work/cpack.log" 2>&1 \
      || { cat "$work/cpack.log" >&2; fail "cpack -G DEB in $second"; }
    compare bin/quendril "$first/bin/quendril" "$second/bin/quendril"
    deb=$(cd "$work/deb-first" && ls -- *.deb)
    compare "the Debian package ($deb)" "$work/deb-first/$deb" "$work/deb-second/$deb"
    ;;
  windows)
    elsewhere cmake --build "$second" --target quendril_packages -j2 >"$work/build.log" 2>&1 \
      || { tail -n 50 "$work/build.log" >&2; fail "the second build"; }
    [ -d "$first/package" ] || fail "the first build has no packages: build the target quendril_packages"
    files=$(cd "$first/package" && find . -path ./'*'/'*' -type f | LC_ALL=C sort)
    [ -n "$files" ] || fail "the first build's program folder is empty"
    again_files=$(cd "$second/package" && find . -path ./'*'/'*' -type f | LC_ALL=C sort)
    [ "$files" = "$again_files" ] || { diff <(echo "$files") <(echo "$again_files") >&2 || true; fail "the program folders hold other files"; }
    while IFS= read -r file; do
      compare "$file" "$first/package/$file" "$second/package/$file"
    done <<<"$files"
    (cd "$first" && sha256sum -c SHA256SUMS) || fail "SHA256SUMS does not match the downloads"
    for download in "$first"/quendril-*-setup.exe "$first"/quendril-*-windows-x64.zip "$first/SHA256SUMS"; do
      compare "$(basename "$download")" "$download" "$second/$(basename "$download")"
    done
    ;;
  *) fail "usage: reproducible.sh linux|windows SOURCE BUILD EPOCH" ;;
esac
[ "$differences" = 0 ] || fail "$differences file(s) differ between two builds of the same sources"
echo "ok: both builds are identical"
