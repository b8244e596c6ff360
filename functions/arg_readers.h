#ifndef TALVERO_FUNCTIONS_ARG_READERS_H
#define TALVERO_FUNCTIONS_ARG_READERS_H

// How handlers read their arguments. Each reader takes the argument's
// operand slot, resolves a cell reference, converts between text and
// number, checks bounds, releases the text or array the slot owned and
// returns the slot's error byte (0 when the value is usable). An omitted
// argument (an empty value without error) returns 0 and leaves the output
// alone, so the handler's default stands. An argument's own error wins over
// the reader's. Read the arguments from the last to the first, as they lie
// on the pool and the array stack; afterwards a slot owns nothing.

#include <cstdint>

#include "core/base/error_code.h"
#include "core/cells/cell_store.h"
#include "core/numfmt/date_time.h"
#include "core/formula/eval_state.h"

// What a reader reports for an argument of the wrong kind: the argument's
// own error when it carries one, else "#VALUE!".
inline uint8_t KindError(uint32_t ownError) {
  return static_cast<uint8_t>(ownError != kErrorNone ? ownError : uint32_t(kErrorValue));
}

// Buffers given to GetArgText hold the pool's capacity.
constexpr size_t kArgTextCapacity = FormulaStrings::kByteCapacity;

// A number rounded half away from zero. It is stored even out of bounds
// (limited to the 32-bit range); valid within [min, max] and when the
// number lies within +-2147483647, else "#NUM!". A text that spells no
// number is "#NUM!", a range or an array "#VALUE!".
uint8_t GetArgInt(EvalState& state, uint16_t slot, int32_t* out, int32_t min, int32_t max);
uint8_t GetArgInt64(EvalState& state, uint16_t slot, int64_t* out, int64_t min, int64_t max);
// The number itself, stored even out of bounds; valid within [min, max].
uint8_t GetArgNumber(EvalState& state, uint16_t slot, double* out, double min, double max);
// An ISO 8601 date, time or both; anything else is "#VALUE!".
uint8_t GetArgDate(EvalState& state, uint16_t slot, DateTime* out);
// The text (a number written as the evaluator writes numbers) into buffer,
// which holds kArgTextCapacity bytes; a range or an array is "#VALUE!".
uint8_t GetArgText(EvalState& state, uint16_t slot, char* buffer);

// The cells of a range or array argument. A range's cells stay in its
// worksheet; an array's chain was taken off the array stack and belongs to
// the handler until ReleaseArgRange.
struct ArgRange {
  CellBlock* chain;        // null when there are no cells
  bool ownsChain;          // an array's chain
  // The listed cells not yet read, with listed below (beside ownsChain,
  // where it costs the range no room in a 64-bit build).
  uint32_t listedLeft;
  CellStore* sheet;        // a range's worksheet; null for an array
  uint32_t firstColumn;    // bounds in the chain's own coordinates
  uint32_t firstRow;
  uint32_t lastColumn;
  uint32_t lastRow;
  CellCursor cursor;       // the walk of NextArgCell
  // A record under the cursor whose key (ArgCellKey) lies below this lies
  // inside the rectangle: the walk handed out a cell of that row just
  // before it, and the key ends at the row's last column. 0 (nothing
  // proven) until the walk hands out a cell, so bounds narrowed before the
  // walk begins hold.
  uint64_t rowLimit;
  // A single long column the pass keeps listed (see ColumnCells), read
  // from its list rather than along the rows: the walk's place in it, with
  // listedLeft cells after, of listedCount. Null for any other range,
  // whose cursor walks.
  const CellRecord* const* listed;
  uint32_t listedCount;
};

// A single worksheet column the pass keeps listed (see ColumnCells): its
// records in row order as [*first, *last). False for any other range, and
// for a column not listed (yet).
inline bool ListedColumn(EvalState& state, const ArgRange& range, const CellRecord* const** first,
                         const CellRecord* const** last) {
  return range.sheet && range.firstColumn == range.lastColumn && range.lastColumn <= kMaxColumn &&
         range.lastRow - range.firstRow >= ColumnCells::kMinRows - 1 &&
         state.columnCells.Cells(range.sheet, static_cast<uint16_t>(range.firstColumn), range.firstRow, range.lastRow,
                                 first, last);
}

