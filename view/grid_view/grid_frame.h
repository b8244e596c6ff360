#ifndef TALVERO_VIEW_GRID_FRAME_H
#define TALVERO_VIEW_GRID_FRAME_H

// Where the bands of a grid view lie for a scroll position: the header
// bands, the frozen row and column, and where the scrolling area begins. The
// row header is as wide as the last partly visible row needs, as painting
// makes it, so hit tests and rectangles agree with the pixels.

#include <cstdint>

#include "view/geometry/sheet_viewport.h"
#include "view/painting/paint_surface.h"
#include "view/painting/selection_painter.h"

struct GridFrame {
  int32_t rowHeaderWidth;
  int32_t columnHeaderHeight;
  int32_t frozenWidth;   // the frozen column's width + 1, or 0
  int32_t frozenHeight;  // the frozen row's height + 1, or 0
  int32_t scrollLeft;    // left grid line of the first visible column
  int32_t scrollTop;     // top grid line of the first visible row
};

GridFrame ComputeGridFrame(const SheetViewport& view, uint32_t firstRow);

// The client rectangle of a range at the view's zooms, from the grid line
// left of and above its first cell to the grid line right of and below its
// last. Parts scrolled out lie before 0; walks stop a client extent (left,
// top) or two (right, bottom) away, so a huge range costs no more than a
// screenful.
PixelRect GetRangeRect(const SheetViewport& view, uint32_t firstRow, uint16_t firstColumn,
                       const SelectionRange& range);

#endif
