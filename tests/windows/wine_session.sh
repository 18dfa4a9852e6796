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
#                            With "unmanaged", Wine frames the windows itself;
#                            otherwise a window manager (Openbox) does, and a
#                            window's X window is its client area.
#   restart_wineserver       ends every Wine process of the prefix and its
#                            wineserver, waits for it to end, and starts it
#                            anew: what Wine reads only when it starts (the
#                            system colours) is read again.
#   stop_wine_session DIR    ends the wineserver, the window manager and the X
#                            server, and removes DIR.
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
  if [ "$mode" = unmanaged ]; then
    # Wine draws the windows' frames itself, as Windows does.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >>"$dir/wineboot.log" 2>&1
  else
    # A window manager frames them; without one Wine waits for it at every
    # window it hides, and can leave a hidden window on the screen.
    openbox --sm-disable </dev/null >"$dir/openbox.log" 2>&1 &
    echo $! >"$dir/wm.pid"
    local _
    for _ in $(seq 300); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
      sleep 0.1
    done
    cat "$dir/openbox.log" >&2
    return 1
  fi
}

restart_wineserver() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  wineserver -w </dev/null >/dev/null 2>&1 || true
  wineserver -p </dev/null >/dev/null 2>&1
}

stop_wine_session() {
  local dir=$1 pid pid_file
  [ -d "$dir" ] || return 0
  if [ -d "$dir/prefix" ]; then
    WINEPREFIX=$dir/prefix wineserver -k >/dev/null 2>&1 || true
  fi
  # Only our own processes: a stale number may belong to another one now.
  for pid_file in wm:openbox x:Xvfb; do
    [ -f "$dir/${pid_file%%:*}.pid" ] || continue
    pid=$(cat "$dir/${pid_file%%:*}.pid")
    if [ -n "$pid" ] && grep -q "${pid_file#*:}" "/proc/$pid/cmdline" 2>/dev/null; then
      kill "$pid" 2>/dev/null || true
    fi
  done
  rm -rf "$dir"
}
