#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine: on the user's display
# when there is one, else on a virtual display, leaving a screenshot of the
# program's first seconds in build/<tier>/artifacts/talvero.png. The prefix
# gets a PostScript printer that prints into $WINEPREFIX/drive_c/talvero-printed.ps.
# The program is the 32-bit one where the machine runs 32-bit code, else the
# same program built for 64-bit Windows (scripts/windows-tier.sh).
# Usage: scripts/run.sh [arguments for the program]
set -euo pipefail
cd "$(dirname "$0")/.."
# Before the long build: which program can start here at all.
. scripts/windows-tier.sh
tier=$windows_tier
echo "$windows_tier_line"
export TALVERO_WINDOWS_TIER=$tier
bash scripts/setup.sh
cmake --preset "$tier" --log-level=WARNING
cmake --build --preset "$tier" -j "$(nproc)" --target talvero install_file_printer

program=build/$tier/app/talvero.exe
artifacts=build/$tier/artifacts
export WINEPREFIX=${WINEPREFIX:-$PWD/build/$tier/run-prefix}
export WINEARCH=$tier
. scripts/wine-arch.sh
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe=d"
echo "run: starting the ${tier#win}-bit program $program"

# Wine's words go to a file, not a pipe (services it starts would hold a
# pipe open); on a failure they are shown with a sentence of ours.
said=$(mktemp)
trap 'rm -f "$said"' EXIT
wine_or_fail() {
  local what=$1; shift
  if ! "$wine" "$@" </dev/null >"$said" 2>&1; then
    cat "$said" >&2
    echo "run: Wine could not $what; its own words are above" >&2
    return 1
  fi
}

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
  trap 'rm -f "$said"; "$wineserver" -k 2>/dev/null || true' EXIT
  bash scripts/wine-frames.sh "$WINEPREFIX"
  caption_font
  wine_or_fail "install the test printer" "build/$tier/tools/install_file_printer.exe"
  trap 'rm -f "$said"' EXIT
  "$wine" "$program" "$@" && exit 0
  status=$?
  echo "run: the program ended with status $status" >&2
  exit $status
fi

# No display: a virtual one, a screenshot once the window had time to paint,
# then the program is closed. Whatever fails, the display and Wine's server
# end with the script.
trap 'rm -f "$said"; bash scripts/wine-prefix.sh "$WINEPREFIX" stop' EXIT
bash scripts/wine-prefix.sh "$WINEPREFIX"
export DISPLAY=:$(cat "$WINEPREFIX/xvfb.display")
caption_font
wine_or_fail "install the test printer" "build/$tier/tools/install_file_printer.exe"
"$wine" "$program" "$@" </dev/null >"$said" 2>&1 &
started=$!
mkdir -p "$artifacts"
sleep "${TALVERO_SCREENSHOT_DELAY:-8}"
if ! kill -0 "$started" 2>/dev/null; then
  status=0
  wait "$started" || status=$?
  cat "$said" >&2
  echo "run: the program ended within ${TALVERO_SCREENSHOT_DELAY:-8} seconds (status $status); Wine's words are above" >&2
  exit 1
fi
import -window root "$artifacts/talvero.png"
echo "run: screenshot in $artifacts/talvero.png"
