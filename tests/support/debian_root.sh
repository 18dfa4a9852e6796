# shellcheck shell=bash
# Sourced by tests/packaging/clean_install.sh and scripts/debian13.sh, which
# make minimal Debian roots with debootstrap:
#
# enter_private_namespaces "$@"
#   Runs the calling script again, from its start, in mount and PID
#   namespaces of its own, and returns in that second run. Whatever it mounts
#   there is never seen on the host and goes when the script ends, and every
#   process it starts ends with it, however it ends (even by SIGKILL, as
#   CTest's timeout ends a test).
# debian_mirror SUITE
#   Prints the first address among this machine's apt sources that serves
#   SUITE (trixie, bookworm-security, ...); fails when none answers, as
#   without a network. The address is read where apt reads it, never written
#   into our files.

enter_private_namespaces() {
  if [ -n "${QUENDRIL_PRIVATE_NAMESPACES:-}" ]; then
    unset QUENDRIL_PRIVATE_NAMESPACES
    return 0
  fi
  # --kill-child: when unshare ends, however it ends, the namespace's first
  # process is killed, and with it every process of the namespace.
  QUENDRIL_PRIVATE_NAMESPACES=1 exec unshare --mount --propagation private --pid --fork --kill-child \
    --mount-proc bash "$0" "$@"
}

# The address of every enabled "deb" source, in apt's order: sources.list,
# then sources.list.d, one-line (*.list) and deb822 (*.sources) alike.
apt_source_uris() {
  local list
  {
    [ -f /etc/apt/sources.list ] && _one_line_uris /etc/apt/sources.list
    for list in /etc/apt/sources.list.d/*; do
      case $list in
        *.list) _one_line_uris "$list" ;;
        *.sources) _deb822_uris "$list" ;;
      esac
    done
  } | awk '!seen[$0]++'
}

# deb [option=value ...] URI SUITE COMPONENT...
_one_line_uris() {
  awk '$1 == "deb" {
    i = 2
    if ($i ~ /^\[/) { while (i <= NF && $i !~ /\]$/) i++; i++ }
    if (i <= NF) print $i
  }' "$1"
}

# Paragraphs of "Field: value" lines; a line that starts with a blank
# continues the field before it.
_deb822_uris() {
  awk '
    function flush(  n, i, u) {
      if (types ~ /(^|[ \t])deb([ \t]|$)/ && tolower(enabled) != "no") {
        n = split(uris, u, /[ \t]+/)
        for (i = 1; i <= n; i++) if (u[i] != "") print u[i]
      }
      types = uris = enabled = field = ""
    }
    /^#/ { next }
    /^[ \t]*$/ { flush(); next }
    /^[ \t]/ { if (field == "uris") uris = uris " " $0; next }
    {
      colon = index($0, ":")
      field = tolower(substr($0, 1, colon - 1))
      value = substr($0, colon + 1)
      gsub(/^[ \t]+|[ \t]+$/, "", value)
      if (field == "types") types = value
      else if (field == "uris") uris = value
      else if (field == "enabled") enabled = value
    }
    END { flush() }' "$1"
}

debian_mirror() {
  local suite=$1 uri probe
  probe=$(mktemp)
  for uri in $(apt_source_uris); do
    uri=${uri%/}
    # apt's own downloader, with apt's proxy settings.
    if timeout 60 /usr/lib/apt/apt-helper download-file "$uri/dists/$suite/Release" "$probe" >/dev/null 2>&1 \
      && [ -s "$probe" ]; then
      rm -f "$probe"
      echo "$uri"
      return 0
    fi
  done
  rm -f "$probe"
  return 1
}
