#include "functions/arg_readers.h"

#include <cmath>
#include <cstring>

#include "core/numfmt/double_to_text.h"
#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "core/eval/read_plain_cell.h"

namespace {

constexpr double kIntLimit = 2147483647.0;

uint8_t LargerError(uint32_t a, uint32_t b) { return static_cast<uint8_t>(a > b ? a : b); }

bool IsOmitted(const EvalValue& value) { return value.kind == kEvalEmpty && value.error == kErrorNone; }

// A reference to a blank or a plain number cell, nearly every reference a
// scalar argument holds, read without taking the cell's value through the
// slot; the slot is left as resolving it would leave it. False, untouched,
// for any other value.
bool ReadPlainReference(EvalState& state, uint16_t slot, double* x) {
  EvalValue& value = state.operands[slot];
  if (value.kind != kEvalCellRef || value.error != kErrorNone || !value.sheet) return false;
  const CellRecord* cell = nullptr;
  double number = 0.0;
  if (!state.FindGridCell(*value.sheet, value.cell, &cell) || !state.PlainCellNumber(cell, value.cell.column, &number))
    return false;
  value.Clear();
  value.kind = cell ? kEvalNumber : kEvalEmpty;
  value.number = number;
  *x = number;
  return true;
}

// The slot as a number; an empty cell reads as 0.
uint8_t ReadNumber(EvalState& state, uint16_t slot, double* x) {
  if (ReadPlainReference(state, slot, x)) return kErrorNone;
  EvalValue& value = state.operands[slot];
  state.ResolveOperand(slot);
  if (value.kind == kEvalText) state.TextToNumber(slot);
  uint32_t error = value.error;
  if (value.kind != kEvalNumber && value.kind != kEvalEmpty) {
    state.DisownSlot(slot);
    error = KindError(error);
  }
  *x = value.kind == kEvalNumber ? value.number : 0.0;
  return static_cast<uint8_t>(error);
}

// Half away from zero, as the value is typed.
double RoundHalfAway(double x) { return std::trunc(x >= 0 ? x + 0.5 : x - 0.5); }

// False for an omitted argument; otherwise the argument's number and the
// error of reading it. A number slot has nothing to resolve, convert or
// release, and nearly every numeric argument is one.
bool ReadGivenNumber(EvalState& state, uint16_t slot, double* x, uint8_t* error) {
  const EvalValue& value = state.operands[slot];
  if (value.kind == kEvalNumber && value.error == kErrorNone) {
    *x = value.number;
    return true;
  }
  if (IsOmitted(value)) return false;
  *error = ReadNumber(state, slot, x);
  return true;
}

template <class T>
T StoredInteger(double rounded) {
  if (rounded >= -kIntLimit && rounded <= kIntLimit) return static_cast<T>(rounded);
  return static_cast<T>(rounded > 0 ? kIntLimit : -kIntLimit);
}

template <class T>
uint8_t ReadInteger(EvalState& state, uint16_t slot, T* out, T min, T max) {
  double x = 0;
  uint8_t error = kErrorNone;
  if (!ReadGivenNumber(state, slot, &x, &error)) return 0;
  if (error != kErrorNone) return error;
  // Nearly every integer argument is a whole number within its bounds,
  // which rounding leaves as it is.
  if (x >= -kIntLimit && x <= kIntLimit && static_cast<double>(static_cast<int64_t>(x)) == x &&
      x >= static_cast<double>(min) && x <= static_cast<double>(max)) {
    *out = static_cast<T>(x);
    return 0;
  }
  const double rounded = RoundHalfAway(x);
  *out = StoredInteger<T>(rounded);
  if (!(x >= -kIntLimit && x <= kIntLimit) || rounded < static_cast<double>(min) ||
      rounded > static_cast<double>(max))
    return kErrorNum;
  return 0;
}

}  // namespace

uint8_t GetArgInt(EvalState& state, uint16_t slot, int32_t* out, int32_t min, int32_t max) {
  return ReadInteger<int32_t>(state, slot, out, min, max);
}

uint8_t GetArgInt64(EvalState& state, uint16_t slot, int64_t* out, int64_t min, int64_t max) {
  return ReadInteger<int64_t>(state, slot, out, min, max);
}

uint8_t GetArgNumber(EvalState& state, uint16_t slot, double* out, double min, double max) {
  double x = 0;
  uint8_t error = kErrorNone;
  if (!ReadGivenNumber(state, slot, &x, &error)) return 0;
  if (error != kErrorNone) return error;
  *out = x;
  return x >= min && x <= max ? 0 : uint8_t(kErrorNum);
}

