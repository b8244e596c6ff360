#include "core/edit/array_result_cover.h"

#include "core/cells/cell_store.h"

CellRange CoverArrayResults(const CellStore& cells, const CellRange& range) {
  CellRange covered = range;
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  cells.PositionAtRow(range.firstRow, &walk);
  while (const CellRecord* cell = walk.NextInRange(range.firstColumn, range.lastColumn, range.firstRow,
                                                  range.lastRow)) {
    if (!cell->IsSpillingArrayFormula())
      continue;
    const uint64_t lastColumn = uint64_t(cell->Column()) + cell->ArrayColumns() - 1;
    const uint64_t lastRow = uint64_t(cell->Row()) + cell->ArrayRows() - 1;
    if (lastColumn > covered.lastColumn)
      covered.lastColumn = static_cast<uint16_t>(lastColumn > kMaxColumn ? kMaxColumn : lastColumn);
    if (lastRow > covered.lastRow)
      covered.lastRow = static_cast<uint32_t>(lastRow > kMaxRow ? kMaxRow : lastRow);
  }
  return covered;
}
