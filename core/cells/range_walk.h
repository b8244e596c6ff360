#ifndef TALVERO_CORE_CELLS_RANGE_WALK_H
#define TALVERO_CORE_CELLS_RANGE_WALK_H

// The walk of a rectangle of cells that every reader outside the store
// takes: the existing cells in storage order (row by row, left to right),
// over a store's records, over a detached chain (an array value's) from its
// head, or over a list of one column's records that a pass keeps (the
// listed mode). Only this walk steps over records; its readers say what a
// cell means.
//
// The hot part of recalculation: a walk is set up at nearly every call of a
// handler with a range argument, and most of its steps find the record
// under the cursor inside a row already entered, which one comparison of
// its key proves. So the set-up and the proven step are inline, and the
// rarer steps (off a row, down to the next, a record the proof does not
// cover) out of line.

#include <cassert>
#include <cstdint>

#include "core/cells/cell_store.h"
#include "core/cells/number_run.h"

class RangeWalk {
 public:
  enum Mode : uint8_t {
    // The records as they lie, the store's or the chain's, under a cursor.
    kStored = 0,
    // A list of the records of one column in row order, made by the caller
    // (a pass's column lists). The records are read in place: nothing may
    // change the store while the list is walked.
    kListed = 1,
  };

  // A detached chain walked from its head; null for a store's cells.
  CellBlock* chain;
  // The store whose cells are walked; null for a chain.
  CellStore* sheet;
  // The rectangle in the cells' own coordinates. A caller may narrow or
  // widen it before the walk begins (then Restart it if widened left or up);
  // a listed walk holds its one column's cells alone, and is set Over its
  // store to be widened.
  uint32_t firstColumn;
  uint32_t firstRow;
  uint32_t lastColumn;
  uint32_t lastRow;

  // A store's rectangle, the walk not yet positioned: Start or Restart
  // positions it; until then it gives no cell.
  void Over(CellStore* store, uint32_t first, uint32_t top, uint32_t last, uint32_t bottom) {
    chain = nullptr;
    sheet = store;
    SetBounds(first, top, last, bottom);
    mode_ = kStored;
    cursor_ = CellCursor{};
    rowLimit_ = 0;
  }
  // A detached chain's rectangle (null: no cells), not yet positioned.
  void OverChain(CellBlock* cells, uint32_t first, uint32_t top, uint32_t last, uint32_t bottom) {
    Over(nullptr, first, top, last, bottom);
    chain = cells;
  }
  // Over a store's rectangle, positioned at once where the store's row
  // position memo names the first row's first cell in the rectangle: every
  // formula of a row starts its walks at the same few places. False, with
  // nothing changed, when the memo does not list that row yet.
  bool StartWhereListed(CellStore* store, uint32_t first, uint32_t top, uint32_t last, uint32_t bottom) {
    RecordPosition at;
    if (!store->ListedPositionInRow(top, static_cast<uint16_t>(first), &at)) return false;
    chain = nullptr;
    sheet = store;
    SetBounds(first, top, last, bottom);
    mode_ = kStored;
    rowLimit_ = 0;
    cursor_.flags = kCursorAfterRecord;
    cursor_.rows = store;
    cursor_.block = at.block;
    cursor_.offset = at.offset;
    return true;
  }
  // Walks the caller's list of count records of the store's column, in row
  // order, instead of the store: those within the bounds (which the caller
  // may narrow) are given. The list must stay valid, and the store
  // unchanged, until the walk's last step (checked in debug builds).
  void WalkList(const CellRecord* const* cells, uint32_t count) {
    mode_ = kListed;
    listed_ = cells;
    listedCount_ = listedLeft_ = count;
    // The cursor stays off the store: the steps that read it find nothing.
    cursor_.block = nullptr;
    cursor_.offset = 0;
#ifndef NDEBUG
    listChanges_ = sheet ? sheet->ChainChanges() : 0;
#endif
  }
  // Holds no cells any more; nothing of the walk is read again.
  void Clear() {
    chain = nullptr;
    sheet = nullptr;
    mode_ = kStored;
  }

