#include "core/base/error_code.h"
#include "core/numfmt/text_to_number.h"
#include "functions/aggregate_cells.h"
#include "functions/fn_sums.h"

namespace {

// Whether the value in the slot reads as a number; its error is not looked
// at. The slot owns nothing afterwards.
bool ReadsAsNumber(EvalState& state, uint16_t slot) {
  state.ResolveOperand(slot);
  if (state.operands[slot].kind == kEvalText)
    state.TextToNumber(slot);
  const bool number = state.operands[slot].kind == kEvalNumber;
  state.DisownSlot(slot);
  return number;
}

// ReadsAsNumber for a cell's value, read in place: a number or a formula
// without a text result reads as a number whatever its error, a text only
// when it spells one and carries no error.
bool CellReadsAsNumber(EvalState& state, const ArgRange& range, const CellRecord* cell) {
  if (cell->IsNumber() || (cell->IsFormula() && !cell->HasCachedText())) {
    NotePendingCell(state, range, cell);
    return true;
  }
  // Most texts are words or dates: no need to take them through the pool.
  size_t length = 0;
  const char* text = StoredCellText(cell, &length);
  if (text && !MaySpellNumber(text, length)) {
    NotePendingCell(state, range, cell);
    return false;
  }
  const CellValueView view = state.ViewCell(cell, range.sheet);
  double number = 0;
  return view.kind == kEvalText && view.error == kErrorNone && TextToNumberValue(view.text, view.length, &number);
}

// Whether the value in the slot is a text of length 0. The slot owns
// nothing afterwards.
bool IsEmptyText(EvalState& state, uint16_t slot) {
  const bool empty = state.operands[slot].kind == kEvalText && state.SlotTextLength(slot) == 0;
  state.DisownSlot(slot);
  return empty;
}

// Whether the cell could read as a text of length 0; any other cell is
// filled whatever the text pool holds.
bool MayReadAsEmptyText(const CellRecord* cell) {
  if (cell->IsText()) return cell->TextLength() == 0;
  return cell->IsFormula() && cell->HasCachedText() && cell->CachedTextLength() == 0;
}

}  // namespace

void FnCount(EvalState& state) {
  if (!RequireArgs(state, 1))
    return;
  // Every cell of every argument is read, whatever the values.
  PendingGather::WalkScope walk(state.pendingGather);
  const uint16_t first = FirstArg(state);
  double count = 0;
  for (uint16_t slot = static_cast<uint16_t>(state.operandTop - 1); slot >= first; --slot) {
    if (!IsRangeOrArray(state.operands[slot])) {
      if (!IsOmittedArg(state.operands[slot]) && ReadsAsNumber(state, slot))
        ++count;
      continue;
    }
    ArgRange range;
    GetArgRange(state, slot, &range);
    while (const CellRecord* cell = NextArgCell(range))
      if (CellReadsAsNumber(state, range, cell))
        ++count;
    ReleaseArgRange(state, range);
  }
  SetNumberResult(state, count, kErrorNone);
}

void FnCountA(EvalState& state) {
  if (!RequireArgs(state, 1))
    return;
  const uint16_t first = FirstArg(state);
  double count = 0;
  for (uint16_t slot = static_cast<uint16_t>(state.operandTop - 1); slot >= first; --slot) {
    if (!IsRangeOrArray(state.operands[slot])) {
      if (IsOmittedArg(state.operands[slot]))
        continue;
      // A reference to a cell that does not exist resolves to an empty value.
      state.ResolveOperand(slot);
      if (!IsOmittedArg(state.operands[slot]))
        ++count;
      state.DisownSlot(slot);
      continue;
    }
    ArgRange range;
    GetArgRange(state, slot, &range);
    while (NextArgCell(range)) ++count;
    ReleaseArgRange(state, range);
  }
  SetNumberResult(state, count, kErrorNone);
}

void FnCountBlank(EvalState& state) {
  if (!RequireArgs(state, 1))
    return;
  // Every cell of every argument is read, whatever the values.
  PendingGather::WalkScope walk(state.pendingGather);
  const uint16_t first = FirstArg(state);
  double count = 0;
  uint32_t error = kErrorNone;
  for (uint16_t slot = static_cast<uint16_t>(state.operandTop - 1); slot >= first; --slot) {
    if (!IsRangeOrArray(state.operands[slot])) {
      if (IsOmittedArg(state.operands[slot])) {
        ++count;
        continue;
      }
      state.ResolveOperand(slot);
      const EvalValue& value = state.operands[slot];
      if (value.kind == kEvalEmpty || value.kind == kEvalText)
        error = LargerErrorOf(error, value.error);
      if (IsOmittedArg(value) || (value.kind == kEvalText && state.SlotTextLength(slot) == 0))
        ++count;
      state.DisownSlot(slot);
      continue;
    }
    ArgRange range;
    error = LargerErrorOf(error, GetArgRange(state, slot, &range));
    // Absent cells are blank: count the area, then take off what is filled.
    count += double(range.lastColumn - range.firstColumn + 1) * double(range.lastRow - range.firstRow + 1);
    while (const CellRecord* cell = NextArgCell(range)) {
      if (!MayReadAsEmptyText(cell)) {
        NotePendingCell(state, range, cell);
        --count;
        continue;
      }
      CellValueToSlot(state, slot, range, cell);
      if (!IsEmptyText(state, slot))
        --count;
    }
    ReleaseArgRange(state, range);
  }
  SetNumberResult(state, count, error);
}
