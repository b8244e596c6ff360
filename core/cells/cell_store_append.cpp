#include <cstring>

#include "core/cells/cell_store.h"

// Array values are built a rectangle at a time: one copy for the records
// that fit the last block, instead of one append per record.

namespace {

uint64_t RunKey(uint32_t row, uint16_t column) { return (uint64_t(row) << 16) | column; }

bool OverlapsBlock(const uint8_t* bytes, uint32_t size, const CellBlock* block) {
  const auto first = reinterpret_cast<uintptr_t>(bytes);
  const auto payload = reinterpret_cast<uintptr_t>(block->payload);
  return first < payload + kBlockPayload && payload < first + size;
}

// The size of the record at bytes; 0 when the remaining bytes do not hold
// all of it, its size fields included.
uint32_t WholeRecordSize(const uint8_t* bytes, uint32_t remaining) {
  if (remaining < sizeof(CellHead)) return 0;
  const CellRecord* record = AsCellRecord(bytes);
  uint32_t head = 0;
  switch (record->Kind()) {
    case kCellNumber:
      return remaining >= kNumberCellSize ? kNumberCellSize : 0;
    case kCellText:
      head = kTextCellHeadSize;
      break;
    case kCellFormula:
      head = kFormulaCellHeadSize;
      if (remaining >= head && record->HasCachedText()) head += record->FormulaLength() + kCachedTextLengthSize;
      break;
    default:
      return 0;
  }
  if (remaining < head) return 0;
  const uint32_t size = record->Size();
  return size <= remaining ? size : 0;
}

}  // namespace

bool CellStore::AppendCells(const uint8_t* records, uint32_t bytes, CellCursor* cursor) {
  uint32_t offset = 0;
  while (offset < bytes) {
    // The records that AppendCell would each place at the end of the last
    // block (or in the first block of an empty store): valid, fitting, and
    // each sorting after the one placed before it.
    CellBlock* last = lastInsertEnd_.block;
    const bool opens = !firstBlock_;
    // Appending only lowers the free bytes, so a store that needs no
    // compaction before the run needs none after any record of it; one that
    // does is compacted after the run's first record, as AppendCell does.
    const bool atEnd = !NeedsCompaction() &&
                       (opens || (last && lastInsertChanges_ == chainChanges_ && !last->next &&
                                  lastInsertEnd_.offset == last->used && !OverlapsBlock(records, bytes, last)));
    uint32_t end = offset;
    uint32_t lastOffset = offset;
    uint32_t lastSize = 0;
    CellHead head{};
    if (atEnd) {
      uint32_t room = kBlockPayload - (opens ? 0u : last->used);
      uint64_t key = opens ? 0 : lastInsertKey_;
      bool first = opens;
      while (end < bytes) {
        const uint32_t size = WholeRecordSize(records + end, bytes - end);
        if (size == 0) break;
        CellHead next;
        std::memcpy(&next, records + end, sizeof next);
        const uint64_t nextKey = RunKey(next.row, next.column);
        if (size > room || next.row > kMaxRow || next.column > kMaxColumn ||
            (nextKey <= key && !first))
          break;
        first = false;
        key = nextKey;
        head = next;
        lastOffset = end;
        lastSize = size;
        room -= size;
        end += size;
      }
    }
    if (end == offset) {
      const CellRecord* record = AsCellRecord(records + offset);
      const uint32_t size = WholeRecordSize(records + offset, bytes - offset);
      if (size == 0) {
        lastError_ = kCellStoreBadRecord;
        return false;
      }
      if (!AppendCell(record, cursor)) return false;
      offset += size;
      continue;
    }
    InvalidatePageIndex();
    if (opens) {
      last = OpenFirstBlock();
      if (!last) {
        lastError_ = kCellStoreOutOfMemory;
        return false;
      }
      // A new block can tip the store into compaction, which then follows
      // the first record.
      if (NeedsCompaction()) {
        end = offset + AsCellRecord(records + offset)->Size();
        lastOffset = offset;
        lastSize = end - offset;
        std::memcpy(&head, records + offset, sizeof head);
      }
    }
    const uint16_t at = last->used;
    std::memcpy(last->payload + at, records + offset, end - offset);
    last->used = static_cast<uint16_t>(at + (end - offset));
    // The records before the last count as FinishInsert counts each, one by
    // one where the free bytes run short of their sum.
    if (FreeBytes() >= lastOffset - offset)
      ReduceFreeBytes(lastOffset - offset);
    else
      for (uint32_t next = offset; next < lastOffset; next += AsCellRecord(records + next)->Size())
        ReduceFreeBytes(AsCellRecord(records + next)->Size());
    const RecordPosition placed = {last, static_cast<uint16_t>(at + (lastOffset - offset))};
    FinishInsert(placed, lastSize, head.row, head.column, cursor);
    offset = end;
  }
  return true;
}
