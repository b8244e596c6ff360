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
  CellCursor cursor;
  store.PositionAtRow(row, &cursor);
  rowStore_ = &store;
  rowChanges_ = store.ChainChanges();
  row_ = row;
  rowColumns_ = 0;
  rowBlock_ = cursor.block;
  rowOffset_ = cursor.offset;
  ExtendRow(lastColumn);
}

CellRecord* KeptCellLookups::ExtendRow(uint16_t column) {
  for (uint32_t blank = rowColumns_; blank <= column; ++blank) rowCells_[blank] = nullptr;
  CellBlock* block = rowBlock_;
  uint32_t offset = rowOffset_;
  while (block) {
    if (offset >= block->used) {
      block = block->next;
      offset = 0;
      continue;
    }
    CellRecord* record = AsCellRecord(block->payload + offset);
    if (record->Row() != row_ || record->Column() > column) break;
    const uint32_t size = record->Size();
    // A record of no known kind ends every walk: the row is kept no more.
    if (size == 0) {
      CellStore& store = *rowStore_;
      rowStore_ = nullptr;
      return LookUp(store, row_, column);
    }
    rowCells_[record->Column()] = record;
    offset += size;
  }
  rowBlock_ = block;
  rowOffset_ = offset;
  rowColumns_ = uint32_t(column) + 1;
  return rowCells_[column];
}
