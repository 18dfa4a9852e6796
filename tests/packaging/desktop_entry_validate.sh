#!/bin/bash
# desktop-file-validate on the desktop entry. It reports warnings and hints
# on its output without failing: any output at all fails the check.
# Usage: desktop_entry_validate.sh DESKTOP_FILE_VALIDATE FILE
# CTest linux: desktop_entry_valid @desktop_file_validate@ @build@/packaging/@app_id@.desktop
set -euo pipefail
status=0
out=$("$1" "$2" 2>&1) || status=$?
printf '%s\n' "$out"
[ "$status" = 0 ] && [ -z "$out" ]