  Mode WalkMode() const { return mode_; }
  // Where the walk stands, for comparing two set-ups of one walk.
  bool SamePlaceAs(const RangeWalk& other) const {
    if (mode_ != other.mode_ || rowLimit_ != other.rowLimit_) return false;
    if (mode_ == kListed) return listed_ == other.listed_ && listedLeft_ == other.listedLeft_;
    return cursor_.flags == other.cursor_.flags && cursor_.block == other.cursor_.block &&
           cursor_.offset == other.cursor_.offset && cursor_.rows == other.cursor_.rows;
  }

  // Positions the walk at the first row of the bounds: a store's through
  // its row index, a chain's at its head; a list starts again at its head.
  // Inlined where it is called: a reader sets a walk up at nearly every
  // call.
  [[gnu::always_inline]] void Start();
  // Start, out of line, for walks started again.
  void Restart();

  // The next cell, null at the end.
  const CellRecord* Next();
  // The remaining cells in Next's order, each handed to visit(const
  // CellRecord*), which returns false to stop the walk there (the walk then
  // after that cell); false when visit stopped it. Visits must leave the
  // walk alone. The run of a row already entered is read in locals, its
  // records proven by their keys alone: what a walk costs per cell beyond
  // the visit.
  template <class Visitor>
  bool VisitCells(Visitor visit);
  // The listed mode's next cell within the bounds; null at the end.
  const CellRecord* NextListed() {
    // Narrowed past its column it is empty; widened it would miss cells.
    assert(lastColumn <= firstColumn && "a listed walk widened beyond its column");
    while (listedLeft_ != 0) {
#ifndef NDEBUG
      assert((!sheet || sheet->ChainChanges() == listChanges_) && "a store changed while its list was walked");
#endif
      const CellRecord* cell = *listed_;
      const uint32_t row = cell->Row();
      if (row > lastRow) return nullptr;
      ++listed_;
      --listedLeft_;
      const uint32_t column = cell->Column();
      if (row >= firstRow && column >= firstColumn && column <= lastColumn) return cell;
    }
    return nullptr;
  }
  // Takes the plain number cells that lie right after cell, the one Next
  // just gave, in its block and row and inside the rectangle (see
  // TakeNumberRunAfter), into out (at most room numbers), and moves the walk
  // past them; their count. None in the listed mode.
  template <bool kRefuseNegativeZero, bool kRefuseTiny = false>
  uint32_t TakeNumberRun(const CellRecord* cell, double* out, uint32_t room) {
    return TakeNumberRunAfter<kRefuseNegativeZero, kRefuseTiny>(cursor_, cell, lastColumn, out, room);
  }

 private:
  // A cell's place in storage order.
  static uint64_t Key(uint32_t row, uint32_t column) { return uint64_t(row) << 16 | column; }

  void SetBounds(uint32_t first, uint32_t top, uint32_t last, uint32_t bottom) {
    firstColumn = first;
    firstRow = top;
    lastColumn = last;
    lastRow = bottom;
  }
  // What the walk knows once it gives record, a cell of the rectangle with
  // the cursor after it: the records after it up to the row's last column
  // need no bounds checks.
  const CellRecord* HandOut(const CellRecord* record) {
    if (record && (cursor_.flags & kCursorAfterRecord)) rowLimit_ = Key(record->Row(), lastColumn) + 1;
    return record;
  }
  // Passes, by their sizes alone, the cells of row left of the rectangle
  // from the cursor on.
  void PassCellsLeftOfRectangle(uint32_t row);
  // Next's step off the cursor's record: from a row's end to the next row's
  // first cell in the rectangle's columns through the store's row position
  // memo, else the cursor's NextInRange; a list's next listed cell.
  const CellRecord* NextAcross();
  // Next for a record under the cursor, before the rectangle's end, that
  // the row limit does not prove: checked against the bounds.
  const CellRecord* NextChecked(const CellRecord* record);
  // NextChecked's steps that call on: a malformed record, a cursor not
  // after its record, a row the memo does not list.
  const CellRecord* NextGeneral(const CellRecord* record);
  const CellRecord* NextInRange();
  const CellRecord* NextRowDown(uint32_t row);
  const CellRecord* NextAfter(uint32_t row, uint32_t column);

