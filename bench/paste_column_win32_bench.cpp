// Text pasted into a whole-column selection, measured through the screen's
// real text measurer as the program under Wine measures it: one text, and a
// block of two texts whose rows alternate down the column; then the undo of
// each with the refit of its rows that follows Ctrl+Z. Processor seconds of
// this thread, min / median of five runs. A plain program for the Windows
// build, run under Wine by scripts/bench-paint.sh.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/clipboard/pasted_text.h"
#include "app/clipboard/ring_paste.h"
#include "core/workbook/workbook.h"
#include "tests/thread_seconds_win32.h"
#include "view/draw_context/screen_measurer.h"

namespace {

constexpr int kRuns = 5;

struct Run {
  double paste;
  double undo;
};

// One paste of the typed text into the whole of column C of a new workbook,
// then its undo; false when either fails.
bool PasteAndUndo(const char* typed, Run* run) {
  auto book = std::make_unique<CWorkBook>();
  if (!book->NewDocument())
    return false;
  constexpr uint16_t kColumn = 2;
  ScreenMeasurer screen;
  PastedBlock parsed;
  UndoRange filled{};
  double start = ThreadSeconds();
  if (!ParsePastedText(book.get(), typed, std::strlen(typed), kColumn, 0, &parsed) ||
      !PasteTextBlock(parsed, book.get(), screen.Measurer(), {kColumn, 0, kColumn, kMaxRow}, &filled))
    return false;
  run->paste = ThreadSeconds() - start;
  const int32_t step = book->undoHistory.Current();
  start = ThreadSeconds();
  if (!book->UndoStep())
    return false;
  const UndoRange range = book->undoHistory.Record(step).range;
  CWorkSheet::AutoRowHeights(book.get(), screen.Measurer(), book->activeWorksheet, range.firstRow, range.lastRow);
  run->undo = ThreadSeconds() - start;
  return true;
}

void Report(const char* name, const char* typed) {
  double paste[kRuns];
  double undo[kRuns];
  for (int i = 0; i < kRuns; ++i) {
    Run run{};
    if (!PasteAndUndo(typed, &run)) {
      std::printf("%-28s failed\n", name);
      return;
    }
    paste[i] = run.paste;
    undo[i] = run.undo;
  }
  std::sort(paste, paste + kRuns);
  std::sort(undo, undo + kRuns);
  std::printf("%-28s paste %.3f / %.3f s   undo %.3f / %.3f s\n", name, paste[0], paste[kRuns / 2], undo[0],
              undo[kRuns / 2]);
}

}  // namespace

int main() {
  std::printf("whole column, processor seconds, min / median of %d\n", kRuns);
  Report("one text \"a\"", "a");
  Report("two texts \"a\", \"b\"", "a\r\nb");
  return 0;
}
