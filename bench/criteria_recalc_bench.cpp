// Workbooks where recalculation gathers nothing: a thousand criteria,
// product or lookup formulas over the same thousand rows of constants, each below
// its inputs. What gathering costs the common case shows here, counted in
// instructions inside RecalcWorkbook under callgrind (one pass each):
//   valgrind --tool=callgrind --toggle-collect='RecalcWorkbook*'
//     bench/criteria_recalc_bench --benchmark_filter=SumIf
//   A1:A1000 i % 7, B1:B1000 i, and in C1001:C2000 one of
//     SumIf      =SUMIF(A$1:A$1000,3,B$1:B$1000)
//     CountIf    =COUNTIF(A$1:A$1000,3)
//     SumProduct =SUMPRODUCT(A$1:A$1000,B$1:B$1000)
//     ShortVlookup =VLOOKUP(6,A$1:B$50,2,FALSE) (too few rows for an index)
//     MatchNotAbove =MATCH(500.5,B$1:B$1000,1)
//     Pearson =PEARSON(A$1:A$1000,B$1:B$1000)
//     SumX2PY2 =SUMX2PY2(A$1:A$1000,B$1:B$1000)
//     Mirr =MIRR(A$1:A$1000,0.1)
// Counter: recalc_ms (processor time of the pass).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "bench/cpu_seconds.h"
#include "bench/typed_cell.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "numerics/numeric_function_table.h"

namespace {

constexpr uint32_t kRows = 1000;

void CriteriaRecalc(benchmark::State& state, const char* formula) {
  ResetGlobalOptions();
  CurrentRegionalSettings() = kGenericRegionalSettings;
  InstallFunctionLibrary();
  for (auto _ : state) {
    auto book = std::make_unique<CWorkBook>();
    char text[64];
    bool typed = book->NewDocument();
    CWorkSheet& sheet = *book->activeWorksheet;
    for (uint32_t r = 0; r < kRows && typed; ++r) {
      std::snprintf(text, sizeof text, "%u", r % 7);
      typed = TypeCell(*book, sheet, text, r, 0);
      std::snprintf(text, sizeof text, "%u", r);
      typed = typed && TypeCell(*book, sheet, text, r, 1) && TypeCell(*book, sheet, formula, kRows + r, 2);
    }
    if (!typed) {
      state.SkipWithError("typing failed");
      return;
    }
    const double start = CpuSeconds();
    book->Recalculate(nullptr);
    state.counters["recalc_ms"] = (CpuSeconds() - start) * 1e3;
  }
}

void BM_SumIf(benchmark::State& state) { CriteriaRecalc(state, "=SUMIF(A$1:A$1000,3,B$1:B$1000)"); }
void BM_CountIf(benchmark::State& state) { CriteriaRecalc(state, "=COUNTIF(A$1:A$1000,3)"); }
void BM_SumProduct(benchmark::State& state) { CriteriaRecalc(state, "=SUMPRODUCT(A$1:A$1000,B$1:B$1000)"); }
void BM_ShortVlookup(benchmark::State& state) { CriteriaRecalc(state, "=VLOOKUP(6,A$1:B$50,2,FALSE)"); }
void BM_MatchNotAbove(benchmark::State& state) { CriteriaRecalc(state, "=MATCH(500.5,B$1:B$1000,1)"); }
void BM_Pearson(benchmark::State& state) { CriteriaRecalc(state, "=PEARSON(A$1:A$1000,B$1:B$1000)"); }
void BM_SumX2PY2(benchmark::State& state) { CriteriaRecalc(state, "=SUMX2PY2(A$1:A$1000,B$1:B$1000)"); }
void BM_Mirr(benchmark::State& state) { CriteriaRecalc(state, "=MIRR(A$1:A$1000,0.1)"); }
BENCHMARK(BM_SumIf)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountIf)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SumProduct)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShortVlookup)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchNotAbove)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pearson)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SumX2PY2)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mirr)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
