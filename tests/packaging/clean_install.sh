#!/bin/bash
# Installs the Debian package with apt into a fresh, minimal root of this
# machine's own release (debootstrap --variant=minbase) and starts the
# installed program there against an X server of ours, until its main window
# shows. Proves that the package's dependencies are complete on a system
# that has nothing else. Needs root, debootstrap and the Debian mirror of
# this machine's apt sources; takes about a minute. Without root or without
# an answering mirror it says why and exits with 77, which CTest reports as
# skipped.
#
# It runs in mount and PID namespaces of its own and keeps the root in a
# memory file system mounted there: whatever ends it (CTest's timeout
# kills), nothing stays mounted on the host, no process stays behind and
# the root goes with it.
# Usage: clean_install.sh BUILD_DIR
# CTest linux: clean_install @build@
set -euo pipefail
# shellcheck source=../support/debian_root.sh
. "$(dirname "$0")/../support/debian_root.sh"

skip() {
  echo "SKIP: $*"
  exit 77
}
# shellcheck source=../support/outside_checks.sh
. "$(dirname "$0")/../support/outside_checks.sh"

[ "$(id -u)" = 0 ] || skip "needs root (debootstrap, chroot and mounts)"
command -v debootstrap >/dev/null || fail "debootstrap is missing (Debian package debootstrap)"
# The installed program shows its window on a desktop of the harness.
in_private_desktop packaging -- bash "$0" "$@"
enter_private_namespaces "$@"
# The first process of its PID namespace gets no default signal handling.
trap 'exit 130' INT
trap 'exit 143' TERM

build=$(cd "$1" && pwd)
suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
[ -n "$suite" ] || skip "/etc/os-release names no release to make a root of"
mirror=$(debian_mirror "$suite") || skip "none of this machine's apt sources answers for $suite; no network?"

work=$(mktemp -d)
mount -t tmpfs -o mode=0755 tmpfs "$work"
root=$work/root
pids=()
cleanup() {
  kill "${pids[@]}" 2>/dev/null || true
  # The mounts go with the namespace; the folder that held them stays empty.
  umount -R "$work" 2>/dev/null || umount -l "$work" 2>/dev/null || true
  rmdir "$work" 2>/dev/null || true
}
trap cleanup EXIT

echo "== packaging"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; }
deb=$(echo "$work"/out/*.deb)

echo "== debootstrap --variant=minbase $suite ($mirror)"
debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$work/debootstrap.log" 2>&1 \
  || { tail -20 "$work/debootstrap.log" >&2; fail "debootstrap"; }
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
cp "$deb" "$root/tmp/"
rm -f "$root/etc/resolv.conf"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"

apt_in_root() {
  chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get "$@" >>"$work/apt.log" 2>&1 \
    || { tail -30 "$work/apt.log" >&2; fail "apt-get $*"; }
}
echo "== apt install ./$(basename "$deb")"
apt_in_root update -q
apt_in_root install -y -q "/tmp/$(basename "$deb")"
grep -E '^(Setting up|[0-9]+ upgraded)' "$work/apt.log" | tail -1
echo "ok: the package installs with apt"

echo "== the installed program"
# The harness's X server has made its socket: the program in the root reaches it there.
mkdir -p "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
chroot "$root" env -i PATH=/usr/bin:/bin HOME=/root XDG_RUNTIME_DIR=/tmp DISPLAY="$DISPLAY" \
  QT_QPA_PLATFORM=xcb /usr/bin/quendril >"$work/program.log" 2>&1 &
pids+=($!)
# shellcheck disable=SC1091  # written by the build
. "$build/product.env"
caption=$QUENDRIL_CAPTION
wait_window "$caption" any >/dev/null || { cat "$work/program.log" >&2; fail "no main window from the installed program"; }
echo "ok: the installed program shows its main window"
chroot "$root" /usr/bin/quendril --version
echo "PASS: clean install on a minimal $suite"
