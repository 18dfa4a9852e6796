#!/bin/bash
# CTest's fixture for the tests that run under Wine: one desktop shared by
# all of them (starting Wine in a fresh prefix takes a while), its windows
# framed by Wine itself.
# Usage: wine_fixture.sh start|stop DIR
set -euo pipefail
# shellcheck source=wine_session.sh
. "$(dirname "$0")/wine_session.sh"
case $1 in
  start) start_wine_session "$2" unmanaged && echo "Wine desktop on $DISPLAY, prefix $WINEPREFIX" ;;
  stop) stop_wine_session "$2" ;;
  *) echo "usage: wine_fixture.sh start|stop DIR" >&2; exit 2 ;;
esac
