#include "core/cells/range_walk.h"

void RangeWalk::Restart() { Start(); }

void RangeWalk::PassCellsLeftOfRectangle(uint32_t row) {
  // NextInRange would pass them too, at several times the cost for the few
  // a row holds.
  if (!cursor_.block || firstColumn == 0 || firstColumn > kMaxColumn) return;
  const RecordPosition at = PassRowBefore({cursor_.block, cursor_.offset}, row, static_cast<uint16_t>(firstColumn));
  cursor_.block = at.block;
  cursor_.offset = at.offset;
}

const CellRecord* RangeWalk::NextInRange() {
  return HandOut(cursor_.NextInRange(static_cast<uint16_t>(firstColumn), static_cast<uint16_t>(lastColumn), firstRow,
                                     lastRow));
}

// The step from a store's row, left past the rectangle's last column with
// more rows below, to the next row's first cell in the rectangle's columns.
inline const CellRecord* RangeWalk::NextRowDown(uint32_t row) {
  if (cursor_.flags & kCursorAfterRecord) {
    // Each turn moves a row down, from a record of a row of the rectangle
    // past its last column, above the last row.
    for (;;) {
      RecordPosition next;
      if (!sheet->PositionInRow(++row, static_cast<uint16_t>(firstColumn), &next)) break;
      cursor_.block = next.block;
      cursor_.offset = next.offset;
      const CellRecord* record = RecordAtPlace(next);
      if (!record) break;
      row = record->Row();
      const uint32_t column = record->Column();
      if (row > lastRow || (row == lastRow && column > lastColumn)) return nullptr;
      if (column <= lastColumn) {
        // At or right of the first column unless the row ended: a later
        // row's record left of the rectangle is left to NextInRange.
        if (column < firstColumn) break;
        const uint32_t size = record->Size();
        if (size == 0) break;
        cursor_.offset = static_cast<uint16_t>(next.offset + size);
        rowLimit_ = Key(row, lastColumn) + 1;
        return record;
      }
    }
  }
  return NextInRange();
}

// The step off a record under the cursor that lies outside the rectangle,
// before its end, at (row, column).
inline const CellRecord* RangeWalk::NextAfter(uint32_t row, uint32_t column) {
  if (sheet && row >= firstRow && row < lastRow && column > lastColumn) return NextRowDown(row);
  return NextInRange();
}

const CellRecord* RangeWalk::NextAcross() {
  if (mode_ == kListed) return NextListed();
  if (const CellRecord* record = RecordUnderCursor(cursor_)) return NextAfter(record->Row(), record->Column());
  return NextInRange();
}

const CellRecord* RangeWalk::NextChecked(const CellRecord* record) {
  const uint32_t row = record->Row();
  const uint32_t column = record->Column();
  if (row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn) {
    const uint32_t size = record->Size();
    if (size != 0 && (cursor_.flags & kCursorAfterRecord)) {
      cursor_.offset = static_cast<uint16_t>(cursor_.offset + size);
      rowLimit_ = Key(row, lastColumn) + 1;
      return record;
    }
  }
  // Right of a row above the last, the next row's first cell is most often
  // one the row position memo lists: inside the rectangle as it stands.
  RecordPosition below;
  if (column > lastColumn && row >= firstRow && row < lastRow && sheet && (cursor_.flags & kCursorAfterRecord) &&
      sheet->ListedCellAt(row + 1, static_cast<uint16_t>(firstColumn), &below)) {
    const CellRecord* first = RecordAtPosition(below);
    const uint32_t size = first->Size();
    if (size != 0) {
      cursor_.block = below.block;
      cursor_.offset = static_cast<uint16_t>(below.offset + size);
      rowLimit_ = Key(row + 1, lastColumn) + 1;
      return first;
    }
  }
  // The rest calls on, out of line: the steps above need no frame.
  return NextGeneral(record);
}

const CellRecord* RangeWalk::NextGeneral(const CellRecord* record) {
  const uint32_t row = record->Row();
  const uint32_t column = record->Column();
  if (row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn) {
    if (record->Size() == 0) return NextInRange();
    return record;
  }
  return NextAfter(row, column);
}
