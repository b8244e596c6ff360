// Typed entry and recalculation of workbooks of formulas, typed in A1 form
// through the cell-input path, then recalculated whole. Two workloads:
//   arithmetic  two input columns (A, B) and ten formula columns (C..L) per
//               row of operators, references and sums; at 100,000 rows it
//               holds 1,000,000 formulas.
//   families    eight input columns (A..H: numbers, a text, an ISO date) and
//               fifteen formula columns per row that read ranges of their
//               own row and the rows just above through every function
//               family: sums and counts, statistics and order statistics,
//               lookup, text over ranges, mathematics, matrices, regression,
//               dates, finance, logic, complex sums, a root search and an
//               array result spilled across two cells, which the row below
//               reads.
// Counters per size:
//   entry_ns_per_cell     typing a cell (parse, translate, insert without a cursor)
//   recalc_ns_per_formula a full recalculation pass
//   changed_input_ms      one input typed again, then a full pass
//   bytes_per_cell        block bytes of the store per cell
//   token_bytes_per_cell  bytes of the formulas' tokens the evaluator keeps,
//                         per cell
//   peak_rss_mb           the process's peak resident memory so far
// and, on stderr, the sum of the results and a hash of every result, to
// compare builds bit for bit.
// Sizes run in ascending order, so each peak belongs to its own size. A
// range walk that is not positioned through the row index shows as a
// recalc_ns_per_formula growing with the rows.
// TALVERO_RECALC_ROWS (e.g. "1000000,2000000") adds sizes to both
// workloads. TALVERO_RECALC_FAMILY=k times the families workload's k-th
// range formula (from 0) alone. With TALVERO_RECALC_SAVE_DIR set, each workbook is saved there
// after its passes as an Excel 2003 XML file (arithmetic_<rows>.xml,
// families_<rows>.xml), which bench/recalc_vs_ssconvert.py hands to
// Gnumeric.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/cpu_seconds.h"
#include "core/base/global_options.h"
#include "core/edit/cell_input.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "numerics/numeric_function_table.h"
#include "view/draw_context/portable_text_measurer.h"

