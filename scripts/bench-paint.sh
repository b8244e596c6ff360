#!/usr/bin/env bash
# Builds the Windows build's painting benchmarks, the whole-column paste
# measured through the screen's text measurer and the recalculation of a
# workbook with totals above and below its data, and runs them under Wine.
# Usage: scripts/bench-paint.sh
set -euo pipefail
cd "$(dirname "$0")/.."
# The build this machine runs (scripts/windows-tier.sh).
. scripts/windows-tier.sh
tier=$windows_tier
export WINEARCH=$tier
cmake --preset "$tier" --log-level=WARNING
cmake --build --preset "$tier" -j4 --target paint_cells_win32_bench paint_containers_win32_bench paste_column_win32_bench \
  recalc_totals_win32_bench
for bench in paint_cells_win32_bench paint_containers_win32_bench paste_column_win32_bench recalc_totals_win32_bench; do
  bash scripts/wine-run "$PWD/build/$tier/wineprefix" "build/$tier/bench/$bench.exe"
done
