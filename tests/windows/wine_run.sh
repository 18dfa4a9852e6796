#!/bin/bash
# Runs a Windows program under Wine on the tests' shared desktop, which
# wine_fixture.sh started. CTest uses it as the cross build's emulator.
# Usage: wine_run.sh DIR PROGRAM [ARGUMENT]...
set -euo pipefail
dir=$1
shift
[ -f "$dir/env" ] || { echo "wine_run: no Wine desktop in $dir (the wine_desktop fixture starts it)" >&2; exit 1; }
# shellcheck disable=SC1091  # written by wine_fixture.sh
. "$dir/env"
# Wine keeps the QT_ variables of the Unix environment from Windows programs,
# so that the host's Qt settings stay out of them; a name with WINE before it
# is handed through. The test's own QT_ variables are meant for the program.
for name in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
  export "WINE$name=$(printenv "$name")"
done
# QtTest on Windows writes its report through OutputDebugString, which
# nothing shows here, unless it is told to use the standard streams.
export WINEQT_FORCE_STDERR_LOGGING=1
exec wine "$@"
