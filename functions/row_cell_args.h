#ifndef TALVERO_FUNCTIONS_ROW_CELL_ARGS_H
#define TALVERO_FUNCTIONS_ROW_CELL_ARGS_H

// Range and reference arguments read through the worksheet's row index
// (see row_cells.h) rather than by their walks or by resolving them: two
// ranges of the same rows side by side, a single column, a referenced
// cell. Each reader says when the index cannot answer, and the handler
// then reads the argument the general way.

#include <cstddef>
#include <cstdint>

#include "core/cells/cell_store.h"
#include "core/formula/eval_state.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/plain_text_cell.h"
#include "core/cells/row_cells.h"

// Two worksheet ranges of one shape read side by side through the row
// index, the positions in the order of their walk together (row by row,
// left to right): both rows of a row offset in one pass along each (one
// for both when they share the row), where a paired walk steps over each
// row's leading cells once per range and matches the cells by their keys.
class RowPairs {
 public:
  static constexpr uint32_t kMaxColumns = 64;

  // False for any pair but two ranges of one worksheet, of one shape at
  // most kMaxColumns wide, whose rows the index answers for.
  bool Start(const ArgRange& x, const ArgRange& y) {
    columns_ = x.lastColumn - x.firstColumn + 1;
    rows_ = x.lastRow - x.firstRow + 1;
    if (!x.sheet || x.sheet != y.sheet || columns_ > kMaxColumns || y.lastColumn - y.firstColumn + 1 != columns_ ||
        y.lastRow - y.firstRow + 1 != rows_ || !RowsIndexed(x.sheet, x.firstRow, x.lastRow) ||
        !RowsIndexed(y.sheet, y.firstRow, y.lastRow))
      return false;
    x_ = &x;
    y_ = &y;
    row_ = 0;
    column_ = columns_;
    return true;
  }
  // The next position where either range has a cell (the other's may be
  // null); false at the end.
  bool Next(const CellRecord** x, const CellRecord** y) {
    for (;;) {
      while (column_ < columns_) {
        const CellRecord* atX = cellsX_[column_];
        const CellRecord* atY = cellsY_[column_];
        ++column_;
        if (atX || atY) {
          *x = atX;
          *y = atY;
          return true;
        }
      }
      if (row_ == rows_) return false;
      const uint32_t rowX = x_->firstRow + row_;
      const uint32_t rowY = y_->firstRow + row_;
      if (rowX == rowY) {
        RowSpanCells(*x_->sheet, rowX, x_->firstColumn, x_->lastColumn, cellsX_, y_->firstColumn, y_->lastColumn,
                     cellsY_);
      } else {
        RowSpanCells(*x_->sheet, rowX, x_->firstColumn, x_->lastColumn, cellsX_);
        RowSpanCells(*y_->sheet, rowY, y_->firstColumn, y_->lastColumn, cellsY_);
      }
      ++row_;
      column_ = 0;
    }
  }

 private:
  const ArgRange* x_ = nullptr;
  const ArgRange* y_ = nullptr;
  uint32_t columns_ = 0;
  uint32_t rows_ = 0;
  uint32_t row_ = 0;
  uint32_t column_ = 0;
  const CellRecord* cellsX_[kMaxColumns];
  const CellRecord* cellsY_[kMaxColumns];
};

// GetArgRange for a worksheet range argument without error, but with its
// walk not positioned: a handler that reads the rows through the index
// would throw that work away. RestartArgRange positions the walk when the
// handler walks after all. False, untouched, for any other argument.
inline bool TakeSheetRange(EvalState& state, uint16_t slot, ArgRange* out) {
  const EvalValue& value = state.operands[slot];
  if (value.kind != kEvalRange || value.error != kErrorNone || !value.sheet) return false;
  out->Over(value.sheet, value.first.column, value.first.row, value.second.column, value.second.row);
  out->ownsChain = false;
  state.NoteSpillAreaMeeting(value.sheet, out->firstColumn, out->lastColumn, out->firstRow, out->lastRow);
  return true;
}

