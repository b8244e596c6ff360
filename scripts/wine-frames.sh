#!/usr/bin/env bash
# wine-frames.sh PREFIX: who frames the prefix's windows on $DISPLAY. Wine
# leaves a window's title bar and borders to the window manager, or draws
# them itself when told that none manages its windows ("Managed" N). On a
# display without a window manager only the latter gives whole windows: a
# managed one has no title bar there, and a maximised one keeps the size it
# was created with, cut off. So the prefix is managed where a window manager
# runs and unmanaged elsewhere, and changed only when the display's kind
# differs from the last one's (each change costs a start of Wine).
set -euo pipefail
prefix=$(realpath -m "$1")
export WINEPREFIX=$prefix
. "$(dirname "$0")/wine-arch.sh"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe=d"
export FONTCONFIG_FILE=$prefix/fonts.conf
managed=N
# Window managers announce themselves on the root window (EWMH); one that
# does not is taken for none, which still gives whole windows.
if xprop -display "$DISPLAY" -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
  managed=Y
fi
marker=$prefix/x11-managed
[ "$(cat "$marker" 2>/dev/null)" = "$managed" ] && exit 0
# Into a file, not a pipe: services that Wine starts here inherit the
# output and would hold a pipe open for as long as they live.
said=$(mktemp)
trap 'rm -f "$said"' EXIT
if ! "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f </dev/null >"$said" 2>&1; then
  cat "$said" >&2
  echo "wine: Wine could not record who frames the windows of $prefix; its own words are above" >&2
  exit 1
fi
echo "$managed" >"$marker"