uint8_t GetArgDate(EvalState& state, uint16_t slot, DateTime* out) {
  EvalValue& value = state.operands[slot];
  if (IsOmitted(value)) return 0;
  state.ResolveOperand(slot);
  const uint32_t error = value.error;
  if (value.kind != kEvalText) {
    state.DisownSlot(slot);
    return KindError(error);
  }
  DateTime parsed;
  // A date in the form dates are written in is read where it stands.
  if (error == kErrorNone && ReadPlainIsoDate(state.SlotText(slot), state.SlotTextLength(slot), &parsed)) {
    state.DisownSlot(slot);
    *out = parsed;
    return 0;
  }
  char text[kArgTextCapacity];
  std::memcpy(text, state.SlotText(slot), state.SlotTextLength(slot) + 1);
  state.DisownSlot(slot);
  if (error != kErrorNone) return static_cast<uint8_t>(error);
  if (!ParseIsoDateTime(&parsed, text)) return kErrorValue;
  *out = parsed;
  return 0;
}

uint8_t GetArgText(EvalState& state, uint16_t slot, char* buffer) {
  EvalValue& value = state.operands[slot];
  if (IsOmitted(value)) return 0;
  state.ResolveOperand(slot);
  const uint32_t error = value.error;
  switch (value.kind) {
    case kEvalText:
      // Pool strings are shorter than the pool.
      std::memcpy(buffer, state.SlotText(slot), state.SlotTextLength(slot) + 1);
      state.DisownSlot(slot);
      return static_cast<uint8_t>(error);
    case kEvalNumber:
    case kEvalEmpty:
      if (error != kErrorNone)
        std::strcpy(buffer, ErrorName(static_cast<uint8_t>(error)));
      else if (value.kind == kEvalNumber)
        DoubleToText(value.number, buffer, kArgTextCapacity, nullptr);
      else
        buffer[0] = '\0';
      return static_cast<uint8_t>(error);
    default:
      state.DisownSlot(slot);
      return KindError(error);
  }
}

namespace {

// Passes, by their sizes alone, the cells of row left of the rectangle from
// the cursor on: NextInRange would pass them too, at several times the cost
// for the few a row holds.
void PassCellsLeftOfRectangle(ArgRange& range, uint32_t row) {
  CellCursor& cursor = range.cursor;
  if (!cursor.block || range.firstColumn == 0 || range.firstColumn > kMaxColumn) return;
  const RecordPosition at = PassRowBefore({cursor.block, cursor.offset}, row, static_cast<uint16_t>(range.firstColumn));
  cursor.block = at.block;
  cursor.offset = at.offset;
}

// RestartArgRange, inline for GetArgRange, which starts a walk at nearly
// every call. The cursor is set in place: StartRangeWalk's copy of it costs
// as much as positioning it.
inline void StartArgRange(ArgRange& range) {
  if (range.listed) {
    range.listed -= range.listedCount - range.listedLeft;
    range.listedLeft = range.listedCount;
    return;
  }
  CellCursor& cursor = range.cursor;
  cursor.flags = kCursorAfterRecord;
  cursor.offset = 0;
  cursor.rows = range.sheet;
  range.rowLimit = 0;
  if (!range.sheet) {
    cursor.block = range.chain;
    return;
  }
  // The first cell of the first row through the row position memo: every
  // formula of a row starts walks at the same few places.
  RecordPosition at;
  if (range.sheet->PositionInRow(range.firstRow, static_cast<uint16_t>(range.firstColumn), &at)) {
    cursor.block = at.block;
    cursor.offset = at.offset;
    return;
  }
  range.sheet->PositionAtRow(range.firstRow, &cursor);
  PassCellsLeftOfRectangle(range, range.firstRow);
}

}  // namespace

