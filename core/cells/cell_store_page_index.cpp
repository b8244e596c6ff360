// The page index: built for a page, built for a page that lookups keep
// coming back to during a recalculation pass, and kept in step through
// the inserts of such a pass.

#include "core/cells/cell_store.h"

#include "core/cells/cell_store_places.h"

bool CellStore::IndexLookedUpPage(uint32_t page) {
  if (!(pageFlags_[page] & kPageLookedUp)) {
    pageFlags_[page] |= kPageLookedUp;
    return false;
  }
  // Without the memory the search goes on as before, and a lookup leaves
  // no error behind.
  const uint8_t error = lastError_;
  CellCursor build;
  const bool built = BuildPageIndex(page, &build);
  lastError_ = error;
  return built;
}

bool CellStore::BeginsRowAt(RecordPosition at, uint32_t row) const {
  const uint32_t page = row / kRowsPerPage;
  if (page >= kPageCount || !(pageFlags_[page] & kPageIndexBuilt))
    return false;  // no entry to keep
  const PageIndexEntry& entry = pageIndex_[page]->entries[row % kRowsPerPage];
  // A record of the row before at would be the row's first; otherwise the
  // row's first record, if any, is the one at the place itself.
  if (!entry.block || !at.block || (entry.block == at.block && entry.offset == at.offset))
    return true;
  return at.offset >= at.block->used && entry.block == at.block->next && entry.offset == 0;
}

bool CellStore::ShiftRowStartsAfter(const CellBlock* block, uint32_t row, int32_t shift) {
  // The rows that may begin in the block after row end with the row of the
  // next block's first record; past a few dozen (a sparse sheet) walking
  // the block's records costs less than looking at every row between.
  constexpr uint32_t kMostRows = 48;
  if (!block->next)
    return false;
  const uint32_t lastRow = RecordAt(block->next, 0)->Row();
  if (lastRow <= row || lastRow - row > kMostRows)
    return lastRow <= row;
  for (uint32_t r = row + 1; r <= lastRow; ++r) {
    const uint32_t page = r / kRowsPerPage;
    if (!(pageFlags_[page] & kPageIndexBuilt))
      continue;
    PageIndexEntry& entry = pageIndex_[page]->entries[r % kRowsPerPage];
    if (entry.block == block)
      entry.offset = static_cast<uint16_t>(entry.offset + shift);
  }
  return true;
}

void CellStore::ReindexFrom(RecordPosition placed, const CellBlock* through, bool beginsRow) {
  const CellRecord* record = RecordAt(placed.block, placed.offset);
  uint32_t previousRow = record->Row();
  if (beginsRow)
    SetIndexedRowStart(previousRow, placed);
  CellBlock* block = placed.block;
  uint32_t offset = placed.offset + record->Size();
  for (;;) {
    while (offset < block->used) {
      record = RecordAt(block, offset);
      const uint32_t size = record->Size();
      if (size == 0)
        break;  // a malformed record ends the block's walk rather than looping
      const uint32_t row = record->Row();
      if (row != previousRow)
        SetIndexedRowStart(row, {block, static_cast<uint16_t>(offset)});
      previousRow = row;
      offset += size;
    }
    if (block == through || !block->next)
      return;
    block = block->next;
    offset = 0;
  }
}

bool CellStore::BuildPageIndex(uint32_t page, CellCursor* cursor) {
  if (page >= kPageCount) {
    lastError_ = kCellStoreBadRange;
    return false;
  }
  // A pass that only rewrote results in place left its index right.
  if (RestoreKeptIndexPage(page)) {
    if (cursor)
      cursor->block = nullptr;
    return true;
  }
  if (!BuildPageIndexOf<CellRecordTraits>(page, cursor)) {
    lastError_ = kCellStoreOutOfMemory;
    return false;
  }
  return true;
}
