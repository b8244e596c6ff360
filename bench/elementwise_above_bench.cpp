// Functions applied element by element to a range (ABS, LEN, ROUND, INT,
// ISNUMBER, UPPER...), inside SUMPRODUCT, SUM and under an operator, placed
// above the formula columns they read, against the same totals placed below
// them.
//   A1:An the numbers 1..n, X1 the rate 2, Y1 the digits 1, and columns of
//   formulas reading both: B =(A*$X$1-n)/7 (numbers of both signs with
//   fractions) and H =REPT("ab",MOD(A*$X$1,9))&"c" (texts of every length);
//   for the layouts that read it, E =A*$X$1/7 (numbers above 0).
//   The layout's total stands in column D, in the first row (above) or the
//   row after the data (below). {n} stands for n.
// Everything is typed before the first pass, as a file whose stored values
// are missing opens. Counters, processor time of this thread in
// milliseconds: first_ms (the first pass), f9_ms (a pass with nothing
// changed), rate_ms (X1 typed anew, then a pass: every formula's value
// changes), and wrong (1 when the total above differs from the same total
// below after any of them).
// TALVERO_RECALC_GATHER=0 switches the gathering of uncalculated cells off.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "bench/timed_book.h"
#include "bench/total_passes.h"
#include "bench/typed_cell.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"

namespace {

constexpr uint16_t kTotalColumn = 3;
constexpr uint16_t kRateColumn = 23;
constexpr uint16_t kDigitsColumn = 24;

const char* const kSumProductAbs = "=SUMPRODUCT(ABS(B1:B{n}))";
const char* const kSumAbs = "=SUM(ABS(B1:B{n}))";
const char* const kSumProductLen = "=SUMPRODUCT(LEN(H1:H{n}))";
const char* const kSumLen = "=SUM(LEN(H1:H{n}))";
const char* const kConditionalAbs = "=SUMPRODUCT((A1:A{n}>0)*ABS(B1:B{n}))";
const char* const kRound = "=SUMPRODUCT(ROUND(B1:B{n},0))";
const char* const kRoundByCell = "=SUMPRODUCT(ROUND(B1:B{n},$Y$1))";
const char* const kInt = "=SUM(INT(B1:B{n}))";
const char* const kIfIsNumber = "=SUMPRODUCT(IF(ISNUMBER(B1:B{n}),1,0))";
const char* const kLenUpper = "=SUMPRODUCT(LEN(UPPER(H1:H{n})))";
const char* const kSqrt = "=SUMPRODUCT(SQRT(E1:E{n}))";

// The inputs, the formula columns and the total, typed; nothing calculated.
bool Build(CWorkBook& book, const char* total, bool above, uint32_t rows) {
  if (!book.NewDocument()) return false;
  CWorkSheet& sheet = *book.activeWorksheet;
  if (!TypeCell(book, sheet, "2", 0, kRateColumn) || !TypeCell(book, sheet, "1", 0, kDigitsColumn)) return false;
  char text[96];
  for (uint32_t r = 0; r < rows; ++r) {
    const uint32_t row = r + 1;
    std::snprintf(text, sizeof text, "%u", row);
    if (!TypeCell(book, sheet, text, r, 0)) return false;
    std::snprintf(text, sizeof text, "=(A%u*$X$1-%u)/7", row, rows);
    if (!TypeCell(book, sheet, text, r, 1)) return false;
    std::snprintf(text, sizeof text, "=REPT(\"ab\",MOD(A%u*$X$1,9))&\"c\"", row);
    if (!TypeCell(book, sheet, text, r, 7)) return false;
    if (std::strstr(total, "E1")) {
      std::snprintf(text, sizeof text, "=A%u*$X$1/7", row);
      if (!TypeCell(book, sheet, text, r, 4)) return false;
    }
  }
  return TypeCell(book, sheet, Expand(total, rows).c_str(), TotalRow(above, rows), kTotalColumn);
}

bool SameTotals(CWorkBook& a, bool above, CWorkBook& below, uint32_t rows) {
  return SameTotalCells(a.activeWorksheet->cells.GetCell(TotalRow(above, rows), kTotalColumn),
                        below.activeWorksheet->cells.GetCell(rows, kTotalColumn));
}

void ElementwiseLayout(benchmark::State& state, const char* total, bool above) {
  const uint32_t rows = uint32_t(state.range(0));
  StartAsTheProgram();
  for (auto _ : state) {
    auto book = NewTimedBook();
    // The same total below the data, where nothing waits, tells the value.
    auto reference = std::make_unique<CWorkBook>();
    if (!Build(*book, total, above, rows) || !Build(*reference, total, false, rows)) {
      state.SkipWithError("typing failed");
      return;
    }
    bool wrong = false;
    state.counters["first_ms"] = TimedPass(*book, *reference, nullptr, 0, 0, &wrong);
    wrong = wrong || !SameTotals(*book, above, *reference, rows);
    state.counters["f9_ms"] = TimedPass(*book, *reference, nullptr, 0, 0, &wrong);
    wrong = wrong || !SameTotals(*book, above, *reference, rows);
    state.counters["rate_ms"] = TimedPass(*book, *reference, "3", 0, kRateColumn, &wrong);
    wrong = wrong || !SameTotals(*book, above, *reference, rows);
    state.counters["wrong"] = wrong;
    if (wrong) state.SkipWithError("the total above differs from the same total below");
  }
}

#define ELEMENTWISE_LAYOUT(name, total)                                                                      \
  void BM_##name##Below(benchmark::State& state) { ElementwiseLayout(state, total, false); }                \
  void BM_##name##Above(benchmark::State& state) { ElementwiseLayout(state, total, true); }                 \
  BENCHMARK(BM_##name##Below)->Arg(10000)->Arg(20000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond); \
  BENCHMARK(BM_##name##Above)->Arg(10000)->Arg(20000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)

ELEMENTWISE_LAYOUT(SumProductAbs, kSumProductAbs);
ELEMENTWISE_LAYOUT(SumAbs, kSumAbs);
ELEMENTWISE_LAYOUT(SumProductLen, kSumProductLen);
ELEMENTWISE_LAYOUT(SumLen, kSumLen);
ELEMENTWISE_LAYOUT(ConditionalAbs, kConditionalAbs);
ELEMENTWISE_LAYOUT(Round, kRound);
ELEMENTWISE_LAYOUT(RoundByCell, kRoundByCell);
ELEMENTWISE_LAYOUT(Int, kInt);
ELEMENTWISE_LAYOUT(IfIsNumber, kIfIsNumber);
ELEMENTWISE_LAYOUT(LenUpper, kLenUpper);
ELEMENTWISE_LAYOUT(Sqrt, kSqrt);

}  // namespace
