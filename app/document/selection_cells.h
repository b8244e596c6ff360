#ifndef TALVERO_APP_DOCUMENT_SELECTION_CELLS_H
#define TALVERO_APP_DOCUMENT_SELECTION_CELLS_H

// A view's selection as the rectangle of cells the core's edits take.

#include "core/edit/reference_adjust.h"
#include "view/painting/selection_painter.h"

// Corners past the grid's last column or row are brought back onto it, so
// that no coordinate wraps when narrowed.
inline CellRange CellRangeOfSelection(const SelectionRange& s) {
  const uint32_t lastColumn = s.lastColumn < kMaxColumn ? s.lastColumn : kMaxColumn;
  const uint32_t firstColumn = s.firstColumn < lastColumn ? s.firstColumn : lastColumn;
  const uint32_t lastRow = s.lastRow < kMaxRow ? s.lastRow : kMaxRow;
  const uint32_t firstRow = s.firstRow < lastRow ? s.firstRow : lastRow;
  return CellRange{static_cast<uint16_t>(firstColumn), firstRow, static_cast<uint16_t>(lastColumn), lastRow};
}

#endif
