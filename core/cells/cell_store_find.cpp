// Finding cells: a cell by its row and column (through the cursor, the
// row position memo, the page index or the block directory), the first
// record of a row, a place within an indexed row, and the used range.

#include "core/cells/cell_store.h"

#include "core/cells/cell_store_places.h"

const CellRecord* CellStore::Seek(uint32_t row, uint16_t column, CellCursor* cursor) const {
  RecordPosition at;
  const bool indexed = !cursor->block && row <= kMaxRow && (pageFlags_[row / kRowsPerPage] & kPageIndexBuilt);
  if (cursor->block) {
    at = {cursor->block, cursor->offset};
  } else if (indexed) {
    const PageIndexPage* index = pageIndex_[row / kRowsPerPage];
    if (!index)
      return nullptr;
    const PageIndexEntry& entry = index->entries[row % kRowsPerPage];
    if (!entry.block)
      return nullptr;
    // The row's first record: no later block begins before the row, so the
    // next block's header is not touched.
    at = {entry.block, entry.offset};
  } else {
    if (!firstBlock_)
      return nullptr;
    at = {BlockOfCell(row, column), 0};
  }
  if (!indexed)
    at = SkipBlocksBefore<CellRecordTraits>(at, row);

  const uint64_t key = CellKey(row, column);
  // The cursor is written once, where the search ends.
  RecordPosition examined = {nullptr, 0};
  for (;;) {
    const uint32_t used = at.block->used;
    for (uint32_t offset = at.offset; offset < used;) {
      const CellRecord* record = RecordAt(at.block, offset);
      const uint64_t found = CellKey(record);
      if (found >= key) {
        cursor->block = at.block;
        cursor->offset = static_cast<uint16_t>(offset);
        if (found != key)
          return nullptr;
        if (cursor->flags & kCursorAfterRecord)
          cursor->offset = static_cast<uint16_t>(offset + record->Size());
        return record;
      }
      examined = {at.block, static_cast<uint16_t>(offset)};
      offset += record->Size();
    }
    if (!at.block->next) {
      if (examined.block) {
        cursor->block = examined.block;
        cursor->offset = examined.offset;
      }
      return nullptr;
    }
    at = {at.block->next, 0};
    CountBlockStep();
  }
}

CellBlock* CellStore::BlockOfCell(uint32_t row, uint16_t column) const {
  const uint64_t key = CellKey(row, column);
  return SearchBlock([key](const CellBlock* block) { return CellKey(RecordAt(block, 0)) <= key; });
}

void CellStore::PositionAtRow(uint32_t row, CellCursor* cursor) const {
  // The row's own page, when indexed, names the first record of each row.
  const uint32_t page = row / kRowsPerPage;
  if (row <= kMaxRow && (pageFlags_[page] & kPageIndexBuilt)) {
    for (const PageIndexEntry* entry = &pageIndex_[page]->entries[row % kRowsPerPage];
         entry != pageIndex_[page]->entries + kRowsPerPage; ++entry)
      if (entry->block) {
        cursor->block = entry->block;
        cursor->offset = entry->offset;
        return;
      }
  }
  RecordPosition at = RowStart<CellRecordTraits>(row);
  while (at.block) {
    while (at.offset < at.block->used && RecordAt(at.block, at.offset)->Row() < row)
      at.offset = static_cast<uint16_t>(at.offset + RecordAt(at.block, at.offset)->Size());
    if (at.offset < at.block->used || !at.block->next)
      break;
    at = {at.block->next, 0};
    CountBlockStep();
  }
  cursor->block = at.block;
  cursor->offset = at.offset;
}

bool CellStore::ListPositionInRow(uint32_t row, uint16_t column, RecordPosition* at) const {
  const uint32_t page = row / kRowsPerPage;
  if (!rowPositions_.Allocated() && (row > kMaxRow || !(pageFlags_[page] & kPageHasFormulas) ||
                                     !rowPositions_.Allocate())) {
    RecordPosition start;
    if (!IndexedRowStart(row, &start))
      return false;
    *at = PassRowBefore(start, row, column);
    return true;
  }
  RowPositions& entry = rowPositions_.EntryOf(row);
  if (entry.row != row || entry.changes != chainChanges_) {
    RecordPosition start;
    if (!IndexedRowStart(row, &start))
      return false;
    BeginRowPositions(entry, row, start, chainChanges_);
  }
  ListRowPositions(entry, column, at);
  return true;
}

