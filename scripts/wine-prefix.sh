#!/usr/bin/env bash
# wine-prefix.sh PREFIX [stop]: creates the Wine prefix once (the first start
# of a prefix takes many seconds) and starts its server and services ahead of
# the tests, so that each test program starts quickly. "stop" ends them.
#
# Window tests need an X display. Each prefix gets its own virtual one (Xvfb),
# so tests run the same on a machine without a screen, in CI, and next to other
# builds on a shared machine, and never put windows on a person's desktop.
# wine-run reads the display number from the prefix.
set -euo pipefail
prefix=$(realpath -m "$1")
here=$(dirname "$0")
export WINEPREFIX=$prefix
# WINEARCH (win32 unless set) says which build's prefix this is.
. "$here/wine-arch.sh"
pidfile=$prefix/xvfb.pid
displayfile=$prefix/xvfb.display

display_running() {
  [ -f "$pidfile" ] && [ -s "$displayfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null
}

stop_display() {
  if [ -f "$pidfile" ]; then
    kill "$(cat "$pidfile")" 2>/dev/null || true
  fi
  rm -f "$pidfile" "$displayfile"
}

start_display() {
  display_running && return 0
  stop_display
  mkdir -p "$prefix"
  # -displayfd makes Xvfb choose the first free display number and write it.
  setsid Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 \
    3>"$displayfile.new" </dev/null >"$prefix/xvfb.log" 2>&1 &
  echo $! >"$pidfile"
  local tries=0
  until [ -s "$displayfile.new" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 200 ] || ! kill -0 "$(cat "$pidfile")" 2>/dev/null; then
      echo "wine: the virtual display did not start (see $prefix/xvfb.log)" >&2
      exit 1
    fi
    sleep 0.05
  done
  tr -dc 0-9 <"$displayfile.new" >"$displayfile"
  rm -f "$displayfile.new"
}

stop_all() {
  "$wineserver" -k 2>/dev/null || true
  stop_display
}

if [ "${2:-}" = stop ]; then
  stop_all
  exit 0
fi
# Whatever fails below leaves no display or server behind.
trap 'status=$?; [ $status -eq 0 ] || stop_all; exit $status' EXIT
start_display
export DISPLAY=:$(cat "$displayfile")
# The prefix's fonts are the tests' own: Wine sees no font of the machine's
# fontconfig (whose newer Liberation 2.x, which LibreOffice brings, Wine
# would prefer and draw with), only its own and the ones copied below.
# wine-run points every program of the prefix at this configuration.
mkdir -p "$prefix"
cat >"$prefix/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <cachedir>$prefix/fontconfig-cache</cachedir>
</fontconfig>
CONF
export FONTCONFIG_FILE=$prefix/fonts.conf
# Before the prefix is made: making it measures the system fonts, and
# keeps what it measured.
bash "$here/wine-fonts.sh" "$prefix"
if [ ! -f "$prefix/system.reg" ]; then
  echo "wine: creating the $WINEARCH prefix $prefix"
  if ! made=$("$here/wine-run" "$prefix" wineboot --init 2>&1); then
    printf '%s\n' "$made" >&2
    echo "wine: Wine could not create the prefix $prefix; its own words are above" >&2
    exit 1
  fi
  # The registry reaches the prefix only when the server ends.
  "$wineserver" -w
fi
"$wineserver" -p </dev/null >/dev/null 2>&1 || true
# No window manager runs on the virtual display: Wine frames the windows
# itself, and does not wait two seconds for a manager whenever a managed
# window is hidden or destroyed.
bash "$here/wine-frames.sh" "$prefix"
if ! started=$("$here/wine-run" "$prefix" cmd /c exit 2>&1); then
  printf '%s\n' "$started" >&2
  echo "wine: Wine could not start a program in the prefix $prefix; its own words are above" >&2
  exit 1
fi
