# shellcheck shell=bash
# Sourced by the test scripts that tell the program's windows apart by their
# size (they all carry the same caption). The windows are drawn for the
# default site address, QUENDRIL_DEFAULT_SITE_ROOT; built with a longer one,
# QUENDRIL_SITE_ROOT, a window that shows the address may be taller than
# designed, never wider, and no two windows have the same width.
# has_designed_size WIDTH HEIGHT DESIGNED (e.g. 488x403): true when a window
# of WIDTH x HEIGHT pixels has its designed size: exactly, or with a longer
# address its width and at least its height.
has_designed_size() {
  local width=$1 height=$2 designed=$3
  [ "$width" = "${designed%x*}" ] || return 1
  if [ "${QUENDRIL_SITE_ROOT:-}" = "${QUENDRIL_DEFAULT_SITE_ROOT:-}" ]; then
    [ "$height" = "${designed#*x}" ]
  else
    [ "$height" -ge "${designed#*x}" ]
  fi
}