inline CellRecord* CellStore::CellAtPosition(RecordPosition at, uint32_t row, uint16_t column, CellCursor* cursor) {
  CellRecord* record = RecordAt(at.block, at.offset);
  const bool found = record->Row() == row && record->Column() == column;
  if (cursor) {
    cursor->block = at.block;
    cursor->offset = static_cast<uint16_t>((found && (cursor->flags & kCursorAfterRecord)) ? at.offset + record->Size()
                                                                                         : at.offset);
  }
  return found ? record : nullptr;
}

CellRecord* CellStore::FindCell(uint32_t row, uint16_t column, CellCursor* cursor) {
  // A row the memo lists this far is answered here, with little to keep
  // across calls: most lookups of a recalculation pass.
  if (rowPositions_.Allocated() && (!cursor || !cursor->block)) {
    const RowPositions& entry = rowPositions_.EntryOf(row);
    RecordPosition at;
    if (entry.row == row && entry.changes == chainChanges_ && entry.FindListed(column, &at) &&
        at.offset < at.block->used) {
      return CellAtPosition(at, row, column, cursor);
    }
  }
  return SearchCell(row, column, cursor);
}

CellRecord* CellStore::SearchCell(uint32_t row, uint16_t column, CellCursor* cursor) {
  if (!cursor || !cursor->block) {
    // An indexed row's cell through the row position memo; a place at a
    // block's end is left to the search, which names the place after it.
    RecordPosition at;
    if (!PositionInRow(row, column, &at)) {
      if (row <= kMaxRow && (pageFlags_[row / kRowsPerPage] & kPageIndexBuilt))
        return nullptr;  // the row holds no record
      // Once: the page is indexed when this lookup indexed it.
      if (row <= kMaxRow && indexesLookedUpPages_ && passChanges_ == chainChanges_ &&
          IndexLookedUpPage(row / kRowsPerPage))
        return SearchCell(row, column, cursor);
    } else if (at.offset < at.block->used) {
      return CellAtPosition(at, row, column, cursor);
    }
  }
  const uint64_t key = CellKey(row, column);
  const bool foundBefore = lastFound_.block && lastFoundChanges_ == chainChanges_ && key == lastFoundKey_;
  if (cursor) {
    // A cell just looked up is placed again without a search.
    if (cursor->block || !foundBefore)
      return const_cast<CellRecord*>(Seek(row, column, cursor));
    CellRecord* found = RecordAt(lastFound_.block, lastFound_.offset);
    cursor->block = lastFound_.block;
    cursor->offset = static_cast<uint16_t>((cursor->flags & kCursorAfterRecord) ? lastFound_.offset + found->Size()
                                                                                : lastFound_.offset);
    return found;
  }
  CellCursor scratch;
  if (foundBefore)
    return RecordAt(lastFound_.block, lastFound_.offset);
  if (lastFound_.block && lastFoundChanges_ == chainChanges_) {
    // Later in the same row: no farther from there than from the row's start.
    if (key > lastFoundKey_ && row == uint32_t(lastFoundKey_ >> 16)) {
      scratch.block = lastFound_.block;
      scratch.offset = lastFound_.offset;
    }
  }
  CellRecord* found = const_cast<CellRecord*>(Seek(row, column, &scratch));
  if (found) {
    lastFound_ = {scratch.block, scratch.offset};
    lastFoundKey_ = key;
    lastFoundChanges_ = chainChanges_;
  }
  return found;
}

bool CellStore::GetUsedRange(uint16_t* firstColumn, uint16_t* lastColumn, uint32_t* firstRow,
                             uint32_t* lastRow) const {
  uint16_t minColumn = 0, maxColumn = 0;
  uint32_t minRow = 0, maxRow = 0;
  bool any = firstBlock_ != nullptr;
  if (any) {
    const CellRecord* first = RecordAt(firstBlock_, 0);
    minColumn = maxColumn = first->Column();
    minRow = maxRow = first->Row();
    for (const CellBlock* block = firstBlock_; block; block = block->next)
      for (uint32_t offset = 0; offset < block->used;) {
        const CellRecord* record = RecordAt(block, offset);
        offset += record->Size();
        uint16_t column = record->Column();
        if (column < minColumn)
          minColumn = column;
        if (column > maxColumn)
          maxColumn = column;
        if (record->Row() > maxRow)
          maxRow = record->Row();
      }
  }
  if (firstColumn)
    *firstColumn = minColumn;
  if (lastColumn)
    *lastColumn = maxColumn;
  if (firstRow)
    *firstRow = minRow;
  if (lastRow)
    *lastRow = maxRow;
  return any;
}
