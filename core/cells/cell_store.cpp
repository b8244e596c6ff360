#include "core/cells/cell_store.h"

#include <cstdio>

namespace {

uint64_t CellKey(uint32_t row, uint16_t column) { return (uint64_t(row) << 16) | column; }

uint64_t CellKey(const CellRecord* record) { return CellKey(record->Row(), record->Column()); }

CellRecord* RecordAt(CellBlock* block, uint32_t offset) { return AsCellRecord(block->payload + offset); }

const CellRecord* RecordAt(const CellBlock* block, uint32_t offset) { return AsCellRecord(block->payload + offset); }

bool InsideBlock(const uint8_t* bytes, const CellBlock* block) {
  if (!block)
    return false;
  auto address = reinterpret_cast<uintptr_t>(bytes);
  auto payload = reinterpret_cast<uintptr_t>(block->payload);
  return address >= payload && address < payload + kBlockPayload;
}

// Calls visit(record) for every record of the chain from the block at, in order.
template <class Visit>
void ForEachRecord(CellBlock* block, Visit visit) {
  for (; block; block = block->next)
    for (uint32_t offset = 0; offset < block->used;) {
      CellRecord* record = RecordAt(block, offset);
      offset += record->Size();
      visit(record);
    }
}

}  // namespace

CellRecord* CellCursor::Next(uint32_t* size) {
  return AsCellRecord(NextRecord<CellRecordTraits>(this, size));
}

CellRecord* CellCursor::NextInRange(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow) {
  // The walk keeps its position in locals and writes the cursor once, where
  // it stops: records outside the rectangle are passed by their size alone.
  CellBlock* at = block;
  if (!at)
    return nullptr;
  uint32_t from = offset;
  uint32_t used = at->used;
  // A walk under way stands on a record of the rectangle's rows already, and
  // every later block begins at or after it: only a fresh start may skip.
  if (from >= used || RecordAt(at, from)->Row() < firstRow) {
    while (at->next && AsCellRecord(at->next->payload)->Row() < firstRow) {
      at = at->next;
      from = 0;
      BlockStore::CountBlockStep();
    }
    used = at->used;
  }
  for (;;) {
    while (from >= used) {
      if (!at->next) {
        block = at;
        offset = static_cast<uint16_t>(used);
        return nullptr;
      }
      at = at->next;
      from = 0;
      used = at->used;
      BlockStore::CountBlockStep();
    }
    CellRecord* record = RecordAt(at, from);
    const uint32_t row = record->Row();
    uint16_t column = record->Column();
    if (row > lastRow || (row == lastRow && column > lastColumn))
      break;
    if (row >= firstRow) {
      // Past the rectangle's columns the rest of the row lies outside it.
      RecordPosition next;
      if (column > lastColumn && rows && rows->IndexedRowStart(row + 1, &next)) {
        at = next.block;
        from = next.offset;
        used = at->used;
        continue;
      }
      if (column <= lastColumn) {
        // Left of the rectangle: pass the row's records up to its first
        // column, watching only the column while the row stays the same; a
        // record of a later row, or a block's end, goes back to the checks
        // above.
        bool rowGoesOn = true;
        while (column < firstColumn) {
          const uint32_t size = record->Size();
          if (size == 0)
            break;  // ends the walk below
          from += size;
          if (from >= used) {
            rowGoesOn = false;
            break;
          }
          record = RecordAt(at, from);
          if (record->Row() != row) {
            rowGoesOn = false;
            break;
          }
          column = record->Column();
        }
        if (!rowGoesOn || column > lastColumn)
          continue;
        if (column >= firstColumn) {
          // A malformed record (no size) ends the walk below rather than
          // being handed out again and again.
          const uint32_t size = record->Size();
          if (size != 0) {
            block = at;
            offset = static_cast<uint16_t>((flags & kCursorAfterRecord) ? from + size : from);
            return record;
          }
        }
      }
    }
    const uint32_t size = record->Size();
    if (size == 0)
      break;  // a malformed record ends the walk rather than looping on it
    from += size;
  }
  block = at;
  offset = static_cast<uint16_t>(from);
  return nullptr;
}

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

