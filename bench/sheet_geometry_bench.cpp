// Row heights and visible rows as the painters and the scroll steps ask for
// them: every row that is not fixed rises to the tallest column font.

#include <benchmark/benchmark.h>

#include <memory>

#include "core/workbook/worksheet.h"
#include "view/geometry/sheet_sizes.h"

namespace {

std::unique_ptr<CWorkSheet> SheetWithColumnFonts() {
  std::unique_ptr<CWorkSheet> sheet(NewWorksheet("S", 1));
  for (uint32_t c = 0; c < kColumnCount; c += 7) sheet->format.columns[c].fontHeightWord = static_cast<uint16_t>(c % 40);
  sheet->format.ColumnsChanged();
  return sheet;
}

void BM_RowHeights(benchmark::State& state) {
  auto sheet = SheetWithColumnFonts();
  for (auto _ : state) {
    int64_t sum = 0;
    for (uint32_t row = 0; row < 100000; ++row) sum += GetRowHeight(sheet.get(), row, 100);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_RowHeights);

void BM_LastVisibleRowAtPrintZoom(benchmark::State& state) {
  auto sheet = SheetWithColumnFonts();
  for (auto _ : state) benchmark::DoNotOptimize(LastVisibleRow(sheet.get(), 1 << 30, 0, 625, false));
}
BENCHMARK(BM_LastVisibleRowAtPrintZoom);

}  // namespace
