// Importing and exporting a CSV file of 1,000,000 cells: 100,000 rows of 10
// fields, numbers and texts in turn, in UTF-8 with commas. Each benchmark
// reports seconds per import or export and per cell (seconds_per_cell).
// With TALVERO_BENCH_CSV naming a file, that file is imported and exported
// instead (bench/text_vs_ssconvert.py times Gnumeric on the same file).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/workbook/workbook.h"

namespace {

constexpr uint32_t kRows = 100000;
constexpr uint16_t kColumns = 10;
const char kMadePath[] = "text_files_bench.csv";
const char kExportPath[] = "text_files_bench_out.csv";

const char* SourcePath() {
  const char* given = std::getenv("TALVERO_BENCH_CSV");
  return given && *given ? given : kMadePath;
}

std::unique_ptr<CWorkBook> Import(const char* path) {
  auto book = std::make_unique<CWorkBook>();
  if (!book->bufferedFile.Open(path, "rb") || !book->LoadText())
    return nullptr;
  return book;
}

bool Export(CWorkBook* book, const char* path) {
  BufferedFile held = book->bufferedFile;
  book->bufferedFile = BufferedFile{};
  const bool saved = book->bufferedFile.Open(path, "w+b") && book->SaveText(book->activeWorksheet);
  book->bufferedFile.Close();
  book->bufferedFile = held;
  return saved;
}

// The sample file, made once by the program's own writer.
bool MakeSource() {
  static const bool made = [] {
    if (std::getenv("TALVERO_BENCH_CSV"))
      return true;
    CWorkBook book;
    book.NewDocument();
    CellStore& cells = book.activeWorksheet->cells;
    CellCursor cursor;
    cursor.flags = kCursorAfterRecord;
    uint8_t record[64];
    char text[32];
    for (uint32_t row = 0; row < kRows; ++row) {
      for (uint16_t column = 0; column < kColumns; ++column) {
        uint32_t size;
        if (column % 2 == 0) {
          size = BuildNumberCell(record, sizeof record, row, column, row * 0.25 + column * 1000.5);
        } else {
          const int length = std::snprintf(text, sizeof text, "item %u-%u", row % 9973, column);
          size = BuildTextCell(record, sizeof record, row, column, text, uint16_t(length));
        }
        if (size == 0 || !cells.InsertCell(AsCellRecord(record), &cursor))
          return false;
      }
    }
    return Export(&book, kMadePath);
  }();
  return made;
}

uint64_t CellCount(CWorkBook* book) {
  uint64_t count = 0;
  const CellStore& cells = book->activeWorksheet->cells;
  ForEachRecord(cells, [&count](const CellRecord&) {
    ++count;
    return true;
  });
  return count;
}

void PerCell(benchmark::State& state, uint64_t cells) {
  state.counters["cells"] = double(cells);
  state.counters["seconds_per_cell"] =
      benchmark::Counter(double(cells), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ImportCsv(benchmark::State& state) {
  if (!MakeSource()) {
    state.SkipWithError("the sample file cannot be written");
    return;
  }
  uint64_t cells = 0;
  for (auto _ : state) {
    auto book = Import(SourcePath());
    if (!book) {
      state.SkipWithError("import failed");
      return;
    }
    cells = CellCount(book.get());
    state.PauseTiming();
    book.reset();
    state.ResumeTiming();
  }
  PerCell(state, cells);
}
BENCHMARK(BM_ImportCsv)->Unit(benchmark::kMillisecond);

void BM_ExportCsv(benchmark::State& state) {
  auto book = MakeSource() ? Import(SourcePath()) : nullptr;
  if (!book) {
    state.SkipWithError("the sample file cannot be read");
    return;
  }
  for (auto _ : state) {
    if (!Export(book.get(), kExportPath)) {
      state.SkipWithError("export failed");
      return;
    }
  }
  PerCell(state, CellCount(book.get()));
}
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);

}  // namespace
