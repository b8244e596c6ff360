#ifndef TALVERO_CORE_COPY_RANGE_TRANSPOSED_H
#define TALVERO_CORE_COPY_RANGE_TRANSPOSED_H

#include <cstdint>

#include "core/cells/cell_store.h"

// Empties target, then copies every cell of the source rectangle into it with
// rows and columns exchanged about the rectangle's top-left corner: the cell
// at (column c, row r) goes to (firstColumn + r - firstRow, firstRow + c -
// firstColumn). Records are copied whole, formula texts unchanged. The walk
// starts at start's block when one is given, else at the first row. False,
// with target empty, when the transposed rectangle would leave the grid or an
// insertion fails.
bool CopyRangeTransposed(const CellStore& source, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                         uint32_t lastRow, CellStore* target, const CellCursor* start = nullptr);

#endif
