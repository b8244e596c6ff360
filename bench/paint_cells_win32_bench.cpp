// Painting a full 1920 x 1080 view of dense numbers and texts into a memory
// device context, as a window repaints: milliseconds per frame. A plain
// program for the Windows build, run under Wine by scripts/bench-paint.sh.

#include <windows.h>

#include <cstdio>
#include <memory>

#include "bench/paint_timing_win32.h"
#include "core/workbook/workbook.h"
#include "tests/view/dib_canvas_win32.h"
#include "view/painting/draw_context_surface.h"
#include "view/painting/grid_painter.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kFrames = 60;

}  // namespace

int main() {
  auto book = std::make_unique<CWorkBook>();
  if (!book->NewDocument())
    return 1;
  CWorkSheet* sheet = book->activeWorksheet;
  // More than a screen of cells: every column a number or a short text.
  for (uint32_t row = 0; row < 80; ++row) {
    for (uint16_t column = 0; column < 40; ++column) {
      char text[32];
      if (column % 3 == 2)
        std::snprintf(text, sizeof text, "Item %u-%u", row, column);
      else
        std::snprintf(text, sizeof text, "%u.%02u", row * 1000 + column * 7, column);
      if (!TypeCell(book.get(), sheet, row, column, text))
        return 1;
    }
  }

  DibCanvas screen(kWidth, kHeight);
  GridPainter painter(book.get());
  auto frame = [&]() { RepaintScreen(screen, painter, sheet); };
  for (int i = 0; i < 3; ++i) frame();  // fonts and brushes warm
  const double ms = MillisecondsPerCall(kFrames, frame);
  std::printf("PaintCells %dx%d, dense numbers and texts: %.2f ms per frame (%d frames)\n", kWidth, kHeight, ms,
              kFrames);
  return 0;
}
