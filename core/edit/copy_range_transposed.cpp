#include "core/edit/copy_range_transposed.h"

#include <cstring>

bool CopyRangeTransposed(const CellStore& source, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                         uint32_t lastRow, CellStore* target, const CellCursor* start) {
  target->Clear(false);
  if (firstColumn > lastColumn || firstRow > lastRow) return false;
  if (uint64_t(firstColumn) + (lastRow - firstRow) >= kColumnCount ||
      uint64_t(firstRow) + (lastColumn - firstColumn) >= kRowCount)
    return false;

  CellCursor walk = source.StartRangeWalk(firstRow);
  if (start && start->block) {
    walk.block = start->block;
    walk.offset = 0;
  }
  CellCursor insertAt;
  uint32_t lastTargetRow = 0;
  uint8_t record[kBlockPayload];
  while (const CellRecord* cell = walk.NextInRange(firstColumn, lastColumn, firstRow, lastRow)) {
    const uint32_t size = cell->Size();
    if (size == 0 || size > sizeof record) {
      target->Clear(false);
      return false;
    }
    std::memcpy(record, cell->Bytes(), size);
    CellRecord* copy = AsCellRecord(record);
    const uint32_t targetRow = firstRow + (cell->Column() - firstColumn);
    copy->SetColumn(static_cast<uint16_t>(firstColumn + (cell->Row() - firstRow)));
    copy->SetRow(targetRow);
    // Each source row starts again at the top of the target rectangle.
    if (targetRow < lastTargetRow) insertAt = CellCursor();
    lastTargetRow = targetRow;
    if (!target->InsertCell(copy, &insertAt)) {
      target->Clear(false);
      return false;
    }
  }
  return true;
}
