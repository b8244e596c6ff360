#ifndef TALVERO_BENCH_PAINT_TIMING_WIN32_H
#define TALVERO_BENCH_PAINT_TIMING_WIN32_H

// What the painting benchmarks share: typing a cell as a user types it, one
// repaint of a worksheet's top left corner, and milliseconds per call by the
// performance counter.

#include <windows.h>

#include "core/edit/cell_input.h"
#include "core/workbook/workbook.h"
#include "tests/view/dib_canvas_win32.h"
#include "view/painting/draw_context_surface.h"
#include "view/painting/grid_painter.h"

inline bool TypeCell(CWorkBook* book, CWorkSheet* sheet, uint32_t row, uint16_t column, const char* text) {
  NumFormatParams format = book->styles.StyleAt(sheet->format.CellStyle(row, column)).numFormat;
  alignas(8) uint8_t record[kCellInputCapacity];
  return CWorkSheet::ParseCellInput(book, text, &format, row, column, record, sizeof record) > 0 &&
         sheet->cells.InsertCell(AsCellRecord(record), nullptr);
}

// Paints the worksheet from its first cell over the whole canvas, as the
// grid view repaints a screen.
inline void RepaintScreen(DibCanvas& screen, GridPainter& painter, CWorkSheet* sheet) {
  DrawContext context;
  context.AttachDC(screen.dc());
  DrawContextSurface surface(&context);
  painter.PaintCells(surface.Surface(), {0, 0, screen.width() - 1, screen.height() - 1}, sheet, 0, 0, 100, 100);
  GdiFlush();
}

// Milliseconds per call of f, over count calls.
template <class F>
double MillisecondsPerCall(int count, F f) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < count; ++i) f();
  QueryPerformanceCounter(&end);
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart / count;
}

#endif
