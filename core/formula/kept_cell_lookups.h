#ifndef TALVERO_CORE_KEPT_CELL_LOOKUPS_H
#define TALVERO_CORE_KEPT_CELL_LOOKUPS_H

// The cells a search over a formula looks up at every one of its steps: the
// same few references, evaluated again and again while only numbers change
// in place. Each lookup is kept with the store's count of chain changes, so
// that a cell added, removed or moved in between is looked up afresh.

#include <cstdint>

#include "core/cells/cell_store.h"

class KeptCellLookups {
 public:
  static constexpr uint32_t kCapacity = 16;
  // Columns a row's cells may be kept for by KeepRow.
  static constexpr uint32_t kRowSpan = 64;

  // The cell's record, or null, as CellStore::GetCell finds it.
  CellRecord* Find(CellStore& store, uint32_t row, uint16_t column) {
    // Every step of a search asks for the same few cells again: the common
    // case is a kept lookup still valid, checked here without a call.
    const uint64_t changes = store.ChainChanges();
    if (row == row_ && &store == rowStore_ && changes == rowChanges_) {
      if (column < rowColumns_) return rowCells_[column];
      if (column < kRowSpan) return ExtendRow(column);
    }
    for (uint32_t i = 0; i < count_; ++i) {
      const Entry& entry = entries_[i];
      if (entry.row == row && entry.column == column && entry.store == &store && entry.changes == changes)
        return entry.cell;
    }
    return LookUp(store, row, column);
  }

  // Keeps every cell of the row from its first column to lastColumn, found
  // by one walk from the row's start, which a later lookup further right in
  // the row, below kRowSpan, carries on: a search's target, its variable
  // and the target's cells mostly share a row, and looking each up on its
  // own would step over the row's first cells again and again. Nothing is
  // kept for a lastColumn of kRowSpan or more.
  void KeepRow(CellStore& store, uint32_t row, uint16_t lastColumn);

 private:
  // Walks the kept row on to column (one it has not reached, below
  // kRowSpan); its record, or null.
  CellRecord* ExtendRow(uint16_t column);

  // Finds the cell in the store and keeps the lookup.
  CellRecord* LookUp(CellStore& store, uint32_t row, uint16_t column);

  struct Entry {
    const CellStore* store;
    uint64_t changes;
    CellRecord* cell;
    uint32_t row;
    uint16_t column;
  };
  Entry entries_[kCapacity];
  uint32_t count_ = 0;
  uint32_t next_ = 0;  // the entry a new lookup replaces once all are taken
  // The row KeepRow walked: only its first rowColumns_ cells are ever
  // read, null for a blank.
  CellStore* rowStore_ = nullptr;
  uint64_t rowChanges_ = 0;
  uint32_t row_ = 0;
  uint32_t rowColumns_ = 0;
  // Where the walk stopped: the row's first record past those columns.
  CellBlock* rowBlock_ = nullptr;
  uint32_t rowOffset_ = 0;
  CellRecord* rowCells_[kRowSpan];
};

#endif
