// The readers that stop at values of their own kinds (squared differences,
// a series' coefficients, dated flows, pairs of values and probabilities,
// holidays), placed above the formula columns they read, against the same
// totals placed below them.
//   A1:An the numbers 1..n, X1 the rate 2, and columns of formulas reading
//   both: B =A*$X$1, C =A*$X$1+1, K =A*$X$1-n (flows that change sign),
//   P =A*$X$1/n^2 (probabilities), J =EDATE("2009-01-15",A) (dates) and
//   H =EDATE("2009-01-01",MOD(A*$X$1,240)) (holidays); for the layouts of
//   huge and tiny numbers also O =A*$X$1*1E145, T =A*$X$1*1E-150 and
//   U =T*1.5. The layout's total
//   stands in column D, in the first row (above) or the row after the data
//   (below). {n} stands for n, {h} for n/2.
// Everything is typed before the first pass, as a file whose stored values
// are missing or stale opens. Counters, processor time of this thread in
// milliseconds: first_ms (the first pass), f9_ms (a pass with nothing
// changed), input_ms (A5 typed anew, then a pass), rate_ms (X1 typed anew,
// then a pass: every formula's value changes), and wrong (1 when the total
// above differs from the same total below after any of them).
// The *WrongValues layouts give every formula cell a stored value that is
// not its result first, as a file written by another program opens.
// TALVERO_RECALC_GATHER=0 switches the gathering of uncalculated cells off.

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
#include "core/base/error_code.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "numerics/numeric_function_table.h"

