# shellcheck shell=bash
# Sourced by the Windows tests run under Wine on Linux: a desktop of their own.
#
#   start_wine_session DIR [unmanaged]
#                            an X server of ours on the first free display of
#                            QUENDRIL_WINE_DISPLAYS (default: the "wine" row of
#                            tests/support/x_displays.txt), a fresh
#                            Wine prefix in DIR/prefix with its wineserver kept
#                            running, a throwaway home, and a browser stand-in
#                            first on the PATH that records every address Wine
#                            hands over (DIR/opened, one a line); the
#                            environment is exported and written to DIR/env.
#                            With "unmanaged", Wine frames the windows itself
#                            (see below); otherwise a window's X window is its
#                            client area, as a window manager would frame it.
#   stop_wine_session DIR    ends the wineserver and the X server, removes DIR.
#
# Wine asks to download Mono and Gecko when a prefix is made, and would add
# menu entries to the real desktop for shortcuts made inside it: neither is
# wanted here. Its own debugging output is switched off.

start_wine_session() {
  local dir=$1 mode=${2:-managed} work pids=()
  work=$dir
  stop_wine_session "$dir"
  mkdir -p "$dir/home" "$dir/bin"
  : >"$dir/opened"
  printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\n' "$dir/opened" >"$dir/bin/xdg-open"
  chmod 755 "$dir/bin/xdg-open"

  . "$(dirname "${BASH_SOURCE[0]}")/../support/private_x.sh"
  QUENDRIL_TEST_DISPLAYS=${QUENDRIL_WINE_DISPLAYS:-} start_private_x wine || return 1
  echo "${pids[0]}" >"$dir/x.pid"

  cat >"$dir/env" <<ENV
export DISPLAY='$DISPLAY'
export HOME='$dir/home'
export WINEPREFIX='$dir/prefix'
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
export PATH='$dir/bin':"\$PATH"
unset XDG_RUNTIME_DIR
ENV
  # shellcheck disable=SC1091
  . "$dir/env"
  wineserver -p </dev/null >/dev/null 2>&1
  wine wineboot --init </dev/null >"$dir/wineboot.log" 2>&1 || { cat "$dir/wineboot.log" >&2; return 1; }
  # There is no window manager on this desktop, and Wine waits two seconds
  # for one at every window that is hidden. Unmanaged, it draws the windows'
  # frames itself, as Windows does, and waits for nothing.
  if [ "$mode" = unmanaged ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >>"$dir/wineboot.log" 2>&1
  fi
}

stop_wine_session() {
  local dir=$1 pid
  [ -d "$dir" ] || return 0
  if [ -d "$dir/prefix" ]; then
    WINEPREFIX=$dir/prefix wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -f "$dir/x.pid" ]; then
    pid=$(cat "$dir/x.pid")
    # Only our own X server: a stale number may belong to another process now.
    if [ -n "$pid" ] && grep -q Xvfb "/proc/$pid/cmdline" 2>/dev/null; then
      kill "$pid" 2>/dev/null || true
    fi
  fi
  rm -rf "$dir"
}
