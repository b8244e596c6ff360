#!/usr/bin/env bash
# wine-prefix.sh PREFIX [stop]: creates the Wine prefix once (the first start
# of a prefix takes many seconds) and starts its server and services ahead of
# the tests, so that each test program starts quickly. "stop" ends them.
set -euo pipefail
prefix=$(realpath -m "$1")
here=$(dirname "$0")
export WINEPREFIX=$prefix
if [ "${2:-}" = stop ]; then
  wineserver -k 2>/dev/null || true
  exit 0
fi
if [ ! -f "$prefix/system.reg" ]; then
  echo "wine: creating prefix $prefix"
  mkdir -p "$prefix"
  "$here/wine-run" "$prefix" wineboot --init >/dev/null
  # The registry reaches the prefix only when the server ends.
  wineserver -w
fi
wineserver -p </dev/null >/dev/null 2>&1 || true
"$here/wine-run" "$prefix" cmd /c exit >/dev/null
