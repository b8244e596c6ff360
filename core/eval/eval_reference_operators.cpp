// The reference operators: ":" joins two corners into a range and "_"
// intersects two ranges. Neither is element-wise.

#include "core/base/error_code.h"
#include "core/formula/eval_state.h"

namespace {

uint32_t LargerError(uint32_t a, uint32_t b) { return a > b ? a : b; }

bool IsReference(uint32_t kind) { return kind == kEvalCellRef || kind == kEvalRange; }

}  // namespace

void EvalState::ApplyRange(uint16_t left, uint16_t right) {
  // Two cell corners, as every "A1:B2" in a formula is: read in place
  // rather than through copies of both whole slots. They own nothing.
  {
    const EvalValue& l = operands[left];
    const EvalValue& r = operands[right];
    if (l.kind == kEvalCellRef && r.kind == kEvalCellRef && l.error == kErrorNone && r.error == kErrorNone) {
      SetCornerRange(operands[left], l.cell, r.cell, l.sheet);
      return;
    }
  }
  const EvalValue l = operands[left];
  const EvalValue r = operands[right];
  const uint32_t error = LargerError(l.error, r.error);
  if (!IsReference(l.kind) || !IsReference(r.kind)) {
    FailBinary(left, right, error != kErrorNone ? error : uint32_t(kErrorValue));
    return;
  }
  // References own nothing on the pool or the array stack.
  if (error != kErrorNone) {
    FailBinary(left, right, LargerError(error, kErrorRef));
    return;
  }
  if (l.kind == kEvalRange && r.kind == kEvalRange && IsWholeRow(l.first) && IsWholeRow(r.first)) {
    RefCorner first = l.first;
    RefCorner second = r.second;
    first.row = l.first.row < r.first.row ? l.first.row : r.first.row;
    second.row = l.second.row > r.second.row ? l.second.row : r.second.row;
    first.column = 0;
    second.column = kMaxColumn;
    operands[left].SetRange(first, second, l.sheet);
    return;
  }
  if (l.kind == kEvalRange && r.kind == kEvalRange && IsWholeColumn(l.first) && IsWholeColumn(r.first)) {
    RefCorner first = l.first;
    RefCorner second = r.second;
    first.column = l.first.column < r.first.column ? l.first.column : r.first.column;
    second.column = l.second.column > r.second.column ? l.second.column : r.second.column;
    first.row = 0;
    second.row = kMaxRow;
    operands[left].SetRange(first, second, l.sheet);
    return;
  }
  FailBinary(left, right, kErrorRef);
}

void EvalState::ApplyIntersection(uint16_t left, uint16_t right) {
  const EvalValue l = operands[left];
  const EvalValue r = operands[right];
  if (l.kind != kEvalRange || r.kind != kEvalRange) {
    // Only the operator goes: inside an argument list the operands count
    // as two arguments, at the top level the formula is malformed.
    operandTop = right;
    return;
  }
  operandTop = left;  // ranges own nothing on the pool or the array stack
  const uint32_t error = LargerError(l.error, r.error);
  if (error != kErrorNone) {
    FailBinary(left, right, error);
    return;
  }
  const uint32_t firstColumn = l.first.column > r.first.column ? l.first.column : r.first.column;
  const uint32_t firstRow = l.first.row > r.first.row ? l.first.row : r.first.row;
  const uint32_t lastColumn = l.second.column < r.second.column ? l.second.column : r.second.column;
  const uint32_t lastRow = l.second.row < r.second.row ? l.second.row : r.second.row;
  if (l.sheet != r.sheet || firstColumn > lastColumn || firstRow > lastRow) {
    FailBinary(left, right, kErrorNull);
    return;
  }
  const RefCorner first{firstColumn, firstRow, kRefCell};
  const RefCorner second{lastColumn, lastRow, kRefCell};
  operands[left].SetRange(first, second, l.sheet);
  if (firstColumn == lastColumn && firstRow == lastRow) operands[left].kind = kEvalCellRef;
}
