#!/usr/bin/env bash
# Builds the Windows build's painting benchmarks, the whole-column paste
# measured through the screen's text measurer and the recalculation of a
# workbook with totals above and below its data, and runs them under Wine.
# Usage: scripts/bench-paint.sh
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win32 --log-level=WARNING
cmake --build --preset win32 -j4 --target paint_cells_win32_bench paint_containers_win32_bench paste_column_win32_bench \
  recalc_totals_win32_bench
for bench in paint_cells_win32_bench paint_containers_win32_bench paste_column_win32_bench recalc_totals_win32_bench; do
  bash scripts/wine-run "$PWD/build/win32/wineprefix" "build/win32/bench/$bench.exe"
done
