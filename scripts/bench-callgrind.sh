#!/usr/bin/env bash
# Counts the instructions the recalculations of the benchmark workbooks
# execute (callgrind, collecting inside CWorkBook::Recalculate only), so that
# two builds can be compared without the noise of a shared machine.
# Usage: scripts/bench-callgrind.sh [BUILD_DIR]   (default build/native)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/native}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
count() {  # name, benchmark binary, filter
  valgrind --tool=callgrind --toggle-collect='CWorkBook::Recalculate(CellStore*)' \
    --callgrind-out-file="$out/cg" "$build/bench/$2" --benchmark_filter="$3" >/dev/null 2>&1
  printf '%-22s %s\n' "$1" "$(callgrind_annotate "$out/cg" 2>/dev/null | awk '/PROGRAM TOTALS/ {print $1; exit}')"
}
count arithmetic/10000 recalc_bench 'BM_TypedWorkbookRecalc/10000/'
count families/10000 recalc_bench 'BM_FunctionFamiliesRecalc/10000/'
for rows in 10000 50000 100000; do
  count "mixed/$rows" mixed_workbook_bench "BM_MixedWorkbookRecalc/$rows/"
done