namespace {

// Texts are made for this many rows at a time, outside the timed entry.
constexpr uint32_t kChunkRows = 1000;

// A workload: the text typed into each cell of its columns; rows are
// 1-based as the user sees them.
struct Workload {
  const char* name;
  uint32_t inputColumns;
  uint32_t formulaColumns;
  std::string (*cellText)(uint32_t row, uint32_t column);
};

std::string ArithmeticText(uint32_t row, uint32_t column) {
  char text[96];
  const uint32_t r = row;
  const uint32_t above = row > 1 ? row - 1 : 1;
  switch (column) {
    case 0:
      std::snprintf(text, sizeof text, "%u", r % 97 + 1);
      break;
    case 1:
      std::snprintf(text, sizeof text, "%u.5", r * 7 % 13);
      break;
    case 2:
      std::snprintf(text, sizeof text, "=A%u+B%u", r, r);
      break;
    case 3:
      std::snprintf(text, sizeof text, "=A%u*B%u-1", r, above);
      break;
    case 4:
      std::snprintf(text, sizeof text, "=C%u-D%u/2", r, r);
      break;
    case 5:
      std::snprintf(text, sizeof text, "=SUM(A%u:C%u)", above, r);
      break;
    case 6:
      std::snprintf(text, sizeof text, "=SUMSQ(A%u:B%u)", r, r);
      break;
    case 7:
      std::snprintf(text, sizeof text, "=PRODUCT(A%u:B%u)/1000", above, r);
      break;
    case 8:
      std::snprintf(text, sizeof text, "=E%u*2+F%u", r, r);
      break;
    case 9:
      if (row == 1)
        std::snprintf(text, sizeof text, "=C1");
      else
        std::snprintf(text, sizeof text, "=J%u+C%u", above, r);
      break;
    case 10:
      std::snprintf(text, sizeof text, "=(G%u-H%u)/3", r, r);
      break;
    default:
      std::snprintf(text, sizeof text, "=SUM(C%u:E%u)+I%u", r, r, above);
      break;
  }
  return text;
}

// The range formulas of the families workload, written with {r} for the
// row, {p} for the row above, {w} for the first row of a five-row window
// ending at the row, {s} for the first row of a three-row window and {n}
// for the row below. Each row takes twelve of them in turn, so that every
// one is computed on every fourth or fifth row.
const char* const kFamilyFormulas[] = {
    // sums and counts
    "=COUNT(A{r}:H{r})",
    "=COUNTA(A{r}:H{r})",
    "=COUNTIF(A{r}:F{r},\">20\")",
    "=SUMIF(B{w}:B{r},\">20\",D{w}:D{r})",
    "=SUMPRODUCT(A{r}:C{r},D{r}:F{r})",
    "=SUMX2MY2(B{r}:C{r},D{r}:E{r})",
    "=COUNTBLANK(A{r}:H{n})",
    // statistics
    "=MAX(A{r}:F{r})",
    "=MIN(A{r}:F{r})",
    "=AVERAGE(A{r}:F{r})",
    "=STDEV(A{r}:F{r})",
    "=VARP(B{w}:F{r})",
    "=AVEDEV(A{r}:F{r})",
    "=KURT(B{w}:D{r})",
    "=GEOMEAN(B{r}:F{r})",
    "=PEARSON(B{w}:B{r},D{w}:D{r})",
    "=SLOPE(D{w}:D{r},B{w}:B{r})",
    "=TTEST(B{w}:B{r},D{w}:D{r},2,2)",
    "=TRIMMEAN(B{w}:F{r},0.2)",
    // order statistics and regression
    "=MEDIAN(A{r}:F{r})",
    "=LARGE(A{r}:F{r},2)",
    "=PERCENTILE(B{w}:F{r},0.3)",
    "=RANK(D{r},B{r}:F{r})",
    "=QUARTILE(B{r}:F{r},1)",
    "=INDEX(FREQUENCY(B{w}:B{r},D{s}:D{r}),2,1)",
    "=INDEX(LINEST(D{w}:D{r},B{w}:B{r},),1,1)",
    "=INDEX(TREND(D{w}:D{r},B{w}:B{r},,),1,1)",
    // lookup
    "=VLOOKUP(B{r},B{w}:D{r},2,0)",
    "=HLOOKUP(D{r},B{r}:F{n},2,0)",
    "=MATCH(C{r},C{w}:C{r},0)",
    "=INDEX(A{w}:F{r},2,3)",
    "=LOOKUP(F{r},F{w}:F{r},D{w}:D{r})",
    "=SUM(OFFSET(A{r},0,1,1,3))",
    "=INDEX(UNIQUE(B{w}:B{r},1),1,1)",
    // text over ranges
    "=LEN(CONCATENATE(B{r}:D{r},G{r}))",
    "=SUM(LEN(G{w}:G{r}))",
    "=COUNTIF(G{w}:G{r},\"b*\")",
    // mathematics
    "=PRODUCT(B{r}:C{r})",
    "=SUMSQ(A{r}:F{r})",
    "=GCD(B{r}:B{r},D{r},F{r})",
    "=SERIESSUM(0.5,1,1,B{r}:F{r})",
    // matrices
    "=MDETERM(B{s}:D{r})",
    "=SUM(MINVERSE(B{s}:D{r}))",
    "=INDEX(MMULT(B{r}:D{r},D{s}:D{r}),1,1)",
    "=SUM(MTXT(A{r}:F{r}))",
    "=SUM(W{p}:X{p})",
    // dates
    "=NETWORKDAYS(H{r},\"2025-12-31\",H{w}:H{r})",
    "=LEN(WORKDAY(H{r},10,H{w}:H{r}))",
    // finance
    "=NPV(0.05,A{r}:F{r})",
    "=IRR(A{r}:F{r},)",
    "=XNPV(0.05,A{s}:A{r},H{s}:H{r})",
    "=FVSCHEDULE(1,E{r}:F{r})",
    // logic, information and complex sums
    "=AND(B{r}:F{r})",
    "=IMREAL(IMSUM(B{r}:D{r}))",
};
constexpr uint32_t kFamilyFormulaCount = sizeof kFamilyFormulas / sizeof kFamilyFormulas[0];
constexpr uint32_t kFamilyInputColumns = 8;
constexpr uint32_t kFamilyCycledColumns = 12;

std::string RowsFilledIn(const char* pattern, uint32_t row) {
  std::string text;
  for (const char* c = pattern; *c; ++c) {
    if (c[0] == '{' && c[1] && c[2] == '}') {
      uint32_t value = row;
      if (c[1] == 'p')
        value = row > 1 ? row - 1 : 1;
      else if (c[1] == 'w')
        value = row > 4 ? row - 4 : 1;
      else if (c[1] == 's')
        value = row > 2 ? row - 2 : 1;
      else if (c[1] == 'n')
        value = row + 1;
      text += std::to_string(value);
      c += 2;
      continue;
    }
    text += *c;
  }
  return text;
}

// The inputs of a row: an outlay (for the cash-flow functions), numbers, a
// text and an ISO date.
std::string FamilyInputText(uint32_t r, uint32_t column) {
  static const char* const kFormats[kFamilyInputColumns] = {"-%u", "%u", "%u.5", "%u",
                                                            "0.%02u", "%u", "beta%u", "2025-%02u-%02u"};
  const uint32_t values[kFamilyInputColumns] = {r % 50 + 100, r % 97 + 1, r * 7 % 13, r % 89 + 3,
                                                r * 3 % 41,   r % 23 + 10, r % 1000, r % 12 + 1};
  char text[32];
  std::snprintf(text, sizeof text, column == 6 && r % 3 == 0 ? "alpha%u" : kFormats[column], values[column],
                r % 28 + 1);
  return text;
}

std::string FamiliesText(uint32_t row, uint32_t column) {
  if (column < kFamilyInputColumns)
    return FamilyInputText(row, column);
  char text[96];
  const uint32_t r = row;
  const uint32_t k = column - kFamilyInputColumns;
  // One formula alone, to time it: its number in every cycled column and
  // the last three columns constant; a number past the list keeps the last
  // three and makes the cycled columns constant.
  static const char* const single = std::getenv("TALVERO_RECALC_FAMILY");
  if (single && *single) {
    const uint32_t chosen = uint32_t(std::strtoul(single, nullptr, 10));
    if (k < kFamilyCycledColumns)
      return chosen < kFamilyFormulaCount ? RowsFilledIn(kFamilyFormulas[chosen], row) : std::string("=1");
    if (chosen < kFamilyFormulaCount)
      return "=1";
  }
  if (k < kFamilyCycledColumns)
    return RowsFilledIn(kFamilyFormulas[(row * kFamilyCycledColumns + k) % kFamilyFormulaCount], row);
  switch (k - kFamilyCycledColumns) {
    case 0:  // the target of the root search in the next column
      std::snprintf(text, sizeof text, "=C%u*C%u-B%u", r, r, r);
      break;
    case 1:
      std::snprintf(text, sizeof text, "=ROOT(U%u,C%u,0,100,)", r, r);
      break;
    default:  // spills into the column after it, left empty
      std::snprintf(text, sizeof text, "=TRANSPOSE(B%u:B%u)", r, r + 1);
      break;
  }
  return text;
}

const Workload kArithmetic = {"arithmetic", 2, 10, ArithmeticText};
const Workload kFamilies = {"families", kFamilyInputColumns, kFamilyCycledColumns + 3, FamiliesText};

bool TypeCell(CWorkBook& book, CWorkSheet& sheet, const char* text, uint32_t row, uint16_t column) {
  static uint8_t record[kCellInputCapacity];
  NumFormatParams format{};
  const uint32_t size = CWorkSheet::ParseCellInput(&book, text, &format, row, column, record, sizeof record);
  return size != 0 && sheet.cells.InsertCell(AsCellRecord(record), nullptr);
}

// The sum of the formulas' numbers, their errors, and a hash of every
// formula's result bit for bit (its error, number and text).
double ResultChecksum(CellStore& store, uint32_t* errors, uint64_t* valuesHash) {
  double sum = 0;
  *errors = 0;
  uint64_t hash = 14695981039346656037ull;
  const auto mix = [&hash](const void* bytes, size_t length) {
    for (size_t i = 0; i < length; ++i)
      hash = (hash ^ static_cast<const uint8_t*>(bytes)[i]) * 1099511628211ull;
  };
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  cursor.block = store.FirstBlock();
  while (const CellRecord* cell = cursor.Next()) {
    if (!cell->IsFormula())
      continue;
    const uint8_t type = cell->Type();
    const double number = cell->CachedNumber();
    mix(&type, 1);
    mix(&number, sizeof number);
    if (cell->HasCachedText())
      mix(cell->CachedText(), cell->CachedTextLength());
    if (cell->ErrorCode())
      ++*errors;
    else
      sum += number;
  }
  *valuesHash = hash;
  return sum;
}

// Saves the workbook for the comparison with Gnumeric, when asked to.
void SaveForComparison(CWorkBook& book, const Workload& workload, uint32_t rows) {
  const char* folder = std::getenv("TALVERO_RECALC_SAVE_DIR");
  if (!folder || !*folder)
    return;
  char path[1024];
  std::snprintf(path, sizeof path, "%s/%s_%u.xml", folder, workload.name, rows);
  PortableTextMeasurer screen;
  if (!book.bufferedFile.Open(path, "w+b") || !book.SaveExcelXml(&screen.Measurer()))
    std::fprintf(stderr, "%s not saved\n", path);
  book.bufferedFile.Close();
}

// The sizes TALVERO_RECALC_ROWS adds to the usual three.
void AddRequestedSizes(benchmark::internal::Benchmark* benchmark) {
  for (int64_t rows : {10000, 100000, 200000})
    benchmark->Arg(rows);
  const char* text = std::getenv("TALVERO_RECALC_ROWS");
  for (char* end = nullptr; text && *text; text = end) {
    const long long rows = std::strtoll(text, &end, 10);
    if (end == text)
      break;
    if (rows > 0 && rows <= kRowCount)
      benchmark->Arg(rows);
    while (*end == ',' || *end == ' ')
      ++end;
  }
}

double PeakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

void RunWorkload(benchmark::State& state, const Workload& workload) {
  const uint32_t rows = static_cast<uint32_t>(state.range(0));
  const uint32_t columns = workload.inputColumns + workload.formulaColumns;
  ResetGlobalOptions();
  CurrentRegionalSettings() = kGenericRegionalSettings;
  InstallFunctionLibrary();

  for (auto _ : state) {
    auto book = std::make_unique<CWorkBook>();
    if (!book->NewDocument()) {
      state.SkipWithError("no document");
      return;
    }
    CWorkSheet& sheet = *book->activeWorksheet;

    double entrySeconds = 0;
    std::vector<std::string> texts;
    texts.reserve(kChunkRows * columns);
    for (uint32_t first = 0; first < rows; first += kChunkRows) {
      const uint32_t last = first + kChunkRows < rows ? first + kChunkRows : rows;
      texts.clear();
      for (uint32_t row = first; row < last; ++row)
        for (uint32_t column = 0; column < columns; ++column) texts.push_back(workload.cellText(row + 1, column));
      const double start = CpuSeconds();
      size_t next = 0;
      for (uint32_t row = first; row < last; ++row)
        for (uint32_t column = 0; column < columns; ++column)
          if (!TypeCell(*book, sheet, texts[next++].c_str(), row, static_cast<uint16_t>(column))) {
            state.SkipWithError("typing failed");
            return;
          }
      entrySeconds += CpuSeconds() - start;
    }

    constexpr int kPasses = 3;
    double bestPass = 0;
    double firstPass = 0;
    for (int pass = 0; pass < kPasses; ++pass) {
      const double start = CpuSeconds();
      book->Recalculate(nullptr);
      const double seconds = CpuSeconds() - start;
      if (pass == 0)
        firstPass = seconds;
      if (pass == 0 || seconds < bestPass)
        bestPass = seconds;
    }
    uint32_t errors = 0;
    uint64_t valuesHash = 0;
    const double checksum = ResultChecksum(sheet.cells, &errors, &valuesHash);

    const std::string changed = workload.cellText(rows / 2 + 7, 0) + "1";
    TypeCell(*book, sheet, changed.c_str(), rows / 2, 0);
    const double start = CpuSeconds();
    book->Recalculate(nullptr);
    const double changedSeconds = CpuSeconds() - start;

    const double cells = double(rows) * columns;
    const double formulas = double(rows) * workload.formulaColumns;
    state.counters["entry_ns_per_cell"] = entrySeconds * 1e9 / cells;
    state.counters["recalc_ns_per_formula"] = bestPass * 1e9 / formulas;
    // The pass right after typing stores every result for the first time.
    state.counters["first_pass_ns_per_formula"] = firstPass * 1e9 / formulas;
    state.counters["changed_input_ms"] = changedSeconds * 1e3;
    state.counters["bytes_per_cell"] = double(sheet.cells.BlockCount()) * 8192 / cells;
    state.counters["token_bytes_per_cell"] = double(book->evaluator.scannedFormulas.BytesUsed()) / cells;
    std::fprintf(stderr, "%u rows: checksum %.17g, %u errors, values %016llx\n", rows, checksum, errors,
                 static_cast<unsigned long long>(valuesHash));
    state.counters["peak_rss_mb"] = PeakResidentMegabytes();
    SaveForComparison(*book, workload, rows);
  }
}

void BM_TypedWorkbookRecalc(benchmark::State& state) { RunWorkload(state, kArithmetic); }
BENCHMARK(BM_TypedWorkbookRecalc)->Apply(AddRequestedSizes)->Iterations(1)->Unit(benchmark::kSecond);

void BM_FunctionFamiliesRecalc(benchmark::State& state) { RunWorkload(state, kFamilies); }
BENCHMARK(BM_FunctionFamiliesRecalc)->Apply(AddRequestedSizes)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
