// A realistic mixed workbook, recalculated whole: a product table of 10,000
// rows, an order sheet of N rows that looks products up (VLOOKUP and
// INDEX/MATCH, exact), computes with text, date and IF functions and runs
// dependency chains 1,000 rows deep, and a summary sheet of whole-column
// SUMIF, COUNTIF and MAX over the orders. Every result is checked against
// the same figures computed here in plain C++.
//   Products  A id (a permutation of 1..10000), B name "P<id>", C category
//             "cat<id % 20>", D price (id * 37 % 1000) / 10 + 1
//   Orders    A product id, B quantity, C ISO date, then per row
//             D =VLOOKUP(A,Products!$A$1:$D$10000,4,0)          price
//             E =INDEX(Products!$C$1:$C$10000,MATCH("P"&A,Products!$B$1:$B$10000,0),1)
//             F =B*D                                             amount
//             G =IF(F>500,"high",IF(F>100,"mid","low"))
//             H =LEN(UPPER(LEFT(E,4)))+MONTH(C)
//             I running total of F, restarting every 1,000 rows
//   Summary   per category k (A "cat<k>"): B =SUMIF(Orders!E:E,A,Orders!F:F),
//             C =COUNTIF(Orders!E:E,A), D =MAX(Orders!F:F)
// BM_MixedWorkbookTotalsFirst moves the summary before the orders in the
// tree: the pass then meets the totals before the cells they read.
// Counters per size: recalc_ns_per_formula (best of three passes),
// first_pass_ns_per_formula, peak_rss_mb and wrong (results that differ
// from the plain computation; the run is refused when any does).
// With TALVERO_MIXED_SAVE_DIR set, each workbook is saved there as Excel
// 2003 XML (mixed_<rows>.xml) for bench/mixed_vs_peers.py.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/cpu_seconds.h"
#include "bench/typed_cell.h"
#include "core/base/global_options.h"
#include "core/edit/cell_input.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "numerics/numeric_function_table.h"
#include "view/draw_context/portable_text_measurer.h"

