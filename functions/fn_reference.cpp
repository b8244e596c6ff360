#include <cstring>

#include "core/base/bounded_text.h"
#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/formula/formula_ref_text.h"
#include "core/formula/range_ref_parser.h"
#include "functions/aggregate_cells.h"
#include "functions/element_call.h"
#include "functions/fn_lookup.h"
#include "functions/given_int_arg.h"

namespace {

uint8_t Larger(uint32_t a, uint32_t b) { return static_cast<uint8_t>(a > b ? a : b); }

bool IsReference(const EvalValue& value) { return value.kind == kEvalCellRef || value.kind == kEvalRange; }

// A reference result on sheet: one cell when the corners meet, else a range.
void SetReferenceResult(EvalState& state, CellStore* sheet, RefCorner first, RefCorner second) {
  EvalValue& result = state.ClearArguments();
  const bool oneCell = IsFullCell(first) && IsFullCell(second) && first.column == second.column &&
                       first.row == second.row;
  result.kind = oneCell ? kEvalCellRef : kEvalRange;
  result.cell = first;
  result.first = first;
  result.second = second;
  result.sheet = sheet;
}

// The number of columns (or rows) of a range or array argument.
void MeasureExtent(EvalState& state, bool columns) {
  if (!RequireExactArgs(state, 1)) return;
  const uint16_t slot = FirstArg(state);
  const EvalValue& value = state.operands[slot];
  uint8_t error = static_cast<uint8_t>(value.error);
  double extent = 0;
  if (IsRangeOrArray(value))
    extent = columns ? value.second.column - value.first.column + 1.0 : value.second.row - value.first.row + 1.0;
  else
    error = KindError(error);
  state.DisownSlot(slot);
  SetNumberResult(state, extent, error);
}

}  // namespace

void FnColumns(EvalState& state) { MeasureExtent(state, true); }

void FnRows(EvalState& state) { MeasureExtent(state, false); }

void FnAreas(EvalState& state) {
  if (!RequireArgs(state, 1)) return;
  const uint16_t first = FirstArg(state);
  double count = 0;
  uint8_t error = kErrorNone;
  for (uint16_t slot = static_cast<uint16_t>(state.operandTop - 1); slot >= first; --slot) {
    const EvalValue& value = state.operands[slot];
    if (IsReference(value)) ++count;
    error = Larger(error, value.error);
    state.DisownSlot(slot);
  }
  SetNumberResult(state, count, error);
}

// The text of a one-cell reference: type 1 absolute, 2 absolute row, 3
// absolute column, 4 relative (to the formula's own cell); mode 1 R1C1,
// mode 0 the addressing style of the display form.
void FnAddress(EvalState& state) {
  if (!BeginElementCall(state, 5)) return;
  const uint16_t first = FirstArg(state);
  char sheetText[kArgTextCapacity] = "";
  int32_t mode = 1;
  int32_t type = 1;
  int32_t column = 1;
  int32_t row = 1;
  const bool hasColumn = !IsOmittedArg(state.operands[first + 1]);
  const bool hasRow = !IsOmittedArg(state.operands[first]);
  uint8_t error = GetArgText(state, first + 4, sheetText);
  error = Larger(error, GetArgInt(state, first + 3, &mode, 0, 1));
  error = Larger(error, GetArgInt(state, first + 2, &type, 1, 4));
  error = Larger(error, GetArgInt(state, first + 1, &column, 1, kColumnCount));
  error = Larger(error, GetArgInt(state, first, &row, 1, kRowCount));
  if (error == kErrorNone && !hasRow && !hasColumn) error = kErrorValue;
  char buffer[kQualifiedRefCapacity + 1];
  BoundedText text(buffer, sizeof buffer);
  if (error == kErrorNone) {
    EvalValue reference;
    reference.Clear();
    RefCorner& corner = reference.first;
    corner.column = static_cast<uint32_t>(column - 1);
    corner.row = static_cast<uint32_t>(row - 1);
    if (hasRow) corner.flags |= kRefHasRow;
    if (hasColumn) corner.flags |= kRefHasColumn;
    if (type == 3 || type == 4) {
      corner.flags |= kRefRowRelative;
      if (corner.row < state.row) corner.flags |= kRefRowNegative;
    }
    if (type == 2 || type == 4) {
      corner.flags |= kRefColumnRelative;
      if (corner.column < state.column) corner.flags |= kRefColumnNegative;
    }
    reference.second = corner;
    reference.cell = corner;
    if (!FormatFormulaRef(state, nullptr, sheetText, reference, text, mode == 1, false)) error = kErrorValue;
  }
  SetTextOrError(state, text.Text(), text.Length(), error);
}

