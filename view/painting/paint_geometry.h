#ifndef TALVERO_VIEW_PAINT_GEOMETRY_H
#define TALVERO_VIEW_PAINT_GEOMETRY_H

// The header bands and the last visible row and column of a painted area,
// shared by the cell painter and the selection so that both agree on every
// pixel.

#include <cstdint>

#include "core/styles/text_measurer.h"
#include "view/geometry/sheet_viewport.h"
#include "view/painting/paint_surface.h"

class CWorkSheet;

struct PaintGeometry {
  int32_t columnHeaderHeight;  // ch, at zoom 100
  int32_t rowHeaderWidth;      // rw, at zoom 100, as wide as the last row needs
  uint32_t lastRow;            // partly visible rows count
  uint16_t lastColumn;
  FrozenPanes panes;
  int32_t frozenWidth;   // the frozen column's width + 1, or 0
  int32_t frozenHeight;  // the frozen row's height + 1, or 0
};

PaintGeometry ComputePaintGeometry(const TextMeasurer& measurer, const PixelRect& area, CWorkSheet* sheet,
                                   uint32_t firstRow, uint16_t firstColumn, uint16_t zoomX, uint16_t zoomY);

// What lies past the sheet's last row and last column when they are in view:
// the band below the last row's bottom grid line, across the whole area with
// the row-heading band, and the band right of the last column's right grid
// line, down to the first band, with the column-heading band. No heading,
// cell or grid line covers them. A band out of view has right < left.
struct SheetEndBands {
  PixelRect below;
  PixelRect right;
};

SheetEndBands ComputeSheetEndBands(const PixelRect& area, CWorkSheet* sheet, const PaintGeometry& g,
                                   uint32_t firstRow, uint16_t firstColumn, uint16_t zoomX, uint16_t zoomY);

#endif
