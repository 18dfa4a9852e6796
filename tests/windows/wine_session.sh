# shellcheck shell=bash
# Sourced by the Windows tests run under Wine on Linux: a desktop of their own.
#
#   start_wine_session DIR [unmanaged]
#                            the harness's desktop (tests/support/harness.py
#                            start-desktop): an X server on the first free
#                            display of the "wine" row of
#                            tests/support/x_displays.txt (QUENDRIL_WINE_DISPLAYS,
#                            first-last, to choose others; QUENDRIL_TEST_SCREEN
#                            its screen) and the browser stand-in first on the
#                            PATH, recording every address Wine hands over (read
#                            with "opened"); then a fresh Wine prefix in
#                            DIR/prefix with its wineserver kept running and a
#                            throwaway home; the environment is exported and
#                            written to DIR/env.
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

wine_harness=$(cd "$(dirname "${BASH_SOURCE[0]}")/../support" && pwd)/harness.py

start_wine_session() {
  local dir=$1 mode=${2:-managed} display
  stop_wine_session "$dir"
  mkdir -p "$dir/home"
  display=$(QUENDRIL_TEST_DISPLAYS=${QUENDRIL_WINE_DISPLAYS:-} python3 "$wine_harness" start-desktop "$dir" \
    --displays wine --screen "${QUENDRIL_TEST_SCREEN:-1280x1024x24}") || return 1

  # Wine places the data it shares with Windows programs at fixed addresses;
  # where Linux has randomly put something else there, the program fails to
  # start ("failed to map the shared user data", seen here now and then). Its
  # programs run without that randomness.
  local wine
  wine=$(command -v wine) || { echo "FAIL: no wine on the PATH" >&2; return 1; }
  printf '#!/bin/sh\nexec setarch -R %s "$@"\n' "'$wine'" >"$dir/bin/wine"
  chmod 755 "$dir/bin/wine"

  cat >"$dir/env" <<ENV
export DISPLAY='$display'
export HOME='$dir/home'
export WINEPREFIX='$dir/prefix'
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
export PATH='$dir/bin':"\$PATH"
export QUENDRIL_BROWSER_RECORD='$dir/bin/opened'
unset XDG_RUNTIME_DIR
ENV
  # shellcheck disable=SC1091
  . "$dir/env"
  # The server is started first and kept for the session, so that no program
  # has to start one or meets one ending after idling. It needs the prefix's
  # folder, which wineboot then fills.
  mkdir -p "$WINEPREFIX"
  wineserver -p </dev/null >"$dir/wineserver.log" 2>&1 \
    || { echo "FAIL: no wineserver for $WINEPREFIX:" >&2; cat "$dir/wineserver.log" >&2; return 1; }
  # Wine's errors are shown should the prefix not be made.
  WINEDEBUG=err+all wine wineboot --init </dev/null >"$dir/wineboot.log" 2>&1 \
    || { echo "FAIL: wineboot could not make $WINEPREFIX:" >&2; cat "$dir/wineboot.log" >&2; return 1; }
  if [ "$mode" = unmanaged ]; then
    # Wine draws the windows' frames itself, as Windows does.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >>"$dir/wineboot.log" 2>&1 \
      || { echo "FAIL: Wine's window frames could not be set:" >&2; cat "$dir/wineboot.log" >&2; return 1; }
  else
    # A window manager frames them; without one Wine waits for it at every
    # window it hides, and can leave a hidden window on the screen.
    python3 "$wine_harness" start-window-manager "$dir"
  fi
}

restart_wineserver() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  wineserver -w </dev/null >/dev/null 2>&1 || true
  wineserver -p </dev/null >/dev/null 2>&1
}

stop_wine_session() {
  local dir=$1
  [ -d "$dir" ] || return 0
  if [ -d "$dir/prefix" ]; then
    # Waited for: a new prefix made here at once could reach the old server.
    WINEPREFIX=$dir/prefix wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX=$dir/prefix wineserver -w >/dev/null 2>&1 || true
  fi
  python3 "$wine_harness" stop-desktop "$dir" || true
  rm -rf "$dir"
}
