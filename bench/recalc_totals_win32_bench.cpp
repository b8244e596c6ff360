// A full recalculation, the work of F9, of a workbook of 100,000 rows: five
// columns of numbers, five of formulas reading them (500,000 formulas), and
// totals of each formula column, placed once below the data and once above
// it, where the pass meets them before their inputs: a SUM and a COUNTIF of
// each, a STDEV of each, or a VLOOKUP of a value no cell holds (a walk of
// the whole column); then one input changed and the pass again, as an edit
// in automatic mode runs it. Processor seconds of this thread, min / median
// of three runs, in the Windows build under Wine. A plain program run by
// scripts/bench-paint.sh.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "bench/typed_cell.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "numerics/numeric_function_table.h"
#include "tests/thread_seconds_win32.h"

namespace {

constexpr int kRuns = 3;
constexpr uint32_t kRows = 100000;
constexpr uint16_t kInputs = 5;

enum Totals { kSumAndCountIf, kStdev, kVlookup };

// The data in rows 2 to kRows + 1 and the totals in row 1 (above) or in the
// two rows after the data (below).
bool Build(CWorkBook& book, Totals totals, bool above) {
  if (!book.NewDocument()) return false;
  CWorkSheet& sheet = *book.activeWorksheet;
  char text[96];
  for (uint32_t r = 1; r <= kRows; ++r)
    for (uint16_t c = 0; c < kInputs; ++c) {
      std::snprintf(text, sizeof text, "%u", (r * 7 + c) % 1000);
      if (!TypeCell(book, sheet, text, r, c)) return false;
      std::snprintf(text, sizeof text, "=%c%u*2+1", 'A' + c, r + 1);
      if (!TypeCell(book, sheet, text, r, uint16_t(kInputs + c))) return false;
    }
  const uint32_t sumRow = above ? 0 : kRows + 1;
  for (uint16_t c = 0; c < kInputs; ++c) {
    const char column = char('F' + c);
    if (totals == kStdev)
      std::snprintf(text, sizeof text, "=STDEV(%c2:%c%u)", column, column, kRows + 1);
    else if (totals == kVlookup)
      std::snprintf(text, sizeof text, "=VLOOKUP(2001,%c2:%c%u,1,FALSE)", column, column, kRows + 1);
    else
      std::snprintf(text, sizeof text, "=SUM(%c2:%c%u)", column, column, kRows + 1);
    if (!TypeCell(book, sheet, text, sumRow, uint16_t(kInputs + c))) return false;
    if (totals != kSumAndCountIf) continue;
    std::snprintf(text, sizeof text, "=COUNTIF(%c2:%c%u,\">1000\")", column, column, kRows + 1);
    if (!TypeCell(book, sheet, text, above ? 0 : kRows + 2, uint16_t(kInputs + kInputs + c))) return false;
  }
  return true;
}

void Report(const char* name, Totals totals, bool above) {
  double full[kRuns];
  double edit[kRuns];
  for (int i = 0; i < kRuns; ++i) {
    auto book = std::make_unique<CWorkBook>();
    if (!Build(*book, totals, above)) {
      std::printf("%s: the workbook could not be built\n", name);
      return;
    }
    double start = ThreadSeconds();
    const bool ok = book->Recalculate(nullptr);
    full[i] = ThreadSeconds() - start;
    start = ThreadSeconds();
    const bool typed = TypeCell(*book, *book->activeWorksheet, "5", 1, 0) && book->Recalculate(nullptr);
    edit[i] = ThreadSeconds() - start;
    if (!ok || !typed) {
      std::printf("%s: the recalculation failed\n", name);
      return;
    }
  }
  std::sort(full, full + kRuns);
  std::sort(edit, edit + kRuns);
  std::printf("%-20s F9 %.3f / %.3f s, an input changed %.3f / %.3f s\n", name, full[0], full[kRuns / 2], edit[0],
              edit[kRuns / 2]);
  std::fflush(stdout);
}

}  // namespace

int main() {
  ResetGlobalOptions();
  CurrentRegionalSettings() = kGenericRegionalSettings;
  InstallFunctionLibrary();
  Report("totals below", kSumAndCountIf, false);
  Report("totals above", kSumAndCountIf, true);
  Report("STDEV below", kStdev, false);
  Report("STDEV above", kStdev, true);
  Report("VLOOKUP below", kVlookup, false);
  Report("VLOOKUP above", kVlookup, true);
  return 0;
}
