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

uint8_t GetArgRange(EvalState& state, uint16_t slot, ArgRange* out) {
  // A worksheet range beside every spill area whose first row the memo
  // answers, nearly every range argument, is set up without a call, so
  // that this needs no frame; everything else is GetArgRangeGeneral's.
  const EvalValue& value = state.operands[slot];
  CellStore* sheet = value.sheet;
  const uint32_t firstColumn = value.first.column;
  const uint32_t lastColumn = value.second.column;
  if (value.kind == kEvalRange && value.error == kErrorNone && sheet &&
      (state.spillAreaCount == 0 || lastColumn < state.spillFirstColumn || firstColumn > state.spillLastColumn) &&
      (value.second.row - value.first.row < ColumnCells::kMinRows - 1 || firstColumn != lastColumn) &&
      out->StartWhereListed(sheet, firstColumn, value.first.row, lastColumn, value.second.row)) {
    out->ownsChain = false;
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
    out->Over(value.sheet, value.first.column, value.first.row, value.second.column, value.second.row);
    out->ownsChain = false;
    state.NoteSpillAreaMeeting(out->sheet, out->firstColumn, out->lastColumn, out->firstRow, out->lastRow);
    if (!UseListedColumn(state, *out)) out->Start();
    return 0;
  }
  if ((value.kind == kEvalRange || value.kind == kEvalArray) && error == kErrorNone) {
    // The bounds are read before the array's chain is taken off its slot.
    out->Over(nullptr, value.first.column, value.first.row, value.second.column, value.second.row);
    if (value.kind == kEvalArray) {
      out->chain = state.TakeSlotArray(slot);
      out->ownsChain = true;
    } else {
      // A range without a worksheet has no cells.
      out->ownsChain = false;
      state.NoteSpillAreaMeeting(nullptr, out->firstColumn, out->lastColumn, out->firstRow, out->lastRow);
    }
    out->Start();
    return 0;
  }
  *out = ArgRange{};
  if (IsOmitted(value)) return 0;
  state.DisownSlot(slot);
  return KindError(error);
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
