// The cursor's own walks over a cell store's chain: the record at the
// cursor, and the next record inside a rectangle.

#include "core/cells/cell_store.h"

#include "core/cells/cell_store_places.h"

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
