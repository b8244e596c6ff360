// Inserting and deleting rows and columns: the cells after the span are
// renumbered in place.

#include "core/cells/cell_store.h"

#include "core/cells/cell_store_places.h"

bool CellStore::InsertRows(uint32_t firstRow, uint32_t lastRow) {
  if (firstRow > lastRow) {
    lastError_ = kCellStoreBadRange;
    return false;
  }
  const uint64_t count = uint64_t(lastRow) - firstRow + 1;
  // Rows ascend through the chain: the last record has the largest row.
  if (CellBlock* last = firstBlock_) {
    while (last->next) last = last->next;
    uint32_t maxRow = 0;
    for (uint32_t offset = 0; offset < last->used; offset += RecordAt(last, offset)->Size())
      maxRow = RecordAt(last, offset)->Row();
    if (maxRow >= firstRow && maxRow + count > kMaxRow) {
      lastError_ = kCellStoreOffGrid;
      return false;
    }
  }
  InvalidatePageIndex();
  ForEachRecord(
      *this,
      [&](CellRecord& record) {
        if (record.Row() >= firstRow)
          record.SetRow(static_cast<uint32_t>(record.Row() + count));
        return true;
      },
      firstRow);
  return true;
}

bool CellStore::InsertColumns(uint16_t firstColumn, uint16_t lastColumn) {
  if (firstColumn > lastColumn) {
    lastError_ = kCellStoreBadRange;
    return false;
  }
  const uint32_t count = uint32_t(lastColumn) - firstColumn + 1;
  bool offGrid = false;
  ForEachRecord(*this, [&](const CellRecord& record) {
    if (record.Column() >= firstColumn && record.Column() + count > kMaxColumn)
      offGrid = true;
    return true;
  });
  if (offGrid) {
    lastError_ = kCellStoreOffGrid;
    return false;
  }
  InvalidatePageIndex();
  ForEachRecord(*this, [&](CellRecord& record) {
    if (record.Column() >= firstColumn)
      record.SetColumn(static_cast<uint16_t>(record.Column() + count));
    return true;
  });
  return true;
}

void CellStore::DeleteRows(uint32_t firstRow, uint32_t lastRow) {
  if (firstRow > lastRow || firstRow > kMaxRow)
    return;
  if (lastRow > kMaxRow)
    lastRow = kMaxRow;
  DeleteRange(0, kMaxColumn, firstRow, lastRow, nullptr, true);
  const uint32_t count = lastRow - firstRow + 1;
  ForEachRecord(
      *this,
      [&](CellRecord& record) {
        if (record.Row() > lastRow)
          record.SetRow(record.Row() - count);
        return true;
      },
      firstRow);
  InvalidatePageIndex();
}

void CellStore::DeleteColumns(uint16_t firstColumn, uint16_t lastColumn) {
  if (firstColumn > lastColumn || firstColumn > kMaxColumn)
    return;
  if (lastColumn > kMaxColumn)
    lastColumn = kMaxColumn;
  DeleteRange(firstColumn, lastColumn, 0, kMaxRow, nullptr, true);
  const uint16_t count = static_cast<uint16_t>(lastColumn - firstColumn + 1);
  ForEachRecord(*this, [&](CellRecord& record) {
    if (record.Column() > lastColumn)
      record.SetColumn(static_cast<uint16_t>(record.Column() - count));
    return true;
  });
  InvalidatePageIndex();
}
