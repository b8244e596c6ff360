#!/usr/bin/env bash
# end_to_end.sh: the program as a person uses it, from outside the process.
# Starts the Windows build under Wine on the prefix's virtual display, types
# 1, Tab, =A1*2, Enter into the new workbook, saves it with Ctrl+S through
# the save dialog, starts the program again on the saved file, and checks
# that the file holds the number, the formula and its result. Screenshots go
# to build/<tier>/artifacts (win32, or win64 where the machine runs no 32-bit
# code: scripts/windows-tier.sh). Needs xdotool and ImageMagick's import; every
# wait is bounded by a count of tries.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/windows-tier.sh
build=build/$windows_tier
program=$build/app/talvero.exe
prefix=$(realpath -m "$build/wineprefix")
artifacts=$build/artifacts
story=$(realpath -m "$build/end_to_end/story.tlv")
mkdir -p "$artifacts" "$(dirname "$story")"
rm -f "$story"
[ -x "$program" ] || { echo "end_to_end: build the $windows_tier preset first" >&2; exit 1; }

export WINEARCH=$windows_tier
bash scripts/wine-prefix.sh "$prefix" >/dev/null
. scripts/wine-arch.sh
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe=d"
export FONTCONFIG_FILE=$prefix/fonts.conf  # the prefix's own fonts (wine-prefix.sh)
export DISPLAY=:$(cat "$prefix/xvfb.display")

wait_window() {  # name pattern -> window id
  local id="" tries=0
  while [ -z "$id" ]; do
    tries=$((tries + 1))
    [ $tries -le 200 ] || { echo "end_to_end: no window \"$1\"" >&2; return 1; }
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] || sleep 0.1
  done
  echo "$id"
}

wait_gone() {  # pid
  local tries=0
  while kill -0 "$1" 2>/dev/null; do
    tries=$((tries + 1))
    [ $tries -le 200 ] || { kill "$1" 2>/dev/null; echo "end_to_end: the program did not end" >&2; return 1; }
    sleep 0.1
  done
}

# 1. A new workbook: type, save with Ctrl+S into the file.
"$wine" "$program" </dev/null >/dev/null 2>&1 &
pid=$!
frame=$(wait_window "^Talvero")
wait_window "New Workbook" >/dev/null
xdotool windowactivate --sync "$frame" 2>/dev/null || xdotool windowfocus --sync "$frame"
sleep 0.5
xdotool type --delay 80 "1"
xdotool key Tab
xdotool type --delay 80 "=A1*2"
xdotool key Return
sleep 0.5
import -window root "$artifacts/end_to_end_typed.png"
xdotool key ctrl+s
dialog=$(wait_window "Save")
sleep 0.5
xdotool windowactivate --sync "$dialog" 2>/dev/null || true
xdotool type --delay 20 "Z:${story//\//\\}"
xdotool key Return
tries=0
until [ -s "$story" ]; do
  tries=$((tries + 1))
  [ $tries -le 200 ] || { echo "end_to_end: the file was not saved" >&2; kill $pid; exit 1; }
  sleep 0.1
done
sleep 0.5
import -window root "$artifacts/end_to_end_saved.png"
xdotool windowactivate --sync "$frame" 2>/dev/null || true
xdotool key alt+F4
wait_gone $pid

# 2. The file opened again from the command line.
"$wine" "$program" "Z:${story//\//\\}" </dev/null >/dev/null 2>&1 &
pid=$!
wait_window "story.tlv" >/dev/null
sleep 1
import -window root "$artifacts/end_to_end_reopened.png"
frame=$(wait_window "^Talvero")
xdotool windowactivate --sync "$frame" 2>/dev/null || true
xdotool key alt+F4
wait_gone $pid

# 3. The file holds 1 in A1 and in B1 the formula with its result 2.
python3 - "$story" <<'PY'
import gzip, struct, sys
body = gzip.open(sys.argv[1]).read()
one, two = struct.pack('<d', 1.0), struct.pack('<d', 2.0)
formula = b'*2'
ok = one in body and two in body and formula in body
print('end_to_end: the saved file holds 1, the formula and its result 2' if ok else 'end_to_end: values missing')
sys.exit(0 if ok else 1)
PY