// TakeSheetRange for a range that is read through the row index when it
// is a single column whose rows the index answers for (*byRows true);
// any other argument is read as GetRequiredArgRange reads it, its walk
// positioned.
inline uint8_t TakeColumnOrRange(EvalState& state, uint16_t slot, ArgRange* out, bool* byRows) {
  *byRows = false;
  if (!TakeSheetRange(state, slot, out)) return GetRequiredArgRange(state, slot, out);
  *byRows = out->firstColumn == out->lastColumn && RowsIndexed(out->sheet, out->firstRow, out->lastRow);
  if (!*byRows) RestartArgRange(*out);
  return kErrorNone;
}

// The cell a reference argument without error names, found through the
// row index: resolving the reference looks it up from the store's block
// directory and writes its value into the slot only to be read back.
// False when the index cannot answer; *cell is null for a blank.
inline bool FindReferencedCell(const EvalState& state, uint16_t slot, const CellRecord** cell) {
  const EvalValue& value = state.operands[slot];
  if (value.kind != kEvalCellRef || value.error != kErrorNone || !value.sheet) return false;
  const uint32_t row = value.cell.row;
  const uint32_t column = value.cell.column;
  if (column > kMaxColumn || !RowsIndexed(value.sheet, row, row)) return false;
  *cell = IndexedColumnCellAt(*value.sheet, column, row);
  return true;
}

// A reference argument to a number cell or a formula's number without
// error, read as resolving the reference reads it (noted as pending
// alike). False, untouched, for anything else.
inline bool ReadReferencedNumber(EvalState& state, uint16_t slot, double* out) {
  const CellRecord* cell = nullptr;
  double number = 0.0;
  if (!FindReferencedCell(state, slot, &cell) || !cell || !PlainCellNumber(cell, &number)) return false;
  state.NotePending(cell, state.operands[slot].sheet);
  *out = number;
  return true;
}

// A reference argument to a plain text cell, read where it stands (see
// ReadPlainTextCell). False, untouched, for anything else.
inline bool ReadReferencedText(const EvalState& state, uint16_t slot, const char** text, size_t* length) {
  const CellRecord* cell = nullptr;
  return FindReferencedCell(state, slot, &cell) && cell && ReadPlainTextCell(state, cell, text, length);
}

// Two listed single columns of the same rows (see UseListedColumn) read
// side by side: the cells of each row that holds either, in row order
// (either may be null), as a paired walk gives them.
class ListedColumnPairs {
 public:
  ListedColumnPairs(ArgRange& x, ArgRange& y)
      : x_(x), y_(y), nextX_(x.NextListed()), nextY_(y.NextListed()) {}
  // False at the end of both.
  bool Next(const CellRecord** x, const CellRecord** y) {
    const uint32_t rowX = nextX_ ? nextX_->Row() : kRowCount;
    const uint32_t rowY = nextY_ ? nextY_->Row() : kRowCount;
    if (rowX == kRowCount && rowY == kRowCount) return false;
    *x = rowX <= rowY ? nextX_ : nullptr;
    *y = rowY <= rowX ? nextY_ : nullptr;
    if (*x) nextX_ = x_.NextListed();
    if (*y) nextY_ = y_.NextListed();
    return true;
  }

 private:
  ArgRange& x_;
  ArgRange& y_;
  const CellRecord* nextX_;
  const CellRecord* nextY_;
};

// The cells of a range argument in storage order: a column the pass keeps
// listed from its list, another column straight through the row index (see
// TakeColumnOrRange), any other range by its walk.
class RangeCells {
 public:
  RangeCells(ArgRange& range, bool byRows) : range_(range), way_(byRows ? kByRows : kWalk), row_(range.firstRow) {}
  RangeCells(EvalState& state, ArgRange& range, bool byRows) : RangeCells(range, byRows) {
    if (UseListedColumn(state, range)) way_ = kListed;
  }
  // Null at the end.
  const CellRecord* Next() {
    if (way_ == kWalk) return NextArgCell(range_);
    return way_ == kByRows ? NextInColumn() : range_.NextListed();
  }

 private:
  const CellRecord* NextInColumn() {
    while (row_ <= range_.lastRow) {
      const CellRecord* cell = IndexedColumnCellAt(*range_.sheet, range_.firstColumn, row_++);
      if (cell) return cell;
    }
    return nullptr;
  }

  enum Way : uint8_t { kWalk, kByRows, kListed };
  ArgRange& range_;
  Way way_;
  uint32_t row_;
};

#endif
