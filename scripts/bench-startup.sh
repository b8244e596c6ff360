#!/usr/bin/env bash
# Starts the program N times (100 by default) on a 3 x 3 workbook under Wine
# and prints the time of each start-up step: frame created, shown, file in
# the title, exited after close. Usage: scripts/bench-startup.sh [STARTS]
set -euo pipefail
cd "$(dirname "$0")/.."
# The build this machine runs (scripts/windows-tier.sh).
. scripts/windows-tier.sh
tier=$windows_tier
export WINEARCH=$tier
cmake --preset "$tier" --log-level=WARNING
cmake --build --preset "$tier" -j4 --target talvero startup_win32_bench
program="Z:$(echo "$PWD/build/$tier/app/talvero.exe" | tr / '\\')"
bash scripts/wine-run "$PWD/build/$tier/wineprefix" build/$tier/bench/startup_win32_bench.exe "$program" "${1:-100}"
