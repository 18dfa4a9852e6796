#!/bin/bash
# The test suite on Debian 13 (GCC 14, Qt 6.8) besides this machine's own
# system: builds the program with warnings as errors and runs every test in
# a minimal Debian 13 root (debootstrap --variant=minbase trixie), kept
# between runs in ${XDG_CACHE_HOME:-~/.cache}/quendril/debian13 and brought
# up to date once it is a week old. A root that was left half-made or broke
# is made anew. The root installs what the tests need with this checkout's
# scripts/install-deps.sh and builds this checkout's files as they are:
# tracked ones and new ones git does not ignore, changes included.
#
# Needs root, debootstrap, and the Debian mirror of this machine's apt
# sources to make or refresh the root. Where it cannot run it says
# "SKIPPED: ..." and exits with 0; anything else that goes wrong fails it.
#
# It runs in mount and PID namespaces of its own, so whatever ends it,
# nothing it mounted stays on the host and none of its processes stays
# behind; the tests run without a network, in a network namespace of their
# own. clean_install does not run here: it makes a Debian root of its own.
#
#   --prepare                     only make or refresh the root and install
#                                 what the tests need; the test command does
#                                 this in the background while it builds
#   --run COMMAND [ARGUMENT...]   run COMMAND in the root, in this checkout
#                                 and with the Quendril cache, both seen
#                                 there at their own paths; the network and
#                                 the QUENDRIL_* settings go with it. The
#                                 Windows build runs so (build-windows.sh),
#                                 and fails, not skips, where it cannot.
#   QUENDRIL_DEBIAN13_SHARE       with --run: more host folders, separated
#                                 by ":", seen at their own paths, such as
#                                 the one holding a signing certificate
#   QUENDRIL_DEBIAN13_PASS        with --run: the names of more environment
#                                 variables to hand on, such as a signing
#                                 service's settings
#   QUENDRIL_DEBIAN13_SITE_ROOT   the site root to build with; by default a
#                                 60-character one, for the windows to show
#                                 a long address
set -euo pipefail
cd "$(dirname "$0")/.."
checkout=$PWD
# shellcheck source=../tests/support/debian_root.sh
. tests/support/debian_root.sh

mode=${1:-test}
case $mode in
  test | --prepare | --run) ;;
  *) echo "usage: debian13.sh [--prepare | --run COMMAND [ARGUMENT...]]" >&2; exit 2 ;;
