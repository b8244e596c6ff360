#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine: on the user's display
# when there is one, else on a virtual display, leaving a screenshot of the
# program's first seconds in build/win32/artifacts/talvero.png. The prefix
# gets a PostScript printer that prints into $WINEPREFIX/drive_c/talvero-printed.ps.
# Usage: scripts/run.sh [arguments for the program]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset win32 --log-level=WARNING
cmake --build --preset win32 -j "$(nproc)" --target talvero install_file_printer

program=build/win32/app/talvero.exe
export WINEPREFIX=${WINEPREFIX:-$PWD/build/win32/run-prefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe=d"

# Wine draws the buttons of the windows it frames itself with the Marlett
# font, which Debian ships with Wine but leaves out of the prefix: without it
# they show as letters.
caption_font() {
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
}

if [ -n "${DISPLAY:-}" ]; then
  # Whole windows whether or not a window manager runs on the display.
  bash scripts/wine-frames.sh "$WINEPREFIX"
  caption_font
  wine build/win32/tools/install_file_printer.exe </dev/null
  exec wine "$program" "$@"
fi

# No display: a virtual one, a screenshot once the window had time to paint,
# then the program is closed.
bash scripts/wine-prefix.sh "$WINEPREFIX"
export DISPLAY=:$(cat "$WINEPREFIX/xvfb.display")
trap 'bash scripts/wine-prefix.sh "$WINEPREFIX" stop' EXIT
caption_font
wine build/win32/tools/install_file_printer.exe </dev/null
wine "$program" "$@" </dev/null >/dev/null 2>&1 &
mkdir -p build/win32/artifacts
sleep "${TALVERO_SCREENSHOT_DELAY:-8}"
import -window root build/win32/artifacts/talvero.png
echo "run: screenshot in build/win32/artifacts/talvero.png"