uint8_t GetArgRange(EvalState& state, uint16_t slot, ArgRange* out) {
  // A worksheet range beside every spill area whose first row the memo
  // answers, nearly every range argument, is set up without a call, so
  // that this needs no frame; everything else is GetArgRangeGeneral's.
  const EvalValue& value = state.operands[slot];
  CellStore* sheet = value.sheet;
  const uint32_t firstColumn = value.first.column;
  const uint32_t lastColumn = value.second.column;
  RecordPosition at;
  if (value.kind == kEvalRange && value.error == kErrorNone && sheet &&
      (state.spillAreaCount == 0 || lastColumn < state.spillFirstColumn || firstColumn > state.spillLastColumn) &&
      (value.second.row - value.first.row < ColumnCells::kMinRows - 1 || firstColumn != lastColumn) &&
      sheet->ListedPositionInRow(value.first.row, static_cast<uint16_t>(firstColumn), &at)) {
    out->chain = sheet->FirstBlock();
    out->ownsChain = false;
    out->sheet = sheet;
    out->firstColumn = firstColumn;
    out->firstRow = value.first.row;
    out->lastColumn = lastColumn;
    out->lastRow = value.second.row;
    out->rowLimit = 0;
    out->listed = nullptr;
    out->cursor.flags = kCursorAfterRecord;
    out->cursor.rows = sheet;
    out->cursor.block = at.block;
    out->cursor.offset = at.offset;
    return 0;
  }
  return GetArgRangeGeneral(state, slot, out);
}

uint8_t GetArgRangeGeneral(EvalState& state, uint16_t slot, ArgRange* out) {
  EvalValue& value = state.operands[slot];
  const uint32_t error = value.error;
  if (value.kind == kEvalRange && error == kErrorNone && value.sheet) {
    // A worksheet range, nearly every range argument: its walk starts at the
    // first row's first cell in the rectangle, which the row position memo
    // names for every formula of a row after the first.
    CellStore* sheet = value.sheet;
    const uint32_t firstColumn = value.first.column;
    const uint32_t firstRow = value.first.row;
    out->chain = sheet->FirstBlock();
    out->ownsChain = false;
    out->sheet = sheet;
    out->firstColumn = firstColumn;
    out->firstRow = firstRow;
    out->lastColumn = value.second.column;
    out->lastRow = value.second.row;
    out->rowLimit = 0;
    out->listed = nullptr;
    CellCursor& cursor = out->cursor;
    cursor.flags = kCursorAfterRecord;
    cursor.rows = sheet;
    state.NoteSpillAreaMeeting(sheet, firstColumn, out->lastColumn, firstRow, out->lastRow);
    if (UseListedColumn(state, *out)) return 0;
    RecordPosition at;
    if (sheet->PositionInRow(firstRow, static_cast<uint16_t>(firstColumn), &at)) {
      cursor.block = at.block;
      cursor.offset = at.offset;
    } else {
      cursor.offset = 0;
      sheet->PositionAtRow(firstRow, &cursor);
      PassCellsLeftOfRectangle(*out, firstRow);
    }
    return 0;
  }
  if ((value.kind == kEvalRange || value.kind == kEvalArray) && error == kErrorNone) {
    // Every field is written here once: a range is read at nearly every call.
    out->firstColumn = value.first.column;
    out->firstRow = value.first.row;
    out->lastColumn = value.second.column;
    out->lastRow = value.second.row;
    out->listed = nullptr;
    if (value.kind == kEvalArray) {
      out->chain = state.TakeSlotArray(slot);
      out->ownsChain = true;
      out->sheet = nullptr;
    } else {
      out->sheet = value.sheet;
      out->chain = value.sheet ? value.sheet->FirstBlock() : nullptr;
      out->ownsChain = false;
      state.NoteSpillAreaMeeting(value.sheet, out->firstColumn, out->lastColumn, out->firstRow, out->lastRow);
    }
    StartArgRange(*out);
    return 0;
  }
  *out = ArgRange{};
  if (IsOmitted(value)) return 0;
  state.DisownSlot(slot);
  return KindError(error);
}

void RestartArgRange(ArgRange& range) { StartArgRange(range); }

