// Copy and paste of a block of 100,000 rows by 10 columns (numbers with
// decimals, whole numbers and short texts), through the paste ring (the
// program's private format) and through plain text, as another program
// would give it. Counters, in processor time of this thread per cell:
//   copy_ring_ns_per_cell   recording the block in the ring, and its text
//                           for the clipboard (a copy writes both)
//   paste_ring_ns_per_cell  pasting the ring's block into another workbook
//   copy_text_ns_per_cell   the block's text alone
//   paste_text_ns_per_cell  reading that text as typed cells and pasting them
// and the seconds and memory a one-cell paste into a whole column takes, the
// seconds of a block of distinct texts pasted into one, and of the undo of
// such a paste.
// bench/clipboard_vs_gnumeric.py times Gnumeric's import of the same text as
// CSV beside the text paste.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app/clipboard/clipboard_ring.h"
#include "app/clipboard/pasted_text.h"
#include "app/clipboard/range_text.h"
#include "app/clipboard/ring_paste.h"
#include "bench/cpu_seconds.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "core/styles/text_measurer.h"
#include "core/workbook/workbook.h"

namespace {

constexpr uint32_t kRows = 100000;
constexpr uint16_t kColumns = 10;
constexpr double kCells = double(kRows) * kColumns;

// A measurer for the row heights a paste refits: every text one line of
// the default size, as the screen would measure the block's plain cells.
bool SelectFont(void*, const FontRecord&, int16_t, uint16_t) { return true; }
bool Measure(void*, const char*, size_t length, int32_t* width, int32_t* height) {
  *width = int32_t(length) * 7;
  *height = 16;
  return true;
}
const TextMeasurer kMeasurer{&SelectFont, &Measure, &Measure, nullptr};

// The text of the sample block, as another program would put it on the
// clipboard: the same cells the ring copies.
std::string SampleText() {
  std::string text;
  char field[32];
  for (uint32_t row = 0; row < kRows; ++row) {
    for (uint16_t column = 0; column < kColumns; ++column) {
      if (column % 5 == 4) {
        std::snprintf(field, sizeof field, "item %u", (row * 7 + column) % 1000);
      } else if (column % 2 == 0) {
        std::snprintf(field, sizeof field, "%u.%02u", row % 9973, (row + column) % 100);
      } else {
        std::snprintf(field, sizeof field, "%u", row * 31 + column);
      }
      text += field;
      if (column + 1 < kColumns) text += '\t';
    }
    if (row + 1 < kRows) text += "\r\n";
  }
  return text;
}

std::unique_ptr<CWorkBook> BookOf(const std::string& text) {
  auto book = std::make_unique<CWorkBook>();
  book->NewDocument();
  PastedBlock block;
  UndoRange target{};
  if (!ParsePastedText(book.get(), text.data(), text.size(), 0, 0, &block) ||
      !PasteTextBlock(block, book.get(), kMeasurer, {0, 0, 0, 0}, &target))
    std::fprintf(stderr, "the sample block could not be made\n");
  book->undoHistory.FreeAll();
  return book;
}

void BM_CopyAndPaste(benchmark::State& state) {
  CurrentRegionalSettings() = kGenericRegionalSettings;
  const std::string text = SampleText();
  const std::unique_ptr<CWorkBook> source = BookOf(text);
  const UndoRange block{0, 0, kColumns - 1, kRows - 1};
  double copyRing = 0, pasteRing = 0, copyText = 0, pasteText = 0;
  for (auto _ : state) {
    UndoHistory ring;
    double start = CpuSeconds();
    CopyRangeToRing(ring, source.get(), block);
    RangeText copied;
    FormatRangeText(source.get(), source->activeWorksheet, block, &copied);
    copyRing += CpuSeconds() - start;

    auto target = std::make_unique<CWorkBook>();
    target->NewDocument();
    UndoRange filled{};
    start = CpuSeconds();
    if (!PasteRingRange(ring, 0, target.get(), kMeasurer, {0, 0, 0, 0}, false, &filled))
      state.SkipWithError("the ring's block was not pasted");
    pasteRing += CpuSeconds() - start;

    start = CpuSeconds();
    RangeText written;
    FormatRangeText(source.get(), source->activeWorksheet, block, &written);
    copyText += CpuSeconds() - start;

    auto typed = std::make_unique<CWorkBook>();
    typed->NewDocument();
    start = CpuSeconds();
    PastedBlock parsed;
    if (!ParsePastedText(typed.get(), written.text, written.length, 0, 0, &parsed) ||
        !PasteTextBlock(parsed, typed.get(), kMeasurer, {0, 0, 0, 0}, &filled))
      state.SkipWithError("the text was not pasted");
    pasteText += CpuSeconds() - start;
    benchmark::DoNotOptimize(typed->activeWorksheet->cells.FirstBlock());
  }
  const double runs = double(state.iterations()) * kCells / 1e9;
  state.counters["copy_ring_ns_per_cell"] = copyRing / runs;
  state.counters["paste_ring_ns_per_cell"] = pasteRing / runs;
  state.counters["copy_text_ns_per_cell"] = copyText / runs;
  state.counters["paste_text_ns_per_cell"] = pasteText / runs;
}
BENCHMARK(BM_CopyAndPaste)->Unit(benchmark::kMillisecond)->Iterations(3);

double PeakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

// The heap in use, in megabytes.
double HeapMegabytes() {
  const struct mallinfo2 heap = mallinfo2();
  return double(heap.uordblks + heap.hblkhd) / (1024.0 * 1024.0);
}

bool PasteIntoColumn(CWorkBook* book, const char* typed, uint16_t column) {
  PastedBlock parsed;
  UndoRange filled{};
  return ParsePastedText(book, typed, std::strlen(typed), column, 0, &parsed) &&
         PasteTextBlock(parsed, book, kMeasurer, {column, 0, column, kMaxRow}, &filled);
}

// One typed cell pasted into a whole-column selection: the block is tiled
// over every row of the column. Counters: paste_s, seconds of processor time
// of this thread for the paste; held_mb, the heap the paste leaves in use
// (cells, row heights, undo step); peak_rss_mb, the process's peak resident
// memory so far (run one case alone for its own peak).
void BM_PasteOneCellIntoAColumn(benchmark::State& state) {
  // A number (0), a short text (1), or a text of 64 characters typed where
  // the decimal separator is a comma, into the grid's last column (2): each
  // row's height is measured whatever the cell, and the cost must not grow
  // with the text or the column. The same text pasted again over the column
  // it filled (3) also keeps the cells it replaces in its undo step.
  static const char kLongText[] = "Quarterly totals, region north-east, audited and carried forward";
  static_assert(sizeof kLongText == 64 + 1, "the long text has 64 characters");
  const int64_t kind = state.range(0);
  RegionalSettings region = kGenericRegionalSettings;
  if (kind >= 2) {
    region.decimalSeparator = ',';
    region.thousandsSeparator = '.';
    ChooseListSeparators(&region);
  }
  CurrentRegionalSettings() = region;
  const char* typed = kind == 0 ? "7" : kind == 1 ? "z" : kLongText;
  const uint16_t column = kind >= 2 ? kMaxColumn : 0;
  double seconds = 0;
  double held = 0;
  for (auto _ : state) {
    auto book = std::make_unique<CWorkBook>();
    book->NewDocument();
    if (kind == 3 && !PasteIntoColumn(book.get(), typed, column))
      state.SkipWithError("the column was not filled");
    const double heapBefore = HeapMegabytes();
    const double start = CpuSeconds();
    if (!PasteIntoColumn(book.get(), typed, column))
      state.SkipWithError("the cell was not pasted");
    seconds += CpuSeconds() - start;
    held += HeapMegabytes() - heapBefore;
    benchmark::DoNotOptimize(book->activeWorksheet->cells.FirstBlock());
  }
  CurrentRegionalSettings() = kGenericRegionalSettings;
  state.counters["paste_s"] = seconds / double(state.iterations());
  state.counters["held_mb"] = held / double(state.iterations());
  state.counters["peak_rss_mb"] = PeakResidentMegabytes();
}
BENCHMARK(BM_PasteOneCellIntoAColumn)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(2);

// The typed text of a block of rows distinct texts, one a row, as another
// program puts a column of cells on the clipboard; first numbers the first.
// Short names ("a" to "z", then "a1" on) unless long: "block text 1" on.
std::string BlockText(int64_t rows, int64_t first, bool longTexts) {
  std::string text;
  for (int64_t row = 0; row < rows; ++row) {
    const int64_t number = first + row;
    if (row != 0) text += "\r\n";
    if (longTexts) {
      text += "block text " + std::to_string(number + 1);
    } else {
      text += char('a' + number % 26);
      if (number >= 26) text += std::to_string(number / 26);
    }
  }
  return text;
}

// Column A wrapping its texts in 40 pixels: each of the block's long texts
// takes a few lines.
void WrapColumnA(CWorkBook* book) {
  StyleRecord style = StyleRecord::Default();
  style.alignment.wrapText = true;
  uint16_t index = 0;
  if (!book->styles.FindOrAddStyle(style, &index)) std::fprintf(stderr, "the wrapped style was not added\n");
  book->activeWorksheet->format.columns[0].SetStyle(index);
  book->activeWorksheet->format.columns[0].SetWidth(40, true);
}

// A block of distinct texts pasted into a whole-column selection: the block
// is tiled down the column and every row refitted, its texts alternating
// from row to row. Arguments: the block's rows, and whether the column wraps
// its (long) texts; a block of one row is the measure, as a block of any
// height should cost about what one of its texts does. Counter paste_s as for
// one cell.
void BM_PasteBlockIntoAColumn(benchmark::State& state) {
  CurrentRegionalSettings() = kGenericRegionalSettings;
  const bool wrapped = state.range(1) != 0;
  const std::string typed = BlockText(state.range(0), 0, wrapped);
  double seconds = 0;
  for (auto _ : state) {
    auto book = std::make_unique<CWorkBook>();
    book->NewDocument();
    if (wrapped) WrapColumnA(book.get());
    const double start = CpuSeconds();
    if (!PasteIntoColumn(book.get(), typed.c_str(), 0)) state.SkipWithError("the block was not pasted");
    seconds += CpuSeconds() - start;
    benchmark::DoNotOptimize(book->activeWorksheet->cells.FirstBlock());
  }
  state.counters["paste_s"] = seconds / double(state.iterations());
}
BENCHMARK(BM_PasteBlockIntoAColumn)
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({10, 0})
    ->Args({100, 0})
    ->Args({1, 1})
    ->Args({100, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// The undo of a block pasted over a whole column that held another block of
// as many rows: the step puts the earlier texts back, then the rows are
// refitted over the step's range, as the program does after Ctrl+Z. The
// argument is the blocks' rows; 1 is the one-cell measure. Counter undo_s,
// processor seconds of the undo and its refit.
void BM_UndoBlockPasteIntoAColumn(benchmark::State& state) {
  CurrentRegionalSettings() = kGenericRegionalSettings;
  const int64_t rows = state.range(0);
  const std::string earlier = BlockText(rows, 0, false);
  const std::string pasted = BlockText(rows, rows, false);
  double seconds = 0;
  for (auto _ : state) {
    auto book = std::make_unique<CWorkBook>();
    book->NewDocument();
    if (!PasteIntoColumn(book.get(), earlier.c_str(), 0) || !PasteIntoColumn(book.get(), pasted.c_str(), 0))
      state.SkipWithError("the blocks were not pasted");
    const int32_t index = book->undoHistory.Current();
    const double start = CpuSeconds();
    if (!book->UndoStep()) state.SkipWithError("the paste was not undone");
    const UndoRange range = book->undoHistory.Record(index).range;
    CWorkSheet::AutoRowHeights(book.get(), kMeasurer, book->activeWorksheet, range.firstRow, range.lastRow);
    seconds += CpuSeconds() - start;
    benchmark::DoNotOptimize(book->activeWorksheet->cells.FirstBlock());
  }
  state.counters["undo_s"] = seconds / double(state.iterations());
}
BENCHMARK(BM_UndoBlockPasteIntoAColumn)
    ->Arg(1)
    ->Arg(2)
    ->Arg(10)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// Writes the sample text for the comparison script: TABs become commas, as
// no field of the sample holds one.
void BM_WriteSampleCsv(benchmark::State& state) {
  for (auto _ : state) {
  }
  const char* path = std::getenv("TALVERO_SAMPLE_CSV");
  if (path == nullptr) return;
  std::string text = SampleText();
  for (char& c : text)
    if (c == '\t') c = ',';
  if (std::FILE* file = std::fopen(path, "wb")) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
}
BENCHMARK(BM_WriteSampleCsv)->Iterations(1);

}  // namespace