// Turns the walk of a worksheet range (not yet listed) to the column's list
// when the pass keeps one; false, untouched, when it does not.
inline bool UseListedColumn(EvalState& state, ArgRange& range) {
  const CellRecord* const* first = nullptr;
  const CellRecord* const* end = nullptr;
  if (!ListedColumn(state, range, &first, &end)) return false;
  range.listed = first;
  range.listedCount = range.listedLeft = static_cast<uint32_t>(end - first);
  // The cursor stays off the store: readers that step it find nothing.
  range.cursor.block = nullptr;
  range.cursor.offset = 0;
  return true;
}

// NextArgCell of a listed column: the listed cells within the bounds, which
// the caller may have narrowed.
inline const CellRecord* NextListedArgCell(ArgRange& range) {
  while (range.listedLeft != 0) {
    const CellRecord* cell = *range.listed;
    const uint32_t row = cell->Row();
    if (row > range.lastRow) return nullptr;
    ++range.listed;
    --range.listedLeft;
    const uint32_t column = cell->Column();
    if (row >= range.firstRow && column >= range.firstColumn && column <= range.lastColumn) return cell;
  }
  return nullptr;
}

// A cell's place in storage order.
inline uint64_t ArgCellKey(uint32_t row, uint32_t column) { return uint64_t(row) << 16 | column; }

// What NextArgCell knows once it hands out record, a cell of the rectangle
// with the cursor after it: the records after it up to the row's last
// column need no bounds checks.
inline const CellRecord* HandOutArgCell(ArgRange& range, const CellRecord* record) {
  if (record && (range.cursor.flags & kCursorAfterRecord))
    range.rowLimit = ArgCellKey(record->Row(), range.lastColumn) + 1;
  return record;
}

// The output is cleared first. A range or an array without error gives its
// cells; any other value that is not omitted is "#VALUE!".
uint8_t GetArgRange(EvalState& state, uint16_t slot, ArgRange* out);
// GetArgRange for the arguments its set-up without calls does not cover.
uint8_t GetArgRangeGeneral(EvalState& state, uint16_t slot, ArgRange* out);
// NextArgCell's step off the cursor's record: from a row's end to the next
// row's first cell in the rectangle's columns through the worksheet's row
// position memo, else NextInRange; a listed column's next listed cell.
const CellRecord* NextArgCellAcross(ArgRange& range);
// NextArgCell for a record under the cursor, before the rectangle's end,
// that the row limit does not prove: checked against the bounds.
const CellRecord* NextArgCellChecked(ArgRange& range, const CellRecord* record);
// NextArgCellChecked's steps that call on: a malformed record, a cursor not
// after its record, a row the memo does not list.
const CellRecord* NextArgCellGeneral(ArgRange& range, const CellRecord* record);
// The argument's next cell in storage order (row by row, left to right),
// existing cells only; null at the end. Inline: most calls find the cell
// under the cursor inside a row already entered, which one comparison of
// its key proves, and the last finds the record after the rectangle
// there, where NextInRange would stop the walk too.
inline const CellRecord* NextArgCell(ArgRange& range) {
  // A listed column's cursor has no block: NextArgCellAcross reads the list.
  CellCursor& cursor = range.cursor;
  if (const CellRecord* record = RecordUnderCursor(cursor)) {
    const uint64_t key = ArgCellKey(record->Row(), record->Column());
    if (key < range.rowLimit) {
      // A malformed record (no size) is left to NextInRange, which ends the walk there.
      const uint32_t size = record->Size();
      if (size != 0) {
        cursor.offset = static_cast<uint16_t>(cursor.offset + size);
        return record;
      }
    } else if (key > ArgCellKey(range.lastRow, range.lastColumn)) {
      return nullptr;
    } else {
      return NextArgCellChecked(range, record);
    }
  }
  return NextArgCellAcross(range);
}
// The argument's remaining cells in NextArgCell's order, each handed to
// visit(const CellRecord*), which returns false to stop the walk there
// (the cursor then after that cell); false when visit stopped it. Visits
// must leave the walk's cursor alone. The run
// of a row already entered is read in locals, its records proven by their
// keys alone: what a walk costs per cell beyond the visit.
template <class Visit>
bool WalkArgCells(ArgRange& range, Visit visit) {
  if (range.listed) {
    while (const CellRecord* cell = NextListedArgCell(range))
      if (!visit(cell)) return false;
    return true;
  }
  CellCursor& cursor = range.cursor;
  for (;;) {
    const CellRecord* next = nullptr;
    const CellBlock* block = cursor.block;
    if (!block) {
      next = NextArgCellAcross(range);
    } else {
      const BlockRecords records(block);
      const uint64_t limit = range.rowLimit;
      uint32_t offset = cursor.offset;
      const CellRecord* outside = nullptr;
      while (offset < records.end) {
        const CellRecord* record = records.At(offset);
        if (ArgCellKey(record->Row(), record->Column()) >= limit) {
          outside = record;
          break;
        }
        const uint32_t size = record->Size();
        if (size == 0) {
          outside = record;  // a malformed record: NextArgCellChecked ends the walk there
          break;
        }
        offset += size;
        if (!visit(record)) {
          cursor.offset = static_cast<uint16_t>(offset);
          return false;
        }
      }
      cursor.offset = static_cast<uint16_t>(offset);
      if (!outside) {
        next = NextArgCellAcross(range);
      } else {
        // The record after the rectangle ends the walk where it stands.
        if (ArgCellKey(outside->Row(), outside->Column()) > ArgCellKey(range.lastRow, range.lastColumn)) return true;
        next = NextArgCellChecked(range, outside);
      }
    }
    if (!next) return true;
    if (!visit(next)) return false;
  }
}