namespace {

constexpr uint32_t kProducts = 10000;
constexpr uint32_t kCategories = 20;
constexpr uint32_t kChainLength = 1000;
constexpr uint32_t kOrderFormulas = 6;
constexpr uint32_t kSummaryFormulas = 3;

double PeakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

// The data, as the plain computation sees it (rows from 0).
uint32_t ProductId(uint32_t row) { return row * 7919 % kProducts + 1; }
double Price(uint32_t id) { return double(id * 37 % 1000) / 10 + 1; }
uint32_t OrderedId(uint32_t row) { return (row * 31 + row / 7) % kProducts + 1; }
uint32_t Quantity(uint32_t row) { return row % 9 + 1; }
uint32_t Month(uint32_t row) { return row % 12 + 1; }
uint32_t Day(uint32_t row) { return row % 28 + 1; }

bool Type(CWorkBook& book, CWorkSheet& sheet, const std::string& text, uint32_t row, uint16_t column) {
  return TypeCell(book, sheet, text.c_str(), row, column);
}

bool BuildWorkbook(CWorkBook& book, uint32_t orders) {
  if (!book.NewDocument())
    return false;
  CWorkSheet* products = book.activeWorksheet;
  std::snprintf(products->name, sizeof products->name, "Products");
  CWorkSheet* orderSheet = NewWorksheet("Orders", 1);
  CWorkSheet* summary = NewWorksheet("Summary", 1);
  if (!orderSheet || !summary)
    return false;
  book.InsertItems(orderSheet, nullptr);
  book.InsertItems(summary, nullptr);
  char text[256];
  bool typed = true;
  for (uint32_t r = 0; r < kProducts && typed; ++r) {
    const uint32_t id = ProductId(r);
    typed = Type(book, *products, std::to_string(id), r, 0) && Type(book, *products, "P" + std::to_string(id), r, 1) &&
            Type(book, *products, "cat" + std::to_string(id % kCategories), r, 2);
    std::snprintf(text, sizeof text, "%.17g", Price(id));
    typed = typed && Type(book, *products, text, r, 3);
  }
  book.activeWorksheet = orderSheet;
  for (uint32_t r = 0; r < orders && typed; ++r) {
    const uint32_t n = r + 1;
    std::snprintf(text, sizeof text, "2025-%02u-%02u", Month(r), Day(r));
    typed = Type(book, *orderSheet, std::to_string(OrderedId(r)), r, 0) &&
            Type(book, *orderSheet, std::to_string(Quantity(r)), r, 1) && Type(book, *orderSheet, text, r, 2);
    std::snprintf(text, sizeof text, "=VLOOKUP(A%u,Products!$A$1:$D$%u,4,0)", n, kProducts);
    typed = typed && Type(book, *orderSheet, text, r, 3);
    std::snprintf(text, sizeof text,
                  "=INDEX(Products!$C$1:$C$%u,MATCH(\"P\"&A%u,Products!$B$1:$B$%u,0),1)", kProducts, n,
                  kProducts);
    typed = typed && Type(book, *orderSheet, text, r, 4);
    std::snprintf(text, sizeof text, "=B%u*D%u", n, n);
    typed = typed && Type(book, *orderSheet, text, r, 5);
    std::snprintf(text, sizeof text, "=IF(F%u>500,\"high\",IF(F%u>100,\"mid\",\"low\"))", n, n);
    typed = typed && Type(book, *orderSheet, text, r, 6);
    std::snprintf(text, sizeof text, "=LEN(UPPER(LEFT(E%u,4)))+MONTH(C%u)", n, n);
    typed = typed && Type(book, *orderSheet, text, r, 7);
    if (r % kChainLength == 0)
      std::snprintf(text, sizeof text, "=F%u", n);
    else
      std::snprintf(text, sizeof text, "=I%u+F%u", n - 1, n);
    typed = typed && Type(book, *orderSheet, text, r, 8);
  }
  book.activeWorksheet = summary;
  for (uint32_t k = 0; k < kCategories && typed; ++k) {
    const uint32_t n = k + 1;
    typed = Type(book, *summary, "cat" + std::to_string(k), k, 0);
    std::snprintf(text, sizeof text, "=SUMIF(Orders!E:E,A%u,Orders!F:F)", n);
    typed = typed && Type(book, *summary, text, k, 1);
    std::snprintf(text, sizeof text, "=COUNTIF(Orders!E:E,A%u)", n);
    typed = typed && Type(book, *summary, text, k, 2);
    typed = typed && Type(book, *summary, "=MAX(Orders!F:F)", k, 3);
  }
  book.activeWorksheet = products;
  return typed;
}

double NumberAt(CWorkSheet& sheet, uint32_t row, uint16_t column) {
  const CellRecord* cell = sheet.cells.GetCell(row, column);
  return cell && cell->IsFormula() && !cell->ErrorCode() && !cell->HasCachedText() ? cell->CachedNumber() : NAN;
}

std::string TextAt(CWorkSheet& sheet, uint32_t row, uint16_t column) {
  const CellRecord* cell = sheet.cells.GetCell(row, column);
  if (!cell || !cell->IsFormula())
    return "?";
  if (cell->ErrorCode())
    return "error " + std::to_string(cell->ErrorCode());
  return cell->HasCachedText() ? std::string(cell->CachedText(), cell->CachedTextLength()) : std::string("?");
}

// The results that differ from the plain computation.
uint32_t WrongResults(CWorkSheet& orders, CWorkSheet& summary, uint32_t rows) {
  uint32_t wrong = 0;
  double running = 0, largest = 0;
  std::vector<double> sums(kCategories, 0);
  std::vector<uint32_t> counts(kCategories, 0);
  for (uint32_t r = 0; r < rows; ++r) {
    const uint32_t id = OrderedId(r);
    const double price = Price(id);
    const double amount = Quantity(r) * price;
    const std::string category = "cat" + std::to_string(id % kCategories);
    running = r % kChainLength == 0 ? amount : running + amount;
    largest = r == 0 || amount > largest ? amount : largest;
    sums[id % kCategories] += amount;
    ++counts[id % kCategories];
    const char* band = amount > 500 ? "high" : amount > 100 ? "mid" : "low";
    const double letters = double(category.size() < 4 ? category.size() : 4) + Month(r);
    const double numbers[] = {price, NAN, amount, NAN, letters, running};
    const std::string texts[] = {"", category, "", band, "", ""};
    for (uint16_t c = 0; c < kOrderFormulas; ++c) {
      const bool differs = texts[c].empty() ? NumberAt(orders, r, uint16_t(3 + c)) != numbers[c]
                                            : TextAt(orders, r, uint16_t(3 + c)) != texts[c];
      if (differs && wrong++ < 5)
        std::fprintf(stderr, "Orders row %u column %u: %.17g '%s', expected %.17g '%s'\n", r + 1, 3u + c,
                     NumberAt(orders, r, uint16_t(3 + c)), TextAt(orders, r, uint16_t(3 + c)).c_str(), numbers[c],
                     texts[c].c_str());
    }
  }
  for (uint32_t k = 0; k < kCategories; ++k) {
    // Sums in row order, as SUMIF adds them.
    const double expected[] = {sums[k], double(counts[k]), largest};
    for (uint16_t c = 0; c < kSummaryFormulas; ++c)
      if (NumberAt(summary, k, uint16_t(1 + c)) != expected[c] && wrong++ < 5)
        std::fprintf(stderr, "Summary row %u column %u: %.17g, expected %.17g\n", k + 1, 1u + c,
                     NumberAt(summary, k, uint16_t(1 + c)), expected[c]);
  }
  return wrong;
}

void SaveForComparison(CWorkBook& book, uint32_t rows) {
  const char* folder = std::getenv("TALVERO_MIXED_SAVE_DIR");
  if (!folder || !*folder)
    return;
  char path[1024];
  std::snprintf(path, sizeof path, "%s/mixed_%u.xml", folder, rows);
  PortableTextMeasurer screen;
  if (!book.bufferedFile.Open(path, "w+b") || !book.SaveExcelXml(&screen.Measurer()))
    std::fprintf(stderr, "%s not saved\n", path);
  book.bufferedFile.Close();
}

void MixedWorkbookRecalc(benchmark::State& state, bool totalsFirst) {
  const uint32_t rows = uint32_t(state.range(0));
  ResetGlobalOptions();
  CurrentRegionalSettings() = kGenericRegionalSettings;
  InstallFunctionLibrary();
  for (auto _ : state) {
    auto book = std::make_unique<CWorkBook>();
    if (!BuildWorkbook(*book, rows)) {
      state.SkipWithError("typing failed");
      return;
    }
    CWorkSheet* orders = CWorkSheet::FromItem(book->ItemByIndex(1));
    CWorkSheet* summary = CWorkSheet::FromItem(book->ItemByIndex(2));
    // The totals above their data: the summary first in the tree, so the
    // pass meets its whole-column totals before the orders they read.
    if (totalsFirst && !book->MoveItems(summary, book->ItemByIndex(0))) {
      state.SkipWithError("moving the summary failed");
      return;
    }
    double best = 0, first = 0;
    for (int pass = 0; pass < 3; ++pass) {
      const double start = CpuSeconds();
      book->Recalculate(nullptr);
      const double seconds = CpuSeconds() - start;
      if (pass == 0)
        first = seconds;
      if (pass == 0 || seconds < best)
        best = seconds;
    }
    const double formulas = double(rows) * kOrderFormulas + kCategories * kSummaryFormulas;
    const uint32_t wrong = WrongResults(*orders, *summary, rows);
    state.counters["recalc_ns_per_formula"] = best * 1e9 / formulas;
    state.counters["first_pass_ns_per_formula"] = first * 1e9 / formulas;
    state.counters["peak_rss_mb"] = PeakResidentMegabytes();
    state.counters["wrong"] = wrong;
    if (wrong != 0)
      state.SkipWithError("results differ from the plain computation");
    SaveForComparison(*book, rows);
  }
}
void BM_MixedWorkbookRecalc(benchmark::State& state) { MixedWorkbookRecalc(state, false); }
void BM_MixedWorkbookTotalsFirst(benchmark::State& state) { MixedWorkbookRecalc(state, true); }
BENCHMARK(BM_MixedWorkbookRecalc)->Arg(10000)->Arg(50000)->Arg(100000)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_MixedWorkbookTotalsFirst)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
