// Painting a screen of 40 x 100 cells of numbers with two chart containers
// over them (a column chart on a pattern fill, an XY chart on a fractal
// background) into a memory device context, as a window repaints:
// milliseconds per full repaint once the charts are prepared and the
// fractal is rendered, and for the first paint that does both. A plain
// program for the Windows build, run under Wine by scripts/bench-paint.sh.

#include <windows.h>

#include <cstdio>
#include <memory>

#include "bench/paint_timing_win32.h"
#include "charts/containers/chart_painters.h"
#include "charts/gallery/sample_charts.h"
#include "core/model/chart_record.h"
#include "core/workbook/workbook.h"
#include "tests/view/dib_canvas_win32.h"
#include "view/painting/draw_context_surface.h"
#include "view/painting/grid_painter.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kFrames = 60;

bool AddContainer(CWorkBook* book, uint16_t column, uint32_t row, uint8_t background, uint8_t kind) {
  ContainerRecord* box = new ContainerRecord();
  const ContainerAnchor anchor = {column, row, 9};
  const ContainerRect offsets = {0, 0, 599, 399};
  box->Init(&anchor, &offsets);
  if (!book->AssignContainerId(box))
    return false;
  box->header.backgroundKind = background;
  box->header.itemCount = 1;
  box->items[0].kind = kItemChart;
  box->items[0].chart = new ChartRecord(kind);
  book->activeWorksheet->AddContainer(box);
  return LoadGallerySample(*box->items[0].chart, 0);
}

}  // namespace

int main() {
  InstallChartPainters();
  auto book = std::make_unique<CWorkBook>();
  if (!book->NewDocument())
    return 1;
  CWorkSheet* sheet = book->activeWorksheet;
  for (uint32_t row = 0; row < 100; ++row) {
    for (uint16_t column = 0; column < 40; ++column) {
      char text[32];
      std::snprintf(text, sizeof text, "%u.%02u", row * 1000 + column * 7, column);
      if (!TypeCell(book.get(), sheet, row, column, text))
        return 1;
    }
  }
  if (!AddContainer(book.get(), 2, 3, kBackgroundPattern, kChart2D) ||
      !AddContainer(book.get(), 12, 20, kBackgroundFractal, kChartXY))
    return 1;

  DibCanvas screen(kWidth, kHeight);
  GridPainter painter(book.get());
  auto frame = [&]() { RepaintScreen(screen, painter, sheet); };
  const double first = MillisecondsPerCall(1, frame);
  for (int i = 0; i < 2; ++i) frame();
  const double ms = MillisecondsPerCall(kFrames, frame);
  std::printf("PaintCells %dx%d, 40 x 100 numbers and two chart containers: %.2f ms per repaint (%d frames); "
              "first paint, preparing the charts and rendering the fractal: %.2f ms\n",
              kWidth, kHeight, ms, kFrames, first);
  return 0;
}
