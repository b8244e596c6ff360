// Deleting the cells of a rectangle, with the whole result of every
// spilled array formula it touches.

#include "core/cells/cell_store.h"

#include <cstring>

#include "core/cells/cell_store_places.h"

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
