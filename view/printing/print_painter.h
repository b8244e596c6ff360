#ifndef TALVERO_VIEW_PRINT_PAINTER_H
#define TALVERO_VIEW_PRINT_PAINTER_H

// One printed page: its headings, then its cells in the print form of the
// cell painter (the frozen row and column first, rows and columns left out
// of print skipped, texts running in from either side clipped to the page),
// then the containers over its cell area. The page's top-left pixel is the
// target's; a page occupies exactly the width and height pagination measured.

#include <cstdint>

#include "core/model/page_list.h"
#include "view/painting/grid_painter.h"
#include "view/painting/paint_surface.h"
#include "view/printing/print_frame.h"

class CWorkBook;
class CWorkSheet;

class PrintPainter {
 public:
  explicit PrintPainter(CWorkBook* workbook) : cells_(workbook) {}

  // printing: on a printer (heading outlines are drawn thicker there) rather
  // than in a preview.
  void PaintPage(const PaintSurface& surface, const PixelRect& target, CWorkSheet* sheet, const PageRecord& page,
                 const PrintZoom& zoom, bool printing);
  // The heading boxes of the page's rows and columns in the default font at
  // the vertical zoom; rowHeaderWidth or columnHeaderHeight 0 leaves that
  // side out.
  void PaintHeadings(const PaintSurface& surface, const PixelRect& target, CWorkSheet* sheet, int32_t rowHeaderWidth,
                     int32_t columnHeaderHeight, const PageRecord& page, const PrintZoom& zoom, bool printing);
  // Containers over the cell area right of and below the headings and the
  // frozen row and column.
  void PaintPageContainers(const PaintSurface& surface, const PixelRect& target, CWorkSheet* sheet,
                           uint16_t firstColumn, uint32_t firstRow, const PrintZoom& zoom, int32_t rowHeaderWidth,
                           int32_t columnHeaderHeight);

  GridPainter& Cells() { return cells_; }

 private:
  GridPainter cells_;
};

#endif
