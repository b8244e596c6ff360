// Totals placed above the formulas they read, against the same totals placed
// below them. A pass meets a total above before its inputs are calculated;
// each layout should cost about what it costs below, and the same per
// formula at any size.
//   A1:An the numbers 1..n, B1:Bn =A*2 (the running layout: B1 =A1, then
//   Bi =B(i-1)+Ai), and in the first row (above) or the row after the data
//   (below) the layout's totals, from column C on. {n} stands for n, {h} for
//   n/2 and {2n} for 2n in the totals' texts.
// The data is typed and calculated before the totals are typed. Counters:
// recalc_ns_per_formula (a full pass, best of three, the first one after
// the totals were typed included; processor time of this thread, per
// formula of the workbook), changed_input_ms (A1 typed again, then a pass),
// filled_ms (column B typed again as =A*3, then a pass: every value it
// held changes) and wrong (1 when a total above differs from the same total
// below, after any of these).
// TALVERO_RECALC_GATHER=0 switches the gathering of uncalculated cells off,
// for the figures of evaluating a total again for each of them.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "bench/cpu_seconds.h"
#include "bench/timed_book.h"
#include "bench/total_passes.h"
#include "bench/typed_cell.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "numerics/numeric_function_table.h"

namespace {

struct Layout {
  const char* totals[3];  // unused ones null
  bool running;
};

const Layout kSum = {{"=SUM(B1:B{n})"}, false};
const Layout kWholeColumn = {{"=SUM(B:B)"}, false};
const Layout kCountIf = {{"=COUNTIF(B1:B{n},\">100\")"}, false};
const Layout kSumProduct = {{"=SUMPRODUCT(A1:A{n},B1:B{n})"}, false};
const Layout kRunning = {{"=SUM(B1:B{n})"}, true};
const Layout kAverage = {{"=AVERAGE(B1:B{n})"}, false};
const Layout kStdev = {{"=STDEV(B1:B{n})"}, false};
const Layout kVar = {{"=VAR(B1:B{n})"}, false};
const Layout kMedian = {{"=MEDIAN(B1:B{n})"}, false};
const Layout kLarge = {{"=LARGE(B1:B{n},3)"}, false};
const Layout kSmall = {{"=SMALL(B1:B{n},3)"}, false};
const Layout kRank = {{"=RANK(B{h},B1:B{n})"}, false};
const Layout kCountBlank = {{"=COUNTBLANK(B1:B{n})"}, false};
const Layout kVlookup = {{"=VLOOKUP({2n},B1:B{n},1,FALSE)"}, false};
const Layout kMatch = {{"=MATCH({2n},B1:B{n},0)"}, false};
const Layout kMatchNotAbove = {{"=MATCH({n},B1:B{n},1)"}, false};
const Layout kMaxOfProducts = {{"=MAX((B1:B{n}>100)*B1:B{n})"}, false};
const Layout kSumOfArray = {{"=SUM(B1:B{n}*2)"}, false};
const Layout kSumProductOfArray = {{"=SUMPRODUCT(B1:B{n}*1)"}, false};
const Layout kCorrel = {{"=CORREL(A1:A{n},B1:B{n})"}, false};
const Layout kSlope = {{"=SLOPE(B1:B{n},A1:A{n})"}, false};
const Layout kNpv = {{"=NPV(0.1,B1:B{n})"}, false};
const Layout kOr = {{"=OR(B1:B{n})"}, false};
const Layout kSumX2MY2 = {{"=SUMX2MY2(A1:A{n},B1:B{n})"}, false};
const Layout kTtest = {{"=TTEST(A1:A{n},B1:B{n},2,1)"}, false};
const Layout kMode = {{"=MODE(B1:B{n})"}, false};
const Layout kPercentile = {{"=PERCENTILE(B1:B{n},0.3)"}, false};
const Layout kTrimMean = {{"=TRIMMEAN(B1:B{n},0.1)"}, false};
const Layout kSubtotal = {{"=SUBTOTAL(9,B1:B{n})"}, false};
const Layout kCountA = {{"=COUNTA(B1:B{n})"}, false};
const Layout kKurt = {{"=KURT(B1:B{n})"}, false};
const Layout kGcd = {{"=GCD(B1:B{n})"}, false};
const Layout kForecast = {{"=FORECAST(5,B1:B{n},A1:A{n})"}, false};
const Layout kZtest = {{"=ZTEST(B1:B{n},5)"}, false};
const Layout kIrr = {{"=IRR(B1:B{n})"}, false};
const Layout kIndex = {{"=INDEX(B1:B{n},{h})"}, false};
const Layout kSumIfOverFormulas = {{"=SUMIF(B1:B{n},\">100\",B1:B{n})"}, false};
const Layout kAverageIf = {{"=AVERAGEIF(B1:B{n},\">100\")"}, false};
const Layout kMmult = {{"=SUM(MMULT(TRANSPOSE(B1:B{n}),A1:A{n}))"}, false};
const Layout kLarge2 = {{"=LARGE(B1:B{n},{h})"}, false};
const Layout kQuartile = {{"=QUARTILE(B1:B{n},1)"}, false};
const Layout kDevSq = {{"=DEVSQ(B1:B{n})"}, false};
const Layout kGeoMean = {{"=GEOMEAN(B1:B{n})"}, false};
const Layout kConcat = {{"=LEN(CONCATENATE(B1:B{n}))"}, false};
const Layout kFrequency = {{"=SUM(FREQUENCY(B1:B{n},A1:A10))"}, false};
const Layout kLinest = {{"=INDEX(LINEST(B1:B{n},A1:A{n}),1)"}, false};
const Layout kCounts = {{"=COUNTIFS(B1:B{n},\">5\",A1:A{n},\"<50\")"}, false};
const Layout kStatisticsRow = {{"=STDEV(B1:B{n})", "=MEDIAN(B1:B{n})", "=SUM(B1:B{n})"}, false};

// Column B's formulas, times factor.
bool FillFormulas(CWorkBook& book, const Layout& layout, uint32_t rows, int factor) {
  CWorkSheet& sheet = *book.activeWorksheet;
  char text[128];
  for (uint32_t r = 0; r < rows; ++r) {
    if (layout.running && r > 0)
      std::snprintf(text, sizeof text, "=B%u+A%u*%d", r, r + 1, factor - 1);
    else if (layout.running)
      std::snprintf(text, sizeof text, "=A1");
    else
      std::snprintf(text, sizeof text, "=A%u*%d", r + 1, factor);
    if (!TypeCell(book, sheet, text, r, 1)) return false;
  }
  return true;
}

// The data typed and calculated, then the totals typed, as a user builds it.
bool Build(CWorkBook& book, const Layout& layout, bool above, uint32_t rows) {
  if (!book.NewDocument()) return false;
  CWorkSheet& sheet = *book.activeWorksheet;
  char text[128];
  for (uint32_t r = 0; r < rows; ++r) {
    std::snprintf(text, sizeof text, "%u", r + 1);
    if (!TypeCell(book, sheet, text, r, 0)) return false;
  }
  if (!FillFormulas(book, layout, rows, 2) || !book.Recalculate(nullptr)) return false;
  for (uint16_t i = 0; i < 3 && layout.totals[i]; ++i)
    if (!TypeCell(book, sheet, Expand(layout.totals[i], rows).c_str(), TotalRow(above, rows), uint16_t(2 + i)))
      return false;
  return true;
}

// Whether the totals of two workbooks of one layout hold the same value.
bool SameTotals(CWorkBook& a, bool aboveA, CWorkBook& b, bool aboveB, const Layout& layout, uint32_t rows) {
  for (uint16_t i = 0; i < 3 && layout.totals[i]; ++i) {
    if (!SameTotalCells(a.activeWorksheet->cells.GetCell(TotalRow(aboveA, rows), uint16_t(2 + i)),
                        b.activeWorksheet->cells.GetCell(TotalRow(aboveB, rows), uint16_t(2 + i))))
      return false;
  }
  return true;
}

void TotalsLayout(benchmark::State& state, const Layout& layout, bool above) {
  const uint32_t rows = uint32_t(state.range(0));
  StartAsTheProgram();
  for (auto _ : state) {
    auto book = NewTimedBook();
    // The same totals below the data, where nothing waits, tell the values.
    auto reference = std::make_unique<CWorkBook>();
    if (!Build(*book, layout, above, rows) || !Build(*reference, layout, false, rows)) {
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
    reference->Recalculate(nullptr);
    bool wrong = !SameTotals(*book, above, *reference, false, layout, rows);
    const double start = CpuSeconds();
    wrong = !TypeCell(*book, *book->activeWorksheet, "5", 0, 0) || wrong;
    book->Recalculate(nullptr);
    const double changed = CpuSeconds() - start;
    wrong = !TypeCell(*reference, *reference->activeWorksheet, "5", 0, 0) || wrong;
    reference->Recalculate(nullptr);
    wrong = wrong || !SameTotals(*book, above, *reference, false, layout, rows);
    // Column B filled anew under the totals: every value it held changes.
    wrong = !FillFormulas(*book, layout, rows, 3) || wrong;
    const double filledStart = CpuSeconds();
    book->Recalculate(nullptr);
    state.counters["filled_ms"] = (CpuSeconds() - filledStart) * 1e3;
    wrong = !FillFormulas(*reference, layout, rows, 3) || wrong;
    reference->Recalculate(nullptr);
    wrong = wrong || !SameTotals(*book, above, *reference, false, layout, rows);
    uint32_t formulas = rows;
    for (uint16_t i = 0; i < 3 && layout.totals[i]; ++i) ++formulas;
    state.counters["recalc_ns_per_formula"] = best * 1e9 / double(formulas);
    state.counters["changed_input_ms"] = changed * 1e3;
    state.counters["wrong"] = wrong;
    if (wrong) state.SkipWithError("a total above differs from the same total below");
  }
}

// Totals over columns that read a rate every row reads ($Z$1), of numbers
// of any size: A1:An the numbers 1..n, B1:Bn the layout's formula (and
// C1:Cn its second one), typed and not yet calculated, as in a file opened
// without its values; the total in F1 (above) or in row n+1 (below).
// Counters: first_pass_ms (the pass that calculates them all), f9_ms (a
// pass with nothing changed), rate_ms (Z1 typed anew, every value read
// changes, then a pass) and wrong (1 when the total differs from the same
// total below).
struct RatedLayout {
  const char* total;
  const char* second;  // printf forms of the row, or null
  const char* third;
};

const RatedLayout kSumIfOfHuge = {"=SUMIF(A1:A{n},\">0\",B1:B{n})", "=A%u*$Z$1*1E150", nullptr};
const RatedLayout kSumIfOfTiny = {"=SUMIF(A1:A{n},\">0\",B1:B{n})", "=A%u*$Z$1*1E-150", nullptr};
const RatedLayout kSumProductOfHuge = {"=SUMPRODUCT(A1:A{n},B1:B{n})", "=A%u*$Z$1*1E150", nullptr};
const RatedLayout kSumProductOfTiny = {"=SUMPRODUCT(A1:A{n},B1:B{n})", "=A%u*$Z$1*1E-150", nullptr};
// Two formula columns of huge and tiny numbers whose products are ordinary:
// both change, each beyond the bounds of a pair's factors.
const RatedLayout kSumProductOfHugeByTiny = {"=SUMPRODUCT(B1:B{n},C1:C{n})", "=A%u*$Z$1*1E150", "=A%u*$Z$1*1E-150"};
// A discount table over more periods than keep its factors within a pair's
// bounds (below 1e-140 from about 7,400 periods on), beside the flows it
// discounts; and a sum column beyond SUMIF's bounds (1e280).
const RatedLayout kSumProductOfDiscounts = {"=SUMPRODUCT(B1:B{n},C1:C{n})", "=A%u*$Z$1", "=(1+$Z$1*3/100)^(-A%u)"};
const RatedLayout kSumIfOfDiscounts = {"=SUMIF(A1:A{n},\">0\",C1:C{n})", "=A%u*$Z$1", "=(1+$Z$1*3/100)^(-A%u)"};
const RatedLayout kSumIfOfVast = {"=SUMIF(A1:A{n},\">0\",B1:B{n})", "=A%u*$Z$1*1E285", nullptr};
const RatedLayout kSumProductOfThree = {"=SUMPRODUCT(A1:A{n},B1:B{n},C1:C{n})", "=A%u*$Z$1", "=$Z$1*0.5+A%u*0"};

bool BuildRated(CWorkBook& book, const RatedLayout& layout, bool above, uint32_t rows) {
  if (!book.NewDocument()) return false;
  CWorkSheet& sheet = *book.activeWorksheet;
  char text[128];
  if (!TypeCell(book, sheet, "1.5", 0, 25)) return false;
  for (uint32_t r = 0; r < rows; ++r) {
    std::snprintf(text, sizeof text, "%u", r + 1);
    if (!TypeCell(book, sheet, text, r, 0)) return false;
    std::snprintf(text, sizeof text, layout.second, r + 1);
    if (!TypeCell(book, sheet, text, r, 1)) return false;
    if (layout.third) {
      std::snprintf(text, sizeof text, layout.third, r + 1);
      if (!TypeCell(book, sheet, text, r, 2)) return false;
    }
  }
  return TypeCell(book, sheet, Expand(layout.total, rows).c_str(), TotalRow(above, rows), 5);
}

bool SameRatedTotal(CWorkBook& a, bool above, CWorkBook& below, uint32_t rows) {
  const CellRecord* x = a.activeWorksheet->cells.GetCell(TotalRow(above, rows), 5);
  const CellRecord* y = below.activeWorksheet->cells.GetCell(rows, 5);
  if (!x || !y || x->Type() != y->Type()) return false;
  const double numbers[2] = {x->CachedNumber(), y->CachedNumber()};
  return std::memcmp(&numbers[0], &numbers[1], sizeof(double)) == 0;
}

void RatedTotal(benchmark::State& state, const RatedLayout& layout, bool above) {
  const uint32_t rows = uint32_t(state.range(0));
  StartAsTheProgram();
  for (auto _ : state) {
    auto book = NewTimedBook();
    auto reference = std::make_unique<CWorkBook>();
    if (!BuildRated(*book, layout, above, rows) || !BuildRated(*reference, layout, false, rows)) {
      state.SkipWithError("typing failed");
      return;
    }
    const char* counters[3] = {"first_pass_ms", "f9_ms", "rate_ms"};
    bool wrong = false;
    for (int step = 0; step < 3; ++step) {
      if (step == 2)
        wrong = !TypeCell(*book, *book->activeWorksheet, "1.25", 0, 25) ||
                !TypeCell(*reference, *reference->activeWorksheet, "1.25", 0, 25) || wrong;
      const double start = CpuSeconds();
      book->Recalculate(nullptr);
      state.counters[counters[step]] = (CpuSeconds() - start) * 1e3;
      reference->Recalculate(nullptr);
      wrong = wrong || !SameRatedTotal(*book, above, *reference, rows);
    }
    state.counters["wrong"] = wrong;
    if (wrong) state.SkipWithError("a total above differs from the same total below");
  }
}

// A column of nested totals, each over all the cells below it (Ai
// =SUM(A(i+1):A(n+1))*0+1): every total waits for the one below it. Run it
// alone under /usr/bin/time -f %M for the process's peak memory. Counters:
// recalc_ms (one pass), gathered_peak (the most cells listed at once) and
// gathered_room_after (entries' room held after the pass).
void BM_NestedTotals(benchmark::State& state) {
  const uint32_t rows = uint32_t(state.range(0));
  StartAsTheProgram();
  for (auto _ : state) {
    auto book = NewTimedBook();
    bool typed = book->NewDocument();
    char text[64];
    for (uint32_t r = 0; r < rows && typed; ++r) {
      std::snprintf(text, sizeof text, "=SUM(A%u:A%u)*0+1", r + 2, rows + 1);
      typed = TypeCell(*book, *book->activeWorksheet, text, r, 0);
    }
    if (!typed) {
      state.SkipWithError("typing failed");
      return;
    }
    const double start = CpuSeconds();
    book->Recalculate(nullptr);
    state.counters["recalc_ms"] = (CpuSeconds() - start) * 1e3;
    state.counters["gathered_peak"] = book->evaluator.pendingGather.PeakCount();
    state.counters["gathered_room_after"] = book->evaluator.pendingGather.Capacity();
  }
}
BENCHMARK(BM_NestedTotals)->Arg(4000)->Iterations(1)->Unit(benchmark::kMillisecond);

#define TOTALS_LAYOUT(name, layout)                                                                 \
  void BM_##name##Below(benchmark::State& state) { TotalsLayout(state, layout, false); }            \
  void BM_##name##Above(benchmark::State& state) { TotalsLayout(state, layout, true); }             \
  BENCHMARK(BM_##name##Below)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond); \
  BENCHMARK(BM_##name##Above)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)

TOTALS_LAYOUT(Sum, kSum);
TOTALS_LAYOUT(SumOfWholeColumn, kWholeColumn);
TOTALS_LAYOUT(CountIf, kCountIf);
TOTALS_LAYOUT(SumProduct, kSumProduct);
TOTALS_LAYOUT(SumOfRunningChain, kRunning);
TOTALS_LAYOUT(Average, kAverage);
TOTALS_LAYOUT(Stdev, kStdev);
TOTALS_LAYOUT(Var, kVar);
TOTALS_LAYOUT(Median, kMedian);
TOTALS_LAYOUT(Large, kLarge);
TOTALS_LAYOUT(Small, kSmall);
TOTALS_LAYOUT(Rank, kRank);
TOTALS_LAYOUT(CountBlank, kCountBlank);
TOTALS_LAYOUT(Vlookup, kVlookup);
TOTALS_LAYOUT(Match, kMatch);
TOTALS_LAYOUT(MatchNotAbove, kMatchNotAbove);
TOTALS_LAYOUT(MaxOfProducts, kMaxOfProducts);
TOTALS_LAYOUT(SumOfArray, kSumOfArray);
TOTALS_LAYOUT(SumProductOfArray, kSumProductOfArray);
TOTALS_LAYOUT(StatisticsRow, kStatisticsRow);
TOTALS_LAYOUT(Correl, kCorrel);
TOTALS_LAYOUT(Slope, kSlope);
TOTALS_LAYOUT(Npv, kNpv);
TOTALS_LAYOUT(Or, kOr);
TOTALS_LAYOUT(SumX2MY2, kSumX2MY2);
TOTALS_LAYOUT(Ttest, kTtest);
TOTALS_LAYOUT(Mode, kMode);
TOTALS_LAYOUT(Percentile, kPercentile);
TOTALS_LAYOUT(TrimMean, kTrimMean);
TOTALS_LAYOUT(Subtotal, kSubtotal);
TOTALS_LAYOUT(CountA, kCountA);
TOTALS_LAYOUT(Kurt, kKurt);
TOTALS_LAYOUT(Gcd, kGcd);
TOTALS_LAYOUT(Forecast, kForecast);
TOTALS_LAYOUT(Ztest, kZtest);
TOTALS_LAYOUT(Irr, kIrr);
TOTALS_LAYOUT(Index, kIndex);
TOTALS_LAYOUT(SumIfOverFormulas, kSumIfOverFormulas);
TOTALS_LAYOUT(AverageIf, kAverageIf);
TOTALS_LAYOUT(Mmult, kMmult);
TOTALS_LAYOUT(Large2, kLarge2);
TOTALS_LAYOUT(Quartile, kQuartile);
TOTALS_LAYOUT(DevSq, kDevSq);
TOTALS_LAYOUT(GeoMean, kGeoMean);
TOTALS_LAYOUT(Concat, kConcat);
TOTALS_LAYOUT(Frequency, kFrequency);
TOTALS_LAYOUT(Linest, kLinest);
TOTALS_LAYOUT(Counts, kCounts);

#define RATED_TOTAL(name, layout)                                                                   \
  void BM_##name##Below(benchmark::State& state) { RatedTotal(state, layout, false); }              \
  void BM_##name##Above(benchmark::State& state) { RatedTotal(state, layout, true); }               \
  BENCHMARK(BM_##name##Below)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond); \
  BENCHMARK(BM_##name##Above)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)

RATED_TOTAL(SumIfOfHuge, kSumIfOfHuge);
RATED_TOTAL(SumIfOfTiny, kSumIfOfTiny);
RATED_TOTAL(SumProductOfHuge, kSumProductOfHuge);
RATED_TOTAL(SumProductOfTiny, kSumProductOfTiny);
RATED_TOTAL(SumProductOfThree, kSumProductOfThree);

// The layouts beyond the bounds, at 20,000 rows too.
#define RATED_TOTAL_BEYOND(name, layout)                                                                          \
  void BM_##name##Below(benchmark::State& state) { RatedTotal(state, layout, false); }                            \
  void BM_##name##Above(benchmark::State& state) { RatedTotal(state, layout, true); }                             \
  BENCHMARK(BM_##name##Below)->Arg(10000)->Arg(20000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond); \
  BENCHMARK(BM_##name##Above)->Arg(10000)->Arg(20000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)

RATED_TOTAL_BEYOND(SumProductOfHugeByTiny, kSumProductOfHugeByTiny);
RATED_TOTAL_BEYOND(SumProductOfDiscounts, kSumProductOfDiscounts);
RATED_TOTAL_BEYOND(SumIfOfDiscounts, kSumIfOfDiscounts);
RATED_TOTAL_BEYOND(SumIfOfVast, kSumIfOfVast);

}  // namespace