  CellCursor cursor_;
  // A record under the cursor whose key lies below this lies inside the
  // rectangle: the walk gave a cell of that row just before it, and the key
  // ends at the row's last column. 0 (nothing proven) until the walk gives
  // a cell, so that bounds changed before the walk begins hold.
  uint64_t rowLimit_;
  // The listed mode's place in its list, with listedLeft_ cells after it, of
  // listedCount_.
  const CellRecord* const* listed_;
  uint32_t listedLeft_;
  uint32_t listedCount_;
  Mode mode_;
#ifndef NDEBUG
  // The store's chain changes when the list was taken.
  uint64_t listChanges_;
#endif
};

inline void RangeWalk::Start() {
  if (mode_ == kListed) {
    listed_ -= listedCount_ - listedLeft_;
    listedLeft_ = listedCount_;
    return;
  }
  // The cursor is set in place: StartRangeWalk's copy of it costs as much
  // as positioning it.
  cursor_.flags = kCursorAfterRecord;
  cursor_.offset = 0;
  cursor_.rows = sheet;
  rowLimit_ = 0;
  if (!sheet) {
    cursor_.block = chain;
    return;
  }
  RecordPosition at;
  if (sheet->PositionInRow(firstRow, static_cast<uint16_t>(firstColumn), &at)) {
    cursor_.block = at.block;
    cursor_.offset = at.offset;
    return;
  }
  sheet->PositionAtRow(firstRow, &cursor_);
  PassCellsLeftOfRectangle(firstRow);
}

inline const CellRecord* RangeWalk::Next() {
  // A list's cursor has no block: NextAcross reads the list.
  if (const CellRecord* record = RecordUnderCursor(cursor_)) {
    const uint64_t key = Key(record->Row(), record->Column());
    if (key < rowLimit_) {
      // A malformed record (no size) is left to NextInRange, which ends the walk there.
      const uint32_t size = record->Size();
      if (size != 0) {
        cursor_.offset = static_cast<uint16_t>(cursor_.offset + size);
        return record;
      }
    } else if (key > Key(lastRow, lastColumn)) {
      // The record after the rectangle: NextInRange would stop there too.
      return nullptr;
    } else {
      return NextChecked(record);
    }
  }
  return NextAcross();
}

template <class Visitor>
bool RangeWalk::VisitCells(Visitor visit) {
  if (mode_ == kListed) {
    while (const CellRecord* cell = NextListed())
      if (!visit(cell)) return false;
    return true;
  }
  for (;;) {
    const CellRecord* next = nullptr;
    const CellBlock* block = cursor_.block;
    if (!block) {
      next = NextAcross();
    } else {
      const BlockRecords records(block);
      const uint64_t limit = rowLimit_;
      uint32_t offset = cursor_.offset;
      const CellRecord* outside = nullptr;
      while (offset < records.end) {
        const CellRecord* record = records.At(offset);
        if (Key(record->Row(), record->Column()) >= limit) {
          outside = record;
          break;
        }
        const uint32_t size = record->Size();
        if (size == 0) {
          outside = record;  // a malformed record: NextChecked ends the walk there
          break;
        }
        offset += size;
        if (!visit(record)) {
          cursor_.offset = static_cast<uint16_t>(offset);
          return false;
        }
      }
      cursor_.offset = static_cast<uint16_t>(offset);
      if (!outside) {
        next = NextAcross();
      } else {
        // The record after the rectangle ends the walk where it stands.
        if (Key(outside->Row(), outside->Column()) > Key(lastRow, lastColumn)) return true;
        next = NextChecked(outside);
      }
    }
    if (!next) return true;
    if (!visit(next)) return false;
  }
}

// The record at (column, row) of a detached chain (an array value's), as a
// walk of that one cell from the chain's head finds it: the chain is in
// storage order, so the walk ends at the first record at or past the cell;
// null when the cell is absent.
inline const CellRecord* ChainCellAt(CellBlock* chain, uint32_t column, uint32_t row) {
  const uint64_t wanted = uint64_t(row) << 16 | column;
  CellCursor walk;
  walk.block = chain;
  const CellRecord* record =
      NextRecordWhere(walk, [&](const CellRecord& at) { return (uint64_t(at.Row()) << 16 | at.Column()) >= wanted; });
  return record && (uint64_t(record->Row()) << 16 | record->Column()) == wanted ? record : nullptr;
}

#endif
