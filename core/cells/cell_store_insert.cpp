// Inserting a cell: where the search for its place starts, the insert
// with its replacement and split, the append at the chain's end, and what
// every insert does once the record is placed.

#include "core/cells/cell_store.h"

#include <cstring>

#include "core/cells/cell_store_places.h"

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
  // A record of the old one's size that the insert would put back where the
  // old one stands (rather than at the end of an emptier block before it) is
  // written over it: nothing moves, the index included. Text pasted over a
  // column of text replaces two million records.
  if (replacedSize == size &&
      (at.offset != 0 || !at.block->previous || at.block->previous->used >= at.block->used - size)) {
    if (keepIndex)
      ++chainChanges_;
    else
      InvalidatePageIndex();
    std::memmove(at.block->payload + at.offset, bytes, size);
    CellRecord* copy = RecordAt(at.block, at.offset);
    copy->SetRow(row);
    copy->SetColumn(column);
    FinishInsert(at, size, row, column, cursor);
    return true;
  }
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