// Starts the walk of NextArgCell again at the first row of the bounds (which
// the caller may have narrowed): a range's through its worksheet's row index,
// an array's at the head of its chain.
void RestartArgRange(ArgRange& range);
// Gives an array's cells back to the array store; a range keeps its cells.
// Afterwards the range owns nothing and holds no cells, so that a second
// release gives nothing back; its other fields are not read again. Inline:
// a range, nearly every argument, has nothing to give back.
void ReleaseArgChain(EvalState& state, ArgRange& range);
inline void ReleaseArgRange(EvalState& state, ArgRange& range) {
  if (range.ownsChain) ReleaseArgChain(state, range);
  range.ownsChain = false;
  range.chain = nullptr;
  range.sheet = nullptr;
  range.listed = nullptr;
}

// The number of arguments of the call on top of the stack; a handler that
// needs more than it was given sets the syntax status through this. Inline,
// as the other counts: every handler asks at every call.
inline uint16_t FirstArg(const EvalState& state) { return state.operands[state.operandTop].firstArgument; }
inline uint16_t ArgCount(const EvalState& state) {
  const uint16_t first = FirstArg(state);
  return state.operandTop > first ? static_cast<uint16_t>(state.operandTop - first) : 0;
}
// The slot of the argument at a position counted from 0.
inline uint16_t ArgSlot(const EvalState& state, uint16_t index) {
  return static_cast<uint16_t>(FirstArg(state) + index);
}
// False, with the syntax status, when fewer than minimum were given.
inline bool RequireArgs(EvalState& state, uint16_t minimum) {
  if (ArgCount(state) >= minimum) return true;
  state.status = kEvalStatusSyntax;
  return false;
}
// False, with the syntax status, unless exactly count were given.
inline bool RequireExactArgs(EvalState& state, uint16_t count) {
  if (ArgCount(state) == count) return true;
  state.status = kEvalStatusSyntax;
  return false;
}
// Ends a call: releases every argument the handler left unread and puts
// the result in the first argument's slot, which becomes the top. A number
// result passes the result check.
void SetNumberResult(EvalState& state, double value, uint32_t error);
void SetErrorResult(EvalState& state, uint32_t error);
// The text is pushed on the pool; a full pool gives "#VALUE!".
void SetTextResult(EvalState& state, const char* text, size_t length, uint32_t error);

#endif
