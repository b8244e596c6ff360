#include "core/formula/kept_cell_lookups.h"

CellRecord* KeptCellLookups::LookUp(CellStore& store, uint32_t row, uint16_t column) {
  const uint64_t changes = store.ChainChanges();
  Entry* slot = nullptr;
  for (uint32_t i = 0; i < count_; ++i) {
    Entry& entry = entries_[i];
    if (entry.store == &store && entry.row == row && entry.column == column) {
      if (entry.changes == changes) return entry.cell;
      slot = &entry;
      break;
    }
  }
  if (!slot) {
    if (count_ < kCapacity) {
      slot = &entries_[count_++];
    } else {
      slot = &entries_[next_];
      next_ = (next_ + 1) % kCapacity;
    }
  }
  *slot = Entry{&store, changes, store.GetCell(row, column), row, column};
  return slot->cell;
}

void KeptCellLookups::KeepRow(CellStore& store, uint32_t row, uint16_t lastColumn) {
  rowStore_ = nullptr;
  if (lastColumn >= kRowSpan) return;
  for (uint32_t column = 0; column <= lastColumn; ++column) rowCells_[column] = nullptr;
  CellCursor cursor;
  store.PositionAtRow(row, &cursor);
  CellBlock* block = cursor.block;
  uint32_t offset = cursor.offset;
  while (block) {
    if (offset >= block->used) {
      block = block->next;
      offset = 0;
      continue;
    }
    CellRecord* record = AsCellRecord(block->payload + offset);
    if (record->Row() != row || record->Column() > lastColumn) break;
    const uint32_t size = record->Size();
    // A record of no known kind ends every walk: keep nothing then.
    if (size == 0) return;
    rowCells_[record->Column()] = record;
    offset += size;
  }
  rowStore_ = &store;
  rowChanges_ = store.ChainChanges();
  row_ = row;
  rowLastColumn_ = lastColumn;
}
