#!/usr/bin/env bash
# Starts the program N times (100 by default) on a 3 x 3 workbook under Wine
# and prints the time of each start-up step: frame created, shown, file in
# the title, exited after close. Usage: scripts/bench-startup.sh [STARTS]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win32 --log-level=WARNING
cmake --build --preset win32 -j4 --target talvero startup_win32_bench
program="Z:$(echo "$PWD/build/win32/app/talvero.exe" | tr / '\\')"
bash scripts/wine-run "$PWD/build/win32/wineprefix" build/win32/bench/startup_win32_bench.exe "$program" "${1:-100}"
