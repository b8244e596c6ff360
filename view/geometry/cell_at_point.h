#ifndef TALVERO_VIEW_CELL_AT_POINT_H
#define TALVERO_VIEW_CELL_AT_POINT_H

// Which cell of the scrolling area lies under a client pixel.

#include <cstdint>

#include "view/geometry/sheet_viewport.h"

// Columns are walked from the first visible one, starting one pixel after
// the row header band (and after the frozen column), each covering its left
// pixel to left + width inclusive; rows likewise below the column header
// band and the frozen row. False over the headers, the frozen row or column,
// outside the client area and past the grid.
bool CellAtPoint(const SheetViewport& view, uint32_t firstRow, uint16_t firstColumn, int32_t x, int32_t y,
                 uint32_t* row, uint16_t* column);

#endif