esac
fail_prefix="Debian 13 stage"
if [ "$mode" = --run ]; then
  [ $# -ge 2 ] || { echo "usage: debian13.sh [--prepare | --run COMMAND [ARGUMENT...]]" >&2; exit 2; }
  fail_prefix="Debian 13 root"
fi
# shellcheck source=../tests/support/checks.sh
. tests/support/checks.sh
skip() {
  [ "$mode" != --run ] || fail "$*"
  echo "SKIPPED: Debian 13 stage: $*"
  exit 0
}

[ "$(id -u)" = 0 ] || skip "needs root (debootstrap, chroot and mounts)"
command -v debootstrap >/dev/null || skip "needs debootstrap (Debian package debootstrap)"
git -C "$checkout" rev-parse --is-inside-work-tree >/dev/null 2>&1 \
  || fail "this checkout is no git work tree, so its files cannot be told from build output"
enter_private_namespaces "$@"
# The first process of its PID namespace gets no default signal handling.
trap 'exit 130' INT
trap 'exit 143' TERM

started=$SECONDS
site_root=${QUENDRIL_DEBIAN13_SITE_ROOT:-https://www.a-rather-long-maker-site-name-for-tester.example}
cache_home=${XDG_CACHE_HOME:-$HOME/.cache}
cache=$cache_home/quendril/debian13
root=$cache/root
# Written once the root is whole; its age is the root's.
ready=$cache/ready
work=/quendril
mkdir -p "$cache"
exec 9>"$cache/lock"
flock -n 9 || {
  echo "waiting for another run of the Debian 13 stage"
  flock 9
}

in_root() {
  chroot "$root" env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}

# Runs a long step with its output in a log, shown when it fails.
logged() {
  local log=$cache/$1.log
  shift
  "$@" >"$log" 2>&1 || {
    tail -n 40 "$log" >&2
    return 1
  }
}

write_apt_sources() {
  local mirror=$1 suite uri
  echo "deb $mirror trixie main" >"$root/etc/apt/sources.list"
  for suite in trixie-updates trixie-security; do
    if uri=$(debian_mirror "$suite"); then
      echo "deb $uri $suite main" >>"$root/etc/apt/sources.list"
    fi
  done
}

make_root() {
  local mirror
  mirror=$(debian_mirror trixie) \
    || skip "none of this machine's apt sources answers for Debian 13 (trixie); no network?"
  echo "== debootstrap --variant=minbase trixie ($mirror)"
  logged debootstrap debootstrap --variant=minbase trixie "$root" "$mirror" || fail "debootstrap"
  write_apt_sources "$mirror"
  # No package starts a service in the root.
  printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
  chmod +x "$root/usr/sbin/policy-rc.d"
  touch "$ready"
}

remove_root() {
  rm -rf --one-file-system "$root" "$ready"
}

whole() {
  [ -f "$ready" ] && [ -x "$root/usr/bin/apt-get" ] && chroot "$root" /bin/true 2>/dev/null
}

mount_root() {
  mount -t proc proc "$root/proc"
  mount --bind /dev "$root/dev"
  mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
  mount -t tmpfs tmpfs "$root/dev/shm"
  mount --bind /sys "$root/sys"
  mount -o remount,bind,ro "$root/sys"
  mount -t tmpfs tmpfs "$root/tmp"
  mount -t tmpfs tmpfs "$root/run"
  rm -f "$root/etc/resolv.conf"
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"
}

unmount_root() {
  local point
  for point in run tmp sys dev/shm dev/pts dev proc; do
    if mountpoint -q "$root/$point"; then umount -l "$root/$point"; fi
  done
}

# A week after it was made or last brought up to date, the root takes in
# Debian 13's updates; the build starts afresh, as the compiler or Qt may
# have changed. Without a network the root serves as it is.
refresh_root() {
  local mirror
  [ -n "$(find "$ready" -mmin +$((7 * 24 * 60)))" ] || return 0
  if ! mirror=$(debian_mirror trixie); then
    echo "note: the Debian 13 root is more than a week old and no mirror answers; it serves as it is"
    return 0
  fi
  echo "== bringing the Debian 13 root up to date"
  write_apt_sources "$mirror"
  logged apt-update in_root apt-get update -q || fail "apt-get update in the Debian 13 root"
  logged apt-upgrade in_root apt-get full-upgrade -y -q || fail "apt-get full-upgrade in the Debian 13 root"
  in_root apt-get clean
  rm -rf "${root:?}$work/build"
  touch "$ready"
}

# The checkout's files into the root. A file whose content is unchanged
# since the last run keeps its time there, so that the build redoes only
# what changed, even from a fresh clone.
copy_checkout() {
  local new=$root$work/src.new old=$root$work/src
  rm -rf "$new"
  mkdir -p "$new" "$old"
  git -C "$checkout" ls-files -z --cached --others --exclude-standard \
    | (cd "$checkout" && while IFS= read -r -d '' file; do
      if [ -e "$file" ] || [ -L "$file" ]; then printf '%s\0' "$file"; fi
    done) \
    | tar -C "$checkout" --null -T - -cf - | tar -C "$new" -xf -
  (cd "$new" && find . -type f -print0) | while IFS= read -r -d '' file; do
    if [ -f "$old/$file" ] && cmp -s "$new/$file" "$old/$file"; then
      touch -r "$old/$file" "$new/$file"
    else
      touch "$new/$file"
    fi
  done
  rm -rf "$old"
  mv "$new" "$old"
}

# A root that was left half-made is made anew; one whose package
# installation was cut off finishes it, and is made anew if it cannot.
if ! whole; then
  if [ -e "$root" ] || [ -e "$ready" ]; then echo "== the Debian 13 root was left unfinished: it is made anew"; fi
  remove_root
  make_root
fi
mount_root
if ! logged dpkg-configure in_root dpkg --configure -a || [ -n "$(in_root dpkg --audit)" ]; then
  echo "== the Debian 13 root is broken: it is made anew"
  unmount_root
  remove_root
  make_root
  mount_root
fi
refresh_root
copy_checkout
# What the tests need, here and on Windows, with the checkout's own list;
# nothing when all is there.
logged install-deps in_root "$work/src/scripts/install-deps.sh" test windows-test \
  || fail "installing what the tests need"
in_root apt-get clean
echo "== Debian 13 root ready ($((SECONDS - started)) s): $(in_root dpkg-query -W -f '${Version}' qt6-base-dev) Qt," \
  "GCC $(in_root gcc -dumpfullversion)"
[ "$mode" != --prepare ] || exit 0

if [ "$mode" = --run ]; then
  shift
  # A folder of the host, seen at its own path in the root.
  share() {
    mkdir -p "$1" "$root$1"
    mount --bind "$1" "$root$1"
  }
  share "$checkout"
  share "$cache_home/quendril"
  # A smart card's daemon, for a signing key held on a token.
  if [ -d /run/pcscd ]; then share /run/pcscd; fi
  IFS=: read -ra folders <<<"${QUENDRIL_DEBIAN13_SHARE:-}"
  for folder in "${folders[@]}"; do
    [ -z "$folder" ] || { [ -d "$folder" ] && share "$(realpath -s "$folder")"; } \
      || fail "QUENDRIL_DEBIAN13_SHARE names $folder, which is no folder"
  done
  settings=()
  while IFS= read -r name; do settings+=("$name=${!name}"); done < <(compgen -e | grep '^QUENDRIL_' || true)
  for name in ${QUENDRIL_DEBIAN13_PASS:-}; do
    if [ -n "${!name+set}" ]; then settings+=("$name=${!name}"); fi
  done
  cd /
  # Not exec'd: this shell, the first process of the namespace, keeps the
  # traps that end it on INT and TERM.
  chroot "$root" env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive XDG_CACHE_HOME="$cache_home" "${settings[@]}" \
    QUENDRIL_IN_DEBIAN13=1 bash -c 'cd "$1" && shift && exec "$@"' bash "$checkout" "$@"
  exit 0
fi

echo "== build (site root $site_root)"
in_root cmake -S "$work/src" -B "$work/build" -DBUILD_TESTING=ON -DCMAKE_BUILD_TYPE=Release \
  -DQUENDRIL_WERROR=ON -DQUENDRIL_SITE_ROOT="$site_root" >"$cache/configure.log" 2>&1 \
  || { cat "$cache/configure.log" >&2; fail "configuring"; }
in_root cmake --build "$work/build" -j2 || fail "building"

echo "== tests"
unshare --net chroot "$root" env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  HOME=/root LANG=C.UTF-8 ctest --test-dir "$work/build" --output-on-failure -j2 -E '^clean_install$' \
  || fail "tests failed (site root $site_root)"
echo "PASS: Debian 13 stage ($((SECONDS - started)) s)"
