#!/bin/bash
# appstreamcli validate or validate-tree with --strict: infos and warnings
# fail as well as errors. AppStream before 1.0 does not know the <developer>
# element that AppStream 1.0 asks for instead of <developer_name>, which it
# calls deprecated; there that one unknown element, and no other, is let
# through as a pedantic note.
# Usage: appstream_validate.sh APPSTREAMCLI validate|validate-tree FILE_OR_TREE
# CTest linux: metainfo_valid @appstreamcli@ validate @build@/packaging/@app_id@.metainfo.xml
set -euo pipefail
appstreamcli=$1 command=$2 target=$3
version=$("$appstreamcli" --version | sed -n 's/^AppStream version: *//p')
[ -n "$version" ] || { echo "FAIL: no version from $appstreamcli --version" >&2; exit 1; }
if [ "$(printf '%s\n' 1.0 "$version" | sort -V | head -n 1)" = 1.0 ]; then
  exec "$appstreamcli" "$command" --no-net --strict --explain "$target"
fi
status=0
out=$("$appstreamcli" "$command" --no-net --strict --explain --pedantic --override=unknown-tag=pedantic "$target" 2>&1) \
  || status=$?
printf '%s\n' "$out"
[ "$status" = 0 ] || exit "$status"
unknown=$(grep -o 'unknown-tag [^ ]*' <<<"$out" | sort -u | grep -vx 'unknown-tag developer' || true)
if [ -n "$unknown" ]; then
  echo "FAIL: unknown to AppStream $version: ${unknown//unknown-tag /}" >&2
  exit 1
fi