namespace {

constexpr uint16_t kTotalColumn = 3;
constexpr uint16_t kRateColumn = 23;

const char* const kSumXMY2 = "=SUMXMY2(B1:B{n},C1:C{n})";
const char* const kSeriesSum = "=SERIESSUM(0.5,0,1,B1:B{n})";
const char* const kXnpv = "=XNPV(0.1,B1:B{n},J1:J{n})";
const char* const kXirr = "=XIRR(K1:K{n},J1:J{n},0.1)";
const char* const kProb = "=PROB(A1:A{n},P1:P{n},1,{h})";
const char* const kNetworkDays = "=NETWORKDAYS(\"2009-01-01\",\"2029-12-31\",H1:H{n})";
const char* const kSumXMY2Huge = "=SUMXMY2(O1:O{n},C1:C{n})";
const char* const kSumXMY2Tiny = "=SUMXMY2(T1:T{n},U1:U{n})";
const char* const kSeriesSumHuge = "=SERIESSUM(0.5,0,1,O1:O{n})";
const char* const kSeriesSumTiny = "=SERIESSUM(0.5,0,1,T1:T{n})";
const char* const kProbHuge = "=PROB(A1:A{n},O1:O{n},1,{h})";
const char* const kProbTiny = "=PROB(A1:A{n},T1:T{n},1,{h})";

// The inputs, the formula columns and the total, typed; nothing calculated.
bool Build(CWorkBook& book, const char* total, bool above, uint32_t rows) {
  if (!book.NewDocument()) return false;
  CWorkSheet& sheet = *book.activeWorksheet;
  if (!TypeCell(book, sheet, "2", 0, kRateColumn)) return false;
  const uint64_t square = uint64_t(rows) * rows;
  char text[160];
  for (uint32_t r = 0; r < rows; ++r) {
    const uint32_t row = r + 1;
    std::snprintf(text, sizeof text, "%u", row);
    if (!TypeCell(book, sheet, text, r, 0)) return false;
    const struct {
      uint16_t column;
      const char* format;
    } formulas[] = {{1, "=A%u*$X$1"},
                    {2, "=A%u*$X$1+1"},
                    {10, "=A%u*$X$1-%u"},
                    {15, "=A%u*$X$1/%llu"},
                    {9, "=EDATE(\"2009-01-15\",A%u)"},
                    {7, "=EDATE(\"2009-01-01\",MOD(A%u*$X$1,240))"}};
    const bool sized = std::strstr(total, "O1") || std::strstr(total, "T1");
    if (sized) {
      std::snprintf(text, sizeof text, "=A%u*$X$1*1E145", row);
      if (!TypeCell(book, sheet, text, r, 14)) return false;
      std::snprintf(text, sizeof text, "=A%u*$X$1*1E-150", row);
      if (!TypeCell(book, sheet, text, r, 19)) return false;
      std::snprintf(text, sizeof text, "=T%u*1.5", row);
      if (!TypeCell(book, sheet, text, r, 20)) return false;
    }
    for (const auto& formula : formulas) {
      if (formula.column == 10)
        std::snprintf(text, sizeof text, formula.format, row, rows);
      else if (formula.column == 15)
        std::snprintf(text, sizeof text, formula.format, row, static_cast<unsigned long long>(square));
      else
        std::snprintf(text, sizeof text, formula.format, row);
      if (!TypeCell(book, sheet, text, r, formula.column)) return false;
    }
  }
  return TypeCell(book, sheet, Expand(total, rows).c_str(), TotalRow(above, rows), kTotalColumn);
}

// Every formula cell of the workbook given a stored value that is not its
// result, as a file written by another program leaves them: by turns an
// error, a text and a number; still to be calculated.
bool StoreWrongValues(CWorkBook& book, uint32_t rows) {
  CellStore& cells = book.activeWorksheet->cells;
  static const char* const kText = "abc";
  static const uint16_t kColumns[] = {1, 2, 7, 9, 10, 14, 15, 19, 20};
  uint8_t record[2048];
  uint32_t turn = 0;
  for (uint32_t r = 0; r < rows; ++r)
    for (uint16_t c : kColumns) {
    const CellRecord* cell = cells.GetCell(r, c);
    if (!cell || !cell->IsFormula()) continue;
    const std::string formula(cell->FormulaText(), cell->FormulaLength());
    FormulaCellFields fields;
    fields.formula = formula.c_str();
    fields.formulaLength = cell->FormulaLength();
    fields.resultFlags = kResultCachedNumber;
    switch (turn++ % 3) {
      case 0: fields.typeExtra = kErrorNA; break;
      case 1:
        fields.cachedText = kText;
        fields.cachedTextLength = 3;
        fields.resultFlags = 0;
        break;
      default: fields.cachedNumber = 7.5; break;
    }
    const uint32_t row = cell->Row();
    const uint16_t column = cell->Column();
    if (!BuildFormulaCell(record, sizeof record, row, column, fields)) return false;
    cells.DeleteRange(column, column, row, row, nullptr, false);
    if (!cells.InsertCell(AsCellRecord(record), nullptr)) return false;
  }
  return true;
}

bool SameTotals(CWorkBook& a, bool aboveA, CWorkBook& b, bool aboveB, uint32_t rows) {
  return SameTotalCells(a.activeWorksheet->cells.GetCell(TotalRow(aboveA, rows), kTotalColumn),
                        b.activeWorksheet->cells.GetCell(TotalRow(aboveB, rows), kTotalColumn));
}

void ReaderLayout(benchmark::State& state, const char* total, bool above, bool wrongValues = false) {
  const uint32_t rows = uint32_t(state.range(0));
  StartAsTheProgram();
  for (auto _ : state) {
    auto book = NewTimedBook();
    // The same total below the data, where nothing waits, tells the value.
    auto reference = std::make_unique<CWorkBook>();
    if (!Build(*book, total, above, rows) || !Build(*reference, total, false, rows) ||
        (wrongValues && (!StoreWrongValues(*book, rows) || !StoreWrongValues(*reference, rows)))) {
      state.SkipWithError("typing failed");
      return;
    }
    bool wrong = false;
    state.counters["first_ms"] = TimedPass(*book, *reference, nullptr, 0, 0, &wrong);
    wrong = wrong || !SameTotals(*book, above, *reference, false, rows);
    state.counters["f9_ms"] = TimedPass(*book, *reference, nullptr, 0, 0, &wrong);
    wrong = wrong || !SameTotals(*book, above, *reference, false, rows);
    state.counters["input_ms"] = TimedPass(*book, *reference, "7", 4, 0, &wrong);
    wrong = wrong || !SameTotals(*book, above, *reference, false, rows);
    state.counters["rate_ms"] = TimedPass(*book, *reference, "3", 0, kRateColumn, &wrong);
    wrong = wrong || !SameTotals(*book, above, *reference, false, rows);
    state.counters["wrong"] = wrong;
    if (wrong) state.SkipWithError("the total above differs from the same total below");
  }
}

#define READER_LAYOUT(name, total)                                                                  \
  void BM_##name##Below(benchmark::State& state) { ReaderLayout(state, total, false); }             \
  void BM_##name##Above(benchmark::State& state) { ReaderLayout(state, total, true); }              \
  BENCHMARK(BM_##name##Below)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond); \
  BENCHMARK(BM_##name##Above)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)

READER_LAYOUT(SumXMY2, kSumXMY2);
READER_LAYOUT(SeriesSum, kSeriesSum);
READER_LAYOUT(Xnpv, kXnpv);
READER_LAYOUT(Xirr, kXirr);
READER_LAYOUT(Prob, kProb);
READER_LAYOUT(NetworkDays, kNetworkDays);
READER_LAYOUT(SumXMY2Huge, kSumXMY2Huge);
READER_LAYOUT(SumXMY2Tiny, kSumXMY2Tiny);
READER_LAYOUT(SeriesSumHuge, kSeriesSumHuge);
READER_LAYOUT(SeriesSumTiny, kSeriesSumTiny);
READER_LAYOUT(ProbHuge, kProbHuge);
READER_LAYOUT(ProbTiny, kProbTiny);

// The same over formula cells whose stored values are not their results.
#define READER_WRONG_VALUES(name, total)                                                                 \
  void BM_##name##BelowWrongValues(benchmark::State& state) { ReaderLayout(state, total, false, true); } \
  void BM_##name##AboveWrongValues(benchmark::State& state) { ReaderLayout(state, total, true, true); }  \
  BENCHMARK(BM_##name##BelowWrongValues)                                                                 \
      ->Arg(10000)                                                                                       \
      ->Arg(20000)                                                                                       \
      ->Arg(100000)                                                                                      \
      ->Iterations(1)                                                                                    \
      ->Unit(benchmark::kMillisecond);                                                                   \
  BENCHMARK(BM_##name##AboveWrongValues)                                                                 \
      ->Arg(10000)                                                                                       \
      ->Arg(20000)                                                                                       \
      ->Arg(100000)                                                                                      \
      ->Iterations(1)                                                                                    \
      ->Unit(benchmark::kMillisecond)

READER_WRONG_VALUES(SumXMY2, kSumXMY2);
READER_WRONG_VALUES(SeriesSum, kSeriesSum);
READER_WRONG_VALUES(Xnpv, kXnpv);
READER_WRONG_VALUES(Xirr, kXirr);
READER_WRONG_VALUES(Prob, kProb);
READER_WRONG_VALUES(NetworkDays, kNetworkDays);

}  // namespace