bool CellStore::PrecedesCell(RecordPosition at, uint32_t row, uint16_t column) const {
  if (at.block == firstBlock_ && at.offset == 0)
    return true;
  const uint64_t key = CellKey(row, column);
  if (lastInsertChanges_ == chainChanges_ && at.block == lastInsertEnd_.block && at.offset == lastInsertEnd_.offset)
    return lastInsertKey_ < key;
  // Records before one that sorts at or before the cell sort below it.
  while (at.offset >= at.block->used) {
    if (!at.block->next)
      return false;
    at = {at.block->next, 0};
  }
  return CellKey(RecordAt(at.block, at.offset)) <= key;
}

RecordPosition CellStore::InsertSearchStart(uint32_t row, uint16_t column, const CellCursor* cursor) const {
  if (cursor && cursor->block) {
    const RecordPosition at = StartPosition(cursor);
    if (PrecedesCell(at, row, column))
      return at;
  }
  const uint32_t page = row / kRowsPerPage;
  if (pageFlags_[page] & kPageIndexBuilt) {
    const PageIndexEntry& entry = pageIndex_[page]->entries[row % kRowsPerPage];
    if (entry.block)
      return {entry.block, entry.offset};
  }
  CellBlock* block = BlockOfCell(row, column);
  // Within that block, the end of the last insert is nearer when it lies
  // before the cell.
  if (lastInsertChanges_ == chainChanges_ && lastInsertEnd_.block == block && lastInsertKey_ < CellKey(row, column))
    return lastInsertEnd_;
  return {block, 0};
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

bool CellStore::InsertCell(const CellRecord* record, CellCursor* cursor) {
  if (!record) {
    lastError_ = kCellStoreBadRecord;
    return false;
  }
  return InsertCellAs(record, record->Row(), record->Column(), cursor);
}

bool CellStore::InsertCellAs(const CellRecord* record, uint32_t row, uint16_t column, CellCursor* cursor) {
  // The size comes from the record's own type byte and lengths; a record a
  // block cannot hold would overrun it, whatever the caller believes.
  uint32_t size = record->Size();
  if (size == 0 || size > kBlockPayload || row > kMaxRow || column > kMaxColumn) {
    lastError_ = kCellStoreBadRecord;
    return false;
  }

  RecordPosition at = {nullptr, 0};
  uint32_t replacedSize = 0;
  const uint64_t key = CellKey(row, column);
  if (firstBlock_) {
    at = SkipBlocksBefore<CellRecordTraits>(InsertSearchStart(row, column, cursor), row);
    for (;;) {
      while (at.offset < at.block->used) {
        const CellRecord* existing = RecordAt(at.block, at.offset);
        uint64_t found = CellKey(existing);
        if (found >= key) {
          if (found == key)
            replacedSize = existing->Size();
          break;
        }
        at.offset = static_cast<uint16_t>(at.offset + existing->Size());
      }
      if (at.offset < at.block->used || !at.block->next)
        break;
      at = {at.block->next, 0};
      CountBlockStep();
    }
  }

  // A record taken from the blocks this insert moves is copied out first.
  const uint8_t* bytes = record->Bytes();
  uint8_t bounce[kBlockPayload];
  if (InsideBlock(bytes, at.block) || InsideBlock(bytes, at.block ? at.block->previous : nullptr)) {
    std::memcpy(bounce, bytes, size);
    bytes = bounce;
  }

  // During a recalculation pass results are rewritten in place of their
  // records: the index follows the records that move rather than being
  // dropped for the rest of the pass.
  const bool keepIndex = indexedPages_ != 0;
  const bool beginsRow = keepIndex && BeginsRowAt(at, row);
  if (replacedSize) {
    // Reserve what the split will take before the old record is cut out, so
    // that a failure leaves the old record in place.
    uint16_t usedAfterCut = static_cast<uint16_t>(at.block->used - replacedSize);
    if (!ReserveBlocks(BlocksNeededToInsert(at, usedAfterCut, static_cast<uint16_t>(size)))) {
      lastError_ = kCellStoreOutOfMemory;
      return false;
    }
    if (!keepIndex)
      InvalidatePageIndex();
    uint8_t* cut = at.block->payload + at.offset;
    std::memmove(cut, cut + replacedSize, usedAfterCut - at.offset);
    at.block->used = usedAfterCut;
  }

  RecordPosition placed;
  CellBlock* through = nullptr;
  if (!InsertRecordAt(at, bytes, static_cast<uint16_t>(size), &placed, keepIndex ? &through : nullptr)) {
    InvalidatePageIndex();
    lastError_ = kCellStoreOutOfMemory;
    return false;
  }
  CellRecord* copy = RecordAt(placed.block, placed.offset);
  copy->SetRow(row);
  copy->SetColumn(column);
  if (keepIndex) {
    // A record cut out of a block's start and placed before that block (at
    // the end of the block before it, or in a new block between them) left
    // that block's records moved down too.
    if (replacedSize && through != at.block && through->next == at.block)
      through = at.block;
    const int32_t shift = int32_t(size) - int32_t(replacedSize);
    const bool inPlace = placed.block == at.block && through == placed.block;
    if (!inPlace || !ShiftRowStartsAfter(placed.block, row, shift))
      ReindexFrom(placed, through, beginsRow);
    else if (beginsRow)
      SetIndexedRowStart(row, placed);
  }
  FinishInsert(placed, size, row, column, cursor);
  return true;
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

bool CellStore::AppendCell(const CellRecord* record, CellCursor* cursor) {
  if (!record) {
    lastError_ = kCellStoreBadRecord;
    return false;
  }
  CellBlock* last = lastInsertEnd_.block;
  const uint32_t size = record->Size();
  const uint32_t row = record->Row();
  const uint16_t column = record->Column();
  const bool valid = size != 0 && size <= kBlockPayload && row <= kMaxRow && column <= kMaxColumn;
  // Only at the very end of the chain, with room in its block, does the
  // general insert place the record there as well: a full block would split.
  const bool atEnd = last && lastInsertChanges_ == chainChanges_ && !last->next && lastInsertEnd_.offset == last->used &&
                     size <= uint32_t(kBlockPayload - last->used) && CellKey(row, column) > lastInsertKey_ &&
                     !InsideBlock(record->Bytes(), last);
  if (!valid || (firstBlock_ && !atEnd))
    return InsertCellAs(record, row, column, cursor);
  InvalidatePageIndex();
  if (!firstBlock_) {
    // The first record opens the chain, as the general insert's would.
    last = OpenFirstBlock();
    if (!last) {
      lastError_ = kCellStoreOutOfMemory;
      return false;
    }
  }
  const RecordPosition placed = {last, last->used};
  std::memcpy(last->payload + placed.offset, record->Bytes(), size);
  last->used = static_cast<uint16_t>(last->used + size);
  FinishInsert(placed, size, row, column, cursor);
  return true;
}

void CellStore::FinishInsert(RecordPosition placed, uint32_t size, uint32_t row, uint16_t column, CellCursor* cursor) {
  // A replaced record's bytes are not counted back: the count only decides compaction.
  ReduceFreeBytes(size);
  lastInsertEnd_ = {placed.block, static_cast<uint16_t>(placed.offset + size)};
  lastInsertKey_ = CellKey(row, column);
  lastInsertChanges_ = chainChanges_;
  if (cursor) {
    cursor->block = placed.block;
    cursor->offset = static_cast<uint16_t>((cursor->flags & kCursorAfterRecord) ? placed.offset + size : placed.offset);
  }

  if (NeedsCompaction()) {
    // Compaction moves every record. Results stored during a pass grow
    // their records and bring it on now and then: the pages indexed for the
    // pass are indexed again, so that the rest of the pass keeps its index.
    uint8_t flagsBefore[kPageCount];
    const bool reindex = indexedPages_ != 0;
    if (reindex)
      std::memcpy(flagsBefore, pageFlags_, sizeof flagsBefore);
    Compact(false);
    if (reindex) {
      CellCursor build;
      for (uint32_t page = 0; page < kPageCount; ++page) {
        if (flagsBefore[page] & kPageIndexBuilt)
          BuildPageIndexOf<CellRecordTraits>(page, &build);
        pageFlags_[page] |= static_cast<uint8_t>(flagsBefore[page] & ~kPageIndexBuilt);
      }
    }
    if (cursor) {
      cursor->block = firstBlock_;
      cursor->offset = 0;
      Seek(row, column, cursor);
    }
  }
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

void CellStore::DeleteRange(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                            CellCursor* cursor, bool free) {
  if (!firstBlock_ || firstColumn > lastColumn || firstRow > lastRow)
    return;
  // A deletion that finds nothing to delete leaves the chain, its page index
  // and every record pointer as they were: recalculation clears spill areas
  // that are usually empty already.
  bool changed = false;
  const RecordPosition from =
      cursor && cursor->block ? StartPosition(cursor) : RecordPosition{BlockOfCell(firstRow, 0), 0};
  const RecordPosition start = SkipBlocksBefore<CellRecordTraits>(from, firstRow);

  // An array result spreads only right of and below its formula cell, so a
  // single forward pass meets every cell of a result after its formula. The
  // results found so far are kept per column as the last row they cover; a
  // result found inside another result widens the deletion the same way, and
  // the pass ends after the last row any of them covers.
  int32_t spillThrough[kColumnCount];
  bool spills = false;
  uint32_t deleteThrough = lastRow;

  bool startSurvives = true;
  CellBlock* block = start.block;
  uint32_t offset = start.offset;
  while (block) {
    if (offset < block->used && RecordAt(block, offset)->Row() > deleteThrough)
      break;
    const uint32_t used = block->used;
    uint32_t kept = offset;
    bool passed = false;
    // Records kept move down in place: the kept bytes never exceed the block.
    for (uint32_t read = offset; read < used;) {
      CellRecord* record = RecordAt(block, read);
      uint32_t size = record->Size();
      uint32_t row = record->Row();
      uint16_t column = record->Column();
      bool drop = false;
      if (row > deleteThrough) {
        passed = true;
      } else {
        drop = (row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn) ||
               (spills && column < kColumnCount && int32_t(row) <= spillThrough[column]);
      }
      if (drop && record->IsSpillingArrayFormula() && record->ArrayRows() > 0) {
        if (!spills) {
          for (int32_t& through : spillThrough) through = -1;
          spills = true;
        }
        uint64_t lastSpillRow = uint64_t(row) + record->ArrayRows() - 1;
        if (lastSpillRow > kMaxRow)
          lastSpillRow = kMaxRow;
        uint32_t lastSpillColumn = uint32_t(column) + record->ArrayColumns() - 1;
        if (lastSpillColumn > kMaxColumn)
          lastSpillColumn = kMaxColumn;
        for (uint32_t c = column; c <= lastSpillColumn; ++c)
          if (spillThrough[c] < int32_t(lastSpillRow))
            spillThrough[c] = int32_t(lastSpillRow);
        if (lastSpillRow > deleteThrough)
          deleteThrough = uint32_t(lastSpillRow);
      }
      if (drop && !changed) {
        InvalidatePageIndex();
        changed = true;
      }
      if (!drop) {
        if (kept != read)
          std::memmove(block->payload + kept, block->payload + read, size);
        kept += size;
      }
      read += size;
    }

    CellBlock* next = block->next;
    if (kept != used) {
      if (kept > 0) {
        freeBytes_ += used - kept;
        block->used = static_cast<uint16_t>(kept);
      } else {
        ReduceFreeBytes(kBlockPayload - used);
        if (block == start.block)
          startSurvives = false;
        UnlinkBlock(block, free);
      }
    }
    if (passed)
      break;
    block = next;
    offset = 0;
  }

  if (cursor) {
    cursor->block = startSurvives ? start.block : nullptr;
    cursor->offset = startSurvives ? start.offset : 0;
  }
}

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
  RecordPosition start = RowStart<CellRecordTraits>(firstRow);
  ForEachRecord(start.block, [&](CellRecord* record) {
    if (record->Row() >= firstRow)
      record->SetRow(static_cast<uint32_t>(record->Row() + count));
  });
  return true;
}

bool CellStore::InsertColumns(uint16_t firstColumn, uint16_t lastColumn) {
  if (firstColumn > lastColumn) {
    lastError_ = kCellStoreBadRange;
    return false;
  }
  const uint32_t count = uint32_t(lastColumn) - firstColumn + 1;
  bool offGrid = false;
  ForEachRecord(firstBlock_, [&](CellRecord* record) {
    if (record->Column() >= firstColumn && record->Column() + count > kMaxColumn)
      offGrid = true;
  });
  if (offGrid) {
    lastError_ = kCellStoreOffGrid;
    return false;
  }
  InvalidatePageIndex();
  ForEachRecord(firstBlock_, [&](CellRecord* record) {
    if (record->Column() >= firstColumn)
      record->SetColumn(static_cast<uint16_t>(record->Column() + count));
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
  RecordPosition start = RowStart<CellRecordTraits>(firstRow);
  ForEachRecord(start.block, [&](CellRecord* record) {
    if (record->Row() > lastRow)
      record->SetRow(record->Row() - count);
  });
  InvalidatePageIndex();
}

void CellStore::DeleteColumns(uint16_t firstColumn, uint16_t lastColumn) {
  if (firstColumn > lastColumn || firstColumn > kMaxColumn)
    return;
  if (lastColumn > kMaxColumn)
    lastColumn = kMaxColumn;
  DeleteRange(firstColumn, lastColumn, 0, kMaxRow, nullptr, true);
  const uint16_t count = static_cast<uint16_t>(lastColumn - firstColumn + 1);
  ForEachRecord(firstBlock_, [&](CellRecord* record) {
    if (record->Column() > lastColumn)
      record->SetColumn(static_cast<uint16_t>(record->Column() - count));
  });
  InvalidatePageIndex();
}

bool CellStore::GatherRows(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                           CellStore* target, const uint32_t* rowIndex) const {
  if (!target || target == this) {
    if (target)
      target->lastError_ = kCellStoreBadRange;
    return false;
  }
  target->Clear(true);
  if (firstColumn > lastColumn || firstRow > lastRow || !rowIndex)
    return true;
  if (lastRow > kMaxRow)
    lastRow = kMaxRow;

  CellCursor out;
  out.flags = kCursorAfterRecord;
  for (uint32_t row = firstRow; row <= lastRow; ++row) {
    const uint32_t sourceRow = rowIndex[row - firstRow];
    CellCursor in;
    Seek(sourceRow, firstColumn, &in);
    in.flags = kCursorAfterRecord;
    while (const CellRecord* record = in.Next()) {
      uint32_t recordRow = record->Row();
      uint16_t column = record->Column();
      if (recordRow < sourceRow || (recordRow == sourceRow && column < firstColumn))
        continue;
      if (recordRow > sourceRow || column > lastColumn)
        break;
      if (!target->InsertCellAs(record, row, column, &out)) {
        target->Clear(true);
        return false;
      }
    }
  }
  return true;
}

bool CellStore::TileRangesValid(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                                uint16_t sourceFirstColumn, uint16_t sourceLastColumn, uint32_t sourceFirstRow,
                                uint32_t sourceLastRow, const CellBlock* sourceChain) {
  // A reversed source would give tiles of no width, and a chain of this
  // store would be rewritten while it is read.
  if (firstColumn > lastColumn || firstRow > lastRow || sourceFirstColumn > sourceLastColumn ||
      sourceFirstRow > sourceLastRow || (sourceChain && sourceChain == firstBlock_)) {
    lastError_ = kCellStoreBadRange;
    return false;
  }
  return true;
}

bool CellStore::CopyRangeToStore(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                                 uint16_t sourceFirstColumn, uint16_t sourceLastColumn, uint32_t sourceFirstRow,
                                 uint32_t sourceLastRow, const CellBlock* sourceChain) {
  if (!TileRangesValid(firstColumn, lastColumn, firstRow, lastRow, sourceFirstColumn, sourceLastColumn,
                       sourceFirstRow, sourceLastRow, sourceChain))
    return false;
  DeleteRange(firstColumn, lastColumn, firstRow, lastRow, nullptr, false);
  return TileRangeFromStore(firstColumn, lastColumn, firstRow, lastRow, sourceFirstColumn, sourceLastColumn,
                            sourceFirstRow, sourceLastRow, sourceChain);
}

bool CellStore::TileRangeFromStore(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                                   uint16_t sourceFirstColumn, uint16_t sourceLastColumn, uint32_t sourceFirstRow,
                                   uint32_t sourceLastRow, const CellBlock* sourceChain) {
  if (!TileRangesValid(firstColumn, lastColumn, firstRow, lastRow, sourceFirstColumn, sourceLastColumn,
                       sourceFirstRow, sourceLastRow, sourceChain))
    return false;
  const uint32_t width = uint32_t(sourceLastColumn) - sourceFirstColumn + 1;
  const uint32_t height = sourceLastRow - sourceFirstRow + 1;
  for (uint32_t tileColumn = firstColumn; tileColumn <= lastColumn; tileColumn += width) {
    // The tiles of one column of tiles follow each other down the rows: each
    // insert starts its search where the last one ended.
    CellCursor out;
    out.flags = kCursorAfterRecord;
    for (uint64_t tileRow = firstRow; tileRow <= lastRow; tileRow += height) {
      bool tileEnded = false;
      for (const CellBlock* block = sourceChain; block && !tileEnded; block = block->next) {
        if (block != sourceChain)
          CountBlockStep();
        for (uint32_t offset = 0; offset < block->used;) {
          const CellRecord* record = RecordAt(block, offset);
          offset += record->Size();
          uint32_t row = record->Row();
          uint16_t column = record->Column();
          // Any record past the last row ends the tile, also one outside the
          // columns: nothing after it can belong to the source rectangle.
          if (row > sourceLastRow || (row >= sourceFirstRow && uint64_t(row) - sourceFirstRow + tileRow > lastRow)) {
            tileEnded = true;
            break;
          }
          if (row < sourceFirstRow || column < sourceFirstColumn || column > sourceLastColumn)
            continue;
          uint64_t toRow = row - sourceFirstRow + tileRow;
          uint32_t toColumn = column - sourceFirstColumn + tileColumn;
          if (toColumn > lastColumn)
            continue;
          if (!InsertCellAs(record, uint32_t(toRow), uint16_t(toColumn), &out))
            return false;
        }
      }
    }
  }
  return true;
}

bool CellStore::CopyRangeToStore(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                                 uint16_t sourceFirstColumn, uint16_t sourceLastColumn, uint32_t sourceFirstRow,
                                 uint32_t sourceLastRow, const CellStore& source) {
  if (&source == this) {
    lastError_ = kCellStoreBadRange;
    return false;
  }
  // The copy reads the source's chain from the block where its first row
  // begins: no record before that block lies in the source rectangle.
  CellCursor from;
  source.PositionAtRow(sourceFirstRow, &from);
  return CopyRangeToStore(firstColumn, lastColumn, firstRow, lastRow, sourceFirstColumn, sourceLastColumn,
                          sourceFirstRow, sourceLastRow, from.block);
}

bool CellStore::CopyFrom(CellStore* source) {
  if (!source || source == this) {
    lastError_ = kCellStoreBadRange;
    return false;
  }
  if (!CopyChainFrom(source)) {
    lastError_ = kCellStoreOutOfMemory;
    return false;
  }
  return true;
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

bool ArrayStore::PushChain(CellBlock* chain) {
  if (savedCount_ >= kMaxSavedChains)
    return false;
  savedChains_[savedCount_++] = chain;
  return true;
}

CellBlock* ArrayStore::PopChain() { return savedCount_ ? savedChains_[--savedCount_] : nullptr; }

void ArrayStore::ReleaseSavedChains() {
  while (savedCount_)
    ReleaseChain(savedChains_[--savedCount_]);
}