namespace {

const CellRecord* NextInArgRange(ArgRange& range) {
  return HandOutArgCell(range, range.cursor.NextInRange(static_cast<uint16_t>(range.firstColumn),
                                                       static_cast<uint16_t>(range.lastColumn), range.firstRow,
                                                       range.lastRow));
}

// The step from a worksheet range's row, left past the rectangle's last
// column with more rows below, to the next row's first cell in the
// rectangle's columns.
inline const CellRecord* NextArgRowDown(ArgRange& range, uint32_t row) {
  CellCursor& cursor = range.cursor;
  if (cursor.flags & kCursorAfterRecord) {
    // Each turn moves a row down, from a record of a row of the rectangle
    // past its last column, above the last row.
    for (;;) {
      RecordPosition next;
      if (!range.sheet->PositionInRow(++row, static_cast<uint16_t>(range.firstColumn), &next)) break;
      cursor.block = next.block;
      cursor.offset = next.offset;
      const CellRecord* record = RecordAtPlace(next);
      if (!record) break;
      row = record->Row();
      const uint32_t column = record->Column();
      if (row > range.lastRow || (row == range.lastRow && column > range.lastColumn)) return nullptr;
      if (column <= range.lastColumn) {
        // At or right of the first column unless the row ended: a later
        // row's record left of the rectangle is left to NextInRange.
        if (column < range.firstColumn) break;
        const uint32_t size = record->Size();
        if (size == 0) break;
        cursor.offset = static_cast<uint16_t>(next.offset + size);
        range.rowLimit = ArgCellKey(row, range.lastColumn) + 1;
        return record;
      }
    }
  }
  return NextInArgRange(range);
}

// The step off a record under the cursor that lies outside the rectangle,
// before its end, at (row, column).
inline const CellRecord* NextArgCellAfter(ArgRange& range, uint32_t row, uint32_t column) {
  if (range.sheet && row >= range.firstRow && row < range.lastRow && column > range.lastColumn)
    return NextArgRowDown(range, row);
  return NextInArgRange(range);
}

}  // namespace

const CellRecord* NextArgCellAcross(ArgRange& range) {
  if (range.listed) return NextListedArgCell(range);
  if (const CellRecord* record = RecordUnderCursor(range.cursor))
    return NextArgCellAfter(range, record->Row(), record->Column());
  return NextInArgRange(range);
}

const CellRecord* NextArgCellChecked(ArgRange& range, const CellRecord* record) {
  const uint32_t row = record->Row();
  const uint32_t column = record->Column();
  if (row >= range.firstRow && row <= range.lastRow && column >= range.firstColumn && column <= range.lastColumn) {
    const uint32_t size = record->Size();
    if (size != 0 && (range.cursor.flags & kCursorAfterRecord)) {
      range.cursor.offset = static_cast<uint16_t>(range.cursor.offset + size);
      range.rowLimit = ArgCellKey(row, range.lastColumn) + 1;
      return record;
    }
  }
  // Right of a row above the last, the next row's first cell is most often
  // one the row position memo lists: inside the rectangle as it stands.
  RecordPosition below;
  if (column > range.lastColumn && row >= range.firstRow && row < range.lastRow && range.sheet &&
      (range.cursor.flags & kCursorAfterRecord) &&
      range.sheet->ListedCellAt(row + 1, static_cast<uint16_t>(range.firstColumn), &below)) {
    const CellRecord* first = RecordAtPosition(below);
    const uint32_t size = first->Size();
    if (size != 0) {
      range.cursor.block = below.block;
      range.cursor.offset = static_cast<uint16_t>(below.offset + size);
      range.rowLimit = ArgCellKey(row + 1, range.lastColumn) + 1;
      return first;
    }
  }
  // The rest calls on, out of line: the steps above need no frame.
  return NextArgCellGeneral(range, record);
}

const CellRecord* NextArgCellGeneral(ArgRange& range, const CellRecord* record) {
  const uint32_t row = record->Row();
  const uint32_t column = record->Column();
  if (row >= range.firstRow && row <= range.lastRow && column >= range.firstColumn && column <= range.lastColumn) {
    if (record->Size() == 0) return NextInArgRange(range);
    return record;
  }
  return NextArgCellAfter(range, row, column);
}

void ReleaseArgChain(EvalState& state, ArgRange& range) { state.arrays.ReleaseChain(range.chain); }

void SetNumberResult(EvalState& state, double value, uint32_t error) {
  EvalValue& result = state.ClearArguments();
  result.kind = kEvalNumber;
  if (error == kErrorNone && IsBadNumber(value)) error = kErrorNum;
  result.error = error;
  result.number = error == kErrorNone ? value : 0.0;
}

void SetErrorResult(EvalState& state, uint32_t error) {
  EvalValue& result = state.ClearArguments();
  result.kind = kEvalEmpty;
  result.error = error;
}

void SetTextResult(EvalState& state, const char* text, size_t length, uint32_t error) {
  EvalValue& result = state.ClearArguments();
  if (!state.strings.Push(text, length)) {
    result.kind = kEvalEmpty;
    result.error = LargerError(error, kErrorValue);
    return;
  }
  result.kind = kEvalText;
  result.error = error;
}
