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
