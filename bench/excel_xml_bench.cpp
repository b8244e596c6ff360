// Exporting and importing an Excel 2003 XML Spreadsheet of 1,000,000 cells
// in 20 columns: numbers, texts, and short formulas with cached results, a
// style on every fifth column. Each benchmark reports ns_per_cell. The
// export is left in excel_xml_bench.xml for bench/excel_xml_vs_ssconvert.py,
// which times Gnumeric's ssconvert on the same file.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "core/workbook/workbook.h"
#include "view/draw_context/portable_text_measurer.h"

namespace {

constexpr uint32_t kColumns = 20;
constexpr uint32_t kCells = 1000000;
const char kPath[] = "excel_xml_bench.xml";

std::unique_ptr<CWorkBook> MakeBook() {
  auto book = std::make_unique<CWorkBook>();
  book->NewDocument();
  StyleRecord style = StyleRecord::Default();
  style.alignment.horizontal = kHAlignRight;
  style.numFormat.category = kNumFormatUserPattern;
  std::snprintf(style.numFormat.code, sizeof style.numFormat.code, "0.00");
  uint16_t styleIndex = 0;
  book->styles.FindOrAddStyle(style, &styleIndex);
  CWorkSheet* sheet = book->activeWorksheet;
  for (uint32_t c = 0; c < kColumns; c += 5) sheet->format.columns[c].SetStyle(styleIndex);
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  uint8_t record[128];
  char text[32];
  for (uint32_t i = 0; i < kCells; ++i) {
    const uint32_t row = i / kColumns;
    const uint16_t column = uint16_t(i % kColumns);
    uint32_t size;
    switch (column % 4) {
      case 0:
      case 1:
        size = BuildNumberCell(record, sizeof record, row, column, row * 0.25 + column / 3.0);
        break;
      case 2:
        std::snprintf(text, sizeof text, "item %u & co", row);
        size = BuildTextCell(record, sizeof record, row, column, text, uint16_t(std::strlen(text)));
        break;
      default: {
        std::snprintf(text, sizeof text, "=RC[-3]*%u+1", row % 97);
        FormulaCellFields fields;
        fields.formula = text;
        fields.formulaLength = uint16_t(std::strlen(text));
        fields.resultFlags = kResultCachedNumber;
        fields.cachedNumber = row * 0.5;
        size = BuildFormulaCell(record, sizeof record, row, column, fields);
        break;
      }
    }
    if (size)
      sheet->cells.InsertCell(AsCellRecord(record), &cursor);
  }
  return book;
}

void NsPerCell(benchmark::State& state) {
  state.counters["ns_per_cell"] = benchmark::Counter(kCells * 1e-9, benchmark::Counter::kIsIterationInvariantRate |
                                                                        benchmark::Counter::kInvert);
}

void BM_ExportExcelXml(benchmark::State& state) {
  auto book = MakeBook();
  PortableTextMeasurer screen;
  for (auto _ : state) {
    book->bufferedFile.Open(kPath, "w+b");
    if (!book->SaveExcelXml(&screen.Measurer()))
      state.SkipWithError("the export failed");
    book->bufferedFile.Close();
  }
  NsPerCell(state);
}
BENCHMARK(BM_ExportExcelXml)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportExcelXml(benchmark::State& state) {
  PortableTextMeasurer screen;
  for (auto _ : state) {
    auto book = std::make_unique<CWorkBook>();
    book->bufferedFile.Open(kPath, "rb");
    if (!book->LoadExcelXml(&screen.Measurer()))
      state.SkipWithError("the import failed");
    book->bufferedFile.Close();
  }
  NsPerCell(state);
}
BENCHMARK(BM_ImportExcelXml)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
