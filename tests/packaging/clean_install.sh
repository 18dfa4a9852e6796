#!/bin/bash
# Installs the Debian package with apt into a fresh, minimal Debian 12 root
# (debootstrap --variant=minbase) and starts the installed program there
# against an X server of ours, until its main window shows. Proves that the
# package's dependencies are complete on a system that has nothing else.
# Needs root, debootstrap and the Debian mirror; takes about a minute. Not
# being root, it says so and exits with 77, which CTest reports as skipped.
# Usage: clean_install.sh BUILD_DIR [MIRROR]
set -euo pipefail
build=$(cd "$1" && pwd) mirror=${2:-http://deb.debian.org/debian}
work=$(mktemp -d)
root=$work/root
pids=()
mounts=()
cleanup() {
  kill "${pids[@]}" 2>/dev/null || true
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount -l "${mounts[i]}" 2>/dev/null || true; done
  # Never remove through a mount that is still there: it is the host's.
  for m in "${mounts[@]}"; do
    if mountpoint -q "$m"; then echo "left $work in place: $m is still mounted" >&2; return; fi
  done
  rm -rf --one-file-system "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
[ "$(id -u)" = 0 ] || { echo "SKIP: needs root (debootstrap and chroot)"; exit 77; }
command -v debootstrap >/dev/null || fail "debootstrap is missing (Debian package debootstrap)"

echo "== packaging"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; }
deb=$(echo "$work"/out/*.deb)

echo "== debootstrap --variant=minbase bookworm"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 \
  || { tail -20 "$work/debootstrap.log" >&2; fail "debootstrap"; }
bind() { mkdir -p "$root$1" && mount --bind "$1" "$root$1" && mounts+=("$root$1"); }
mount -t proc proc "$root/proc" && mounts+=("$root/proc")
bind /dev
bind /tmp/.X11-unix
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/"

echo "== apt install ./$(basename "$deb")"
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get update -q >"$work/apt.log" 2>&1
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "/tmp/$(basename "$deb")" \
  >>"$work/apt.log" 2>&1 || { tail -30 "$work/apt.log" >&2; fail "apt install"; }
grep -E '^(Setting up|[0-9]+ upgraded)' "$work/apt.log" | tail -1
echo "ok: the package installs with apt"

echo "== the installed program"
. "$(dirname "$0")/../support/private_x.sh"
start_private_x
chroot "$root" env -i PATH=/usr/bin:/bin HOME=/root XDG_RUNTIME_DIR=/tmp DISPLAY="$DISPLAY" \
  QT_QPA_PLATFORM=xcb /usr/bin/quendril >"$work/program.log" 2>&1 &
pids+=($!)
. "$build/product.env"
caption=$QUENDRIL_CAPTION
window=""
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name "^${caption}\$" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { cat "$work/program.log" >&2; fail "no main window from the installed program"; }
echo "ok: the installed program shows its main window"
chroot "$root" /usr/bin/quendril --version
echo "PASS: clean install on minimal Debian 12"