// A reference text on the formula's worksheet, A1 (a1 = 1, the default) or
// R1C1 with an optional worksheet qualifier; blanks around it are allowed,
// anything else after it is "#REF!".
void FnIndirect(EvalState& state) {
  if (!BeginElementCall(state, 2)) return;
  state.pendingGather.NoteCellsChosenByValue();
  const uint16_t first = FirstArg(state);
  char text[kArgTextCapacity] = "";
  int32_t a1 = 1;
  uint8_t error = GetArgInt(state, first + 1, &a1, 0, 1);
  error = Larger(error, GetArgText(state, first, text));
  EvalValue range;
  range.Clear();
  if (error == kErrorNone) {
    size_t length = std::strlen(text);
    while (length > 0 && text[length - 1] == ' ') text[--length] = '\0';
    const char* start = text;
    while (*start == ' ') ++start;
    const char* end = nullptr;
    const bool parsed = a1 == 1 ? ParseRangeRef(start, &range, &end) : ParseQualifiedRangeRef(state, start, &range, &end);
    if (!parsed || *end != '\0') error = kErrorRef;
    if (a1 == 1) range.sheet = state.sheet;
  }
  if (error != kErrorNone) {
    SetErrorResult(state, error);
    return;
  }
  SetReferenceResult(state, range.sheet, range.first, range.second);
}

// The reference shifted by the offsets, with its own size unless a height
// or width is given; both corners must stay on the grid.
void FnOffset(EvalState& state) {
  if (!RequireExactArgs(state, 5)) return;
  state.pendingGather.NoteCellsChosenByValue();
  const uint16_t first = FirstArg(state);
  const EvalValue& reference = state.operands[first];
  const bool isReference = IsReference(reference);
  const RefCorner from = reference.kind == kEvalCellRef ? reference.cell : reference.first;
  const RefCorner to = reference.kind == kEvalCellRef ? reference.cell : reference.second;
  CellStore* sheet = reference.sheet;
  int32_t rows = 0;
  int32_t columns = 0;
  int32_t height = isReference ? static_cast<int32_t>(to.row - from.row + 1) : 1;
  int32_t width = isReference ? static_cast<int32_t>(to.column - from.column + 1) : 1;
  uint8_t error = GetGivenIntArg(state, first + 4, &width, 1, kColumnCount);
  error = Larger(error, GetGivenIntArg(state, first + 3, &height, 1, kRowCount));
  error = Larger(error, GetGivenIntArg(state, first + 2, &columns, 0, kColumnCount - 1));
  error = Larger(error, GetGivenIntArg(state, first + 1, &rows, 0, kRowCount - 1));
  error = Larger(error, reference.error);
  if (!isReference && reference.error == kErrorNone) error = Larger(error, kErrorValue);
  state.DisownSlot(first);
  RefCorner top{0, 0, kRefCell};
  RefCorner bottom{0, 0, kRefCell};
  if (error == kErrorNone) {
    const uint64_t firstColumn = uint64_t(from.column) + uint32_t(columns);
    const uint64_t firstRow = uint64_t(from.row) + uint32_t(rows);
    const uint64_t lastColumn = firstColumn + uint32_t(width) - 1;
    const uint64_t lastRow = firstRow + uint32_t(height) - 1;
    if (lastColumn >= kColumnCount || lastRow >= kRowCount) {
      error = kErrorRef;
    } else {
      top = RefCorner{static_cast<uint32_t>(firstColumn), static_cast<uint32_t>(firstRow), kRefCell};
      bottom = RefCorner{static_cast<uint32_t>(lastColumn), static_cast<uint32_t>(lastRow), kRefCell};
    }
  }
  if (error != kErrorNone) {
    SetErrorResult(state, error);
    return;
  }
  SetReferenceResult(state, sheet, top, bottom);
}
