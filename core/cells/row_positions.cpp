#include "core/cells/row_positions.h"

namespace {

const CellRecord* RecordAt(const CellBlock* block, uint32_t offset) { return AsCellRecord(block->payload + offset); }

}  // namespace

void BeginRowPositions(RowPositions& entry, uint32_t row, RecordPosition start, uint64_t changes) {
  entry.changes = changes;
  entry.blocks[0] = start.block;
  entry.blocks[1] = nullptr;
  entry.row = row;
  entry.next = start.offset;
  entry.listed = 0;
}

void ListRowPositions(RowPositions& entry, uint16_t column, RecordPosition* at) {
  const uint32_t row = entry.row;
  uint32_t listed = entry.listed;
  // 0 in the row's first block, kInNextBlock in the one after it.
  uint32_t inNext = entry.next & RowPositions::kInNextBlock;
  CellBlock* block = entry.blocks[inNext >> 15];
  uint32_t offset = entry.next & RowPositions::kOffsetMask;
  uint32_t used = block->used;
  for (;;) {
    if (offset < used) {
      const CellRecord* record = RecordAt(block, offset);
      if (record->Row() == row) {
        const uint32_t size = record->Size();
        const uint16_t found = record->Column();
        // The last place is kept for the row's end.
        if (size == 0 || listed + 1 >= RowPositions::kMaxListed) {
          entry.next = static_cast<uint16_t>(offset | inNext);
          entry.listed = static_cast<uint8_t>(listed);
          *at = PassRowBefore({block, static_cast<uint16_t>(offset)}, row, column);
          return;
        }
        entry.columns[listed] = found;
        entry.offsets[listed] = static_cast<uint16_t>(offset | inNext);
        ++listed;
        offset += size;
        if (found >= column) {
          entry.next = static_cast<uint16_t>(offset | inNext);
          entry.listed = static_cast<uint8_t>(listed);
          *at = {block, static_cast<uint16_t>(offset - size)};
          return;
        }
        continue;
      }
    } else {
      CellBlock* after = block->next;
      const bool rowEnds = !after || RecordAt(after, 0)->Row() != row;
      if (!rowEnds && inNext) {
        // A third block: passed, not listed.
        entry.next = static_cast<uint16_t>(offset | inNext);
        entry.listed = static_cast<uint8_t>(listed);
        *at = PassRowBefore({after, 0}, row, column);
        return;
      }
      // The row's end, or its records in the next block: named from there
      // where the list can name that block.
      if (after && !inNext) {
        entry.blocks[1] = after;
        block = after;
        offset = 0;
        used = after->used;
        inNext = RowPositions::kInNextBlock;
      }
      if (!rowEnds)
        continue;
    }
    // The row ends at (block, offset).
    entry.columns[listed] = RowPositions::kRowEnd;
    entry.offsets[listed] = static_cast<uint16_t>(offset | inNext);
    entry.next = entry.offsets[listed];
    entry.listed = static_cast<uint8_t>(listed + 1);
    *at = {block, static_cast<uint16_t>(offset)};
    return;
  }
}

RecordPosition PassRowBefore(RecordPosition at, uint32_t row, uint16_t column) {
  for (;;) {
    if (at.offset >= at.block->used) {
      if (!at.block->next)
        return at;
      at = {at.block->next, 0};
      BlockStore::CountBlockStep();
      continue;
    }
    const CellRecord* record = RecordAt(at.block, at.offset);
    if (record->Row() != row || record->Column() >= column)
      return at;
    const uint32_t size = record->Size();
    if (size == 0)
      return at;  // a malformed record ends a walk that reaches it
    at.offset = static_cast<uint16_t>(at.offset + size);
  }
}

bool RowPositionMemo::Allocate() {
  rows_ = static_cast<RowPositions*>(std::malloc(kRows * sizeof *rows_));
  if (!rows_)
    return false;
  for (uint32_t i = 0; i < kRows; ++i) rows_[i].row = RowPositions::kNoRow;
  return true;
}
