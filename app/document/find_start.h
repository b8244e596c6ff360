#ifndef TALVERO_APP_DOCUMENT_FIND_START_H
#define TALVERO_APP_DOCUMENT_FIND_START_H

// Where Find looks next: in the selection, or from a single selected cell on
// through the rest of the worksheet, always after the selection's top-left
// cell, so that repeated Finds step from one found cell to the next.

#include <cstdint>

#include "core/edit/reference_adjust.h"

struct FindSearch {
  CellRange range;
  uint16_t startColumn;
  uint32_t startRow;
};

// The searched range (first column, first row, last column, last row as
// selected) and the cell the search starts at: the one right of the
// top-left cell, or the first of the next row after the grid's last column.
// False when that passes the grid's last row.
bool PlanFindNext(uint32_t firstColumn, uint32_t firstRow, uint32_t lastColumn, uint32_t lastRow,
                  FindSearch* search);

#endif
