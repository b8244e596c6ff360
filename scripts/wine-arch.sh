#!/usr/bin/env bash
# Sourced by the scripts that start Wine. Picks Wine's loader and server for
# $WINEARCH (win32 unless set): the 32-bit program runs under Debian's `wine`
# as ever; the 64-bit one under the 64-bit loader and server themselves,
# since `wine` prefers the 32-bit loader wherever wine32 is installed, and
# a 64-bit prefix refuses it. Sets wine and wineserver to the commands.
export WINEARCH=${WINEARCH:-win32}
case "$WINEARCH" in
  win64)
    wine=/usr/lib/wine/wine64
    wineserver=/usr/lib/wine/wineserver64
    # Programs the program starts (Wine's own, a test's second program)
    # find the same loader and server through these.
    export WINELOADER=$wine WINESERVER=$wineserver ;;
  win32)
    wine=wine
    wineserver=wineserver ;;
  *)
    echo "wine: WINEARCH is '$WINEARCH'; win32 or win64" >&2
    exit 2 ;;
esac
