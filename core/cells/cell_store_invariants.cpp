// The cell store's invariant checker.

#include "core/cells/cell_store.h"

#include <cstdio>

#include "core/cells/cell_store_places.h"

bool CellStore::CheckInvariants(char* message, size_t capacity) const {
  if (!CheckChain(message, capacity))
    return false;
  auto fail = [&](const char* what, uint32_t blockIndex, uint32_t offset) {
    if (message && capacity)
      std::snprintf(message, capacity, "%s (block %u, offset %u)", what, blockIndex, offset);
    return false;
  };
  bool anyRecord = false;
  uint64_t previousKey = 0;
  uint32_t previousRow = 0;
  uint32_t indexedRows = 0;
  uint32_t blockIndex = 0;
  for (const CellBlock* block = firstBlock_; block; block = block->next, ++blockIndex) {
    for (uint32_t offset = 0; offset < block->used;) {
      const CellRecord* record = RecordAt(block, offset);
      uint32_t size = record->Size();
      if (size == 0)
        return fail("record of no known kind", blockIndex, offset);
      if (offset + size > block->used)
        return fail("record runs past the block's used bytes", blockIndex, offset);
      uint32_t row = record->Row();
      if (row > kMaxRow || record->Column() > kMaxColumn)
        return fail("record outside the grid", blockIndex, offset);
      uint64_t key = CellKey(record);
      if (anyRecord && key <= previousKey)
        return fail("records not in ascending (row, column) order", blockIndex, offset);
      bool firstOfRow = !anyRecord || row != previousRow;
      uint32_t page = row / kRowsPerPage;
      if (firstOfRow && (pageFlags_[page] & kPageIndexBuilt)) {
        const PageIndexEntry& entry = pageIndex_[page]->entries[row % kRowsPerPage];
        if (entry.block != block || entry.offset != offset)
          return fail("page index entry is not the row's first record", blockIndex, offset);
        ++indexedRows;
      }
      anyRecord = true;
      previousKey = key;
      previousRow = row;
      offset += size;
    }
  }
  uint32_t entries = 0;
  for (uint32_t page = 0; page < kPageCount; ++page)
    if (pageFlags_[page] & kPageIndexBuilt)
      for (const PageIndexEntry& entry : pageIndex_[page]->entries) entries += entry.block != nullptr;
  if (entries != indexedRows)
    return fail("page index names rows that hold no record", 0, 0);
  return true;
}
