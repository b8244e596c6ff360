// A total placed above (or beside, or in a column before) the formulas it
// reads, against the same total placed below them. A pass meets such a
// total before its inputs are calculated; each layout should cost about
// what the total below costs, and the same per formula at any size.
//   A1:An the numbers 1..n, B1:Bn =A*2 (the running layout: B1 =A1, then
//   Bi =B(i-1)+Ai), and in column C one total:
//     below          C(n+1) =SUM(B1:Bn)
//     above          C1 =SUM(B1:Bn)
//     whole_column   C1 =SUM(B:B)
//     countif        C1 =COUNTIF(B1:Bn,">100")
//     sumproduct     C1 =SUMPRODUCT(A1:An,B1:Bn)
//     running_above  C1 =SUM(B1:Bn) over the running B
// Counters: recalc_ns_per_formula (a full pass, best of three, processor
// time of this thread), changed_input_ms (A1 typed again, then a pass), and
// wrong (1 when the total differs from the plain computation).
// TALVERO_RECALC_GATHER=0 switches the gathering of uncalculated cells off,
// for the figures of evaluating the total again for each of them.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "bench/cpu_seconds.h"
#include "bench/typed_cell.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "numerics/numeric_function_table.h"

namespace {

enum Layout { kBelow, kAbove, kWholeColumn, kCountIf, kSumProduct, kRunningAbove };

bool Build(CWorkBook& book, Layout layout, uint32_t rows) {
  if (!book.NewDocument()) return false;
  CWorkSheet& sheet = *book.activeWorksheet;
  char text[128];
  for (uint32_t r = 0; r < rows; ++r) {
    std::snprintf(text, sizeof text, "%u", r + 1);
    if (!TypeCell(book, sheet, text, r, 0)) return false;
    if (layout == kRunningAbove && r > 0)
      std::snprintf(text, sizeof text, "=B%u+A%u", r, r + 1);
    else if (layout == kRunningAbove)
      std::snprintf(text, sizeof text, "=A1");
    else
      std::snprintf(text, sizeof text, "=A%u*2", r + 1);
    if (!TypeCell(book, sheet, text, r, 1)) return false;
  }
  uint32_t totalRow = 0;
  switch (layout) {
    case kBelow:
      totalRow = rows;
      std::snprintf(text, sizeof text, "=SUM(B1:B%u)", rows);
      break;
    case kAbove:
    case kRunningAbove:
      std::snprintf(text, sizeof text, "=SUM(B1:B%u)", rows);
      break;
    case kWholeColumn:
      std::snprintf(text, sizeof text, "=SUM(B:B)");
      break;
    case kCountIf:
      std::snprintf(text, sizeof text, "=COUNTIF(B1:B%u,\">100\")", rows);
      break;
    case kSumProduct:
      std::snprintf(text, sizeof text, "=SUMPRODUCT(A1:A%u,B1:B%u)", rows, rows);
      break;
  }
  return TypeCell(book, sheet, text, totalRow, 2);
}

// The total as computed here, for A1 = first.
double Expected(Layout layout, uint32_t rows, double first) {
  double total = 0, running = 0;
  for (uint32_t r = 0; r < rows; ++r) {
    const double a = r == 0 ? first : double(r + 1);
    running += a;
    switch (layout) {
      case kCountIf: total += a * 2 > 100 ? 1 : 0; break;
      case kSumProduct: total += a * (a * 2); break;
      case kRunningAbove: total += running; break;
      default: total += a * 2; break;
    }
  }
  return total;
}

double Total(CWorkBook& book, Layout layout, uint32_t rows) {
  const CellRecord* cell = book.activeWorksheet->cells.GetCell(layout == kBelow ? rows : 0, 2);
  return cell && cell->IsFormula() && !cell->ErrorCode() ? cell->CachedNumber() : -1;
}

void TotalsLayout(benchmark::State& state, Layout layout) {
  const uint32_t rows = uint32_t(state.range(0));
  ResetGlobalOptions();
  CurrentRegionalSettings() = kGenericRegionalSettings;
  InstallFunctionLibrary();
  for (auto _ : state) {
    auto book = std::make_unique<CWorkBook>();
    const char* gather = std::getenv("TALVERO_RECALC_GATHER");
    if (gather && std::strcmp(gather, "0") == 0) book->evaluator.pendingGather.SetEnabled(false);
    if (!Build(*book, layout, rows)) {
      state.SkipWithError("typing failed");
      return;
    }
    double best = 0;
    for (int pass = 0; pass < 3; ++pass) {
      const double start = CpuSeconds();
      book->Recalculate(nullptr);
      const double seconds = CpuSeconds() - start;
      if (pass == 0 || seconds < best) best = seconds;
    }
    bool wrong = Total(*book, layout, rows) != Expected(layout, rows, 1);
    const double start = CpuSeconds();
    wrong = !TypeCell(*book, *book->activeWorksheet, "5", 0, 0) || wrong;
    book->Recalculate(nullptr);
    const double changed = CpuSeconds() - start;
    wrong = wrong || Total(*book, layout, rows) != Expected(layout, rows, 5);
    state.counters["recalc_ns_per_formula"] = best * 1e9 / double(rows + 1);
    state.counters["changed_input_ms"] = changed * 1e3;
    state.counters["wrong"] = wrong;
    if (wrong) state.SkipWithError("the total differs from the plain computation");
  }
}

void BM_TotalBelow(benchmark::State& state) { TotalsLayout(state, kBelow); }
void BM_TotalAbove(benchmark::State& state) { TotalsLayout(state, kAbove); }
void BM_TotalOfWholeColumn(benchmark::State& state) { TotalsLayout(state, kWholeColumn); }
void BM_CountIfAbove(benchmark::State& state) { TotalsLayout(state, kCountIf); }
void BM_SumProductAbove(benchmark::State& state) { TotalsLayout(state, kSumProduct); }
void BM_TotalAboveRunningChain(benchmark::State& state) { TotalsLayout(state, kRunningAbove); }

#define TOTALS_SIZES ->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_TotalBelow) TOTALS_SIZES;
BENCHMARK(BM_TotalAbove) TOTALS_SIZES;
BENCHMARK(BM_TotalOfWholeColumn) TOTALS_SIZES;
BENCHMARK(BM_CountIfAbove) TOTALS_SIZES;
BENCHMARK(BM_SumProductAbove) TOTALS_SIZES;
BENCHMARK(BM_TotalAboveRunningChain) TOTALS_SIZES;

}  // namespace
