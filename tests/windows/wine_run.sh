#!/bin/sh
# Runs a Windows program under Wine on the tests' shared desktop, which
# wine_fixture.sh started. CTest uses it as the cross build's emulator.
# Usage: wine_run.sh DIR PROGRAM [ARGUMENT]...
set -eu
dir=$1
shift
[ -f "$dir/env" ] || { echo "wine_run: no Wine desktop in $dir (the wine_desktop fixture starts it)" >&2; exit 1; }
. "$dir/env"
exec wine "$@"
