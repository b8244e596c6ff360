#include <cmath>
#include <cstring>

#include "core/formula/builtin_function_table.h"
#include "core/numfmt/double_to_text.h"
#include "core/base/error_code.h"
#include "core/eval/read_plain_cell.h"
#include "core/formula/eval_state.h"
#include "core/base/result_check.h"
#include "core/base/text_compare.h"

namespace {

uint32_t LargerError(uint32_t a, uint32_t b) { return a > b ? a : b; }

bool IsRangeOrArray(uint32_t kind) { return kind == kEvalRange || kind == kEvalArray; }
bool IsNumeric(uint32_t kind) { return kind == kEvalNumber || kind == kEvalEmpty; }

// A number result: an error stops the computation, a number the result
// check refuses becomes "#NUM!".
void SetNumberResult(EvalValue& value, double number, uint32_t error) {
  value.Clear();
  value.kind = kEvalNumber;
  if (error == kErrorNone && IsBadNumber(number)) error = kErrorNum;
  value.error = error;
  value.number = error == kErrorNone ? number : 0.0;
}

// A binary arithmetic operator's result; an error already given stops the
// division and the power, and any other operator is "#VALUE!".
double ArithmeticResult(uint32_t op, double a, double b, uint32_t* error) {
  switch (op) {
    case kOpPlus:
      return a + b;
    case kOpMinus:
      return a - b;
    case kOpMultiply:
      return a * b;
    case kOpDivide:
      if (*error == kErrorNone && b == 0.0) *error = kErrorDivZero;
      return *error == kErrorNone ? a / b : 0.0;
    case kOpPower:
      return *error == kErrorNone ? std::pow(a, b) : 0.0;
    default:
      *error = LargerError(*error, kErrorValue);
      return 0.0;
  }
}

}  // namespace

void EvalState::ApplyOperator() {
  if (operandTop == 0 || operandTop >= kStackSlots) {
    status = kEvalStatusSyntax;
    return;
  }
  const uint32_t op = operands[operandTop].kind;
  if (op == kEvalFunctionCall) {
    ApplyCall();
  } else if (op == kOpUnaryMinus || op == kOpPercent) {
    if (operandTop < 2)
      status = kEvalStatusSyntax;
    else
      ApplyUnary(op);
  } else if (IsOperatorKind(op)) {
    if (operandTop < 3)
      status = kEvalStatusSyntax;
    else
      ApplyBinary(op);
  } else {
    status = kEvalStatusSyntax;
  }
}

void EvalState::ApplyCall() {
  const EvalValue& call = operands[operandTop];
  const uint16_t first = call.firstArgument;
  if (first == 0 || first > operandTop || call.functionIndex >= BuiltinFunctionCount()) {
    status = kEvalStatusSyntax;
    return;
  }
  FunctionHandler handler = BuiltinFunctionTable[call.functionIndex].handler;
  if (!handler) handler = FnNotImplemented;
  handler(*this);
  KeepCallResultOnTop(first);
}

void EvalState::ReleaseAboveCallResult(uint16_t first) {
  // A handler leaves its result in the first argument's slot; whatever it
  // left above is released so that the stacks stay in step.
  if (operandTop < first) {
    status = kEvalStatusSyntax;
  } else {
    ReleaseValues(operandTop, static_cast<uint16_t>(operandTop - first));
    operandTop = first;
  }
}

void EvalState::ApplyUnary(uint32_t op) {
  const uint16_t slot = static_cast<uint16_t>(operandTop - 1);
  EvalValue& value = operands[slot];
  if (IsRangeOrArray(value.kind)) {
    const uint8_t flags[1] = {1};
    // An operator reads every element whatever the values, and no cell else.
    PendingGather::WalkScope walk(pendingGather);
    BroadcastArrays(flags, slot);
    return;
  }
  ResolveOperand(slot);
  TextToNumber(slot);
  uint32_t error = value.error;
  if (error == kErrorNone && !IsNumeric(value.kind)) error = kErrorValue;
  const double x = value.number;
  DisownSlot(slot);
  // 0 - x rather than -x: an empty or zero operand must not give "-0".
  SetNumberResult(value, op == kOpUnaryMinus ? 0.0 - x : x / 100.0, error);
  operandTop = slot;
}

void EvalState::ApplyBinary(uint32_t op) {
  const uint16_t left = static_cast<uint16_t>(operandTop - 2);
  const uint16_t right = static_cast<uint16_t>(operandTop - 1);
  if (op <= kOpPower && (IsRangeOrArray(operands[left].kind) || IsRangeOrArray(operands[right].kind))) {
    const uint8_t flags[2] = {IsRangeOrArray(operands[left].kind) ? uint8_t(1) : uint8_t(0),
                              IsRangeOrArray(operands[right].kind) ? uint8_t(1) : uint8_t(0)};
    PendingGather::WalkScope walk(pendingGather);
    BroadcastArrays(flags, left);
    return;
  }
  switch (op) {
    case kOpEqual:
    case kOpLess:
    case kOpLessEqual:
    case kOpGreater:
    case kOpGreaterEqual:
    case kOpNotEqual:
      ApplyComparison(op, left, right);
      break;
    case kOpConcat:
      ApplyConcatenation(left, right);
      break;
    case kOpIntersect:
      ApplyIntersection(left, right);
      return;  // sets the top itself
    case kOpSheet:
      ApplySheetQualifier(left, right);
      break;
    case kOpRange:
      ApplyRange(left, right);
      break;
    default:
      ApplyArithmetic(op, left, right);
      break;
  }
  operandTop = left;
}

void EvalState::FailBinary(uint16_t left, uint16_t right, uint32_t error) {
  DisownSlot(right);
  DisownSlot(left);
  operands[left].Clear();
  operands[left].kind = kEvalEmpty;
  operands[left].error = error;
}

bool EvalState::ReadPlainOperand(uint16_t slot, double* number) {
  const EvalValue& value = operands[slot];
  if (value.error != kErrorNone) return false;
  if (IsNumeric(value.kind)) {
    *number = value.number;
    return true;
  }
  return value.kind == kEvalCellRef && value.sheet && IsFullCell(value.cell) &&
         ReadPlainCell(*value.sheet, value.cell, number);
}

void EvalState::ApplyArithmetic(uint32_t op, uint16_t left, uint16_t right) {
  double a;
  double b;
  uint32_t error = kErrorNone;
  // Two plain numbers, the common case, need none of the conversions below
  // and own nothing to release.
  if (numberShortcuts && ReadPlainOperand(left, &a) && ReadPlainOperand(right, &b)) {
    const double result = ArithmeticResult(op, a, b, &error);
    SetNumberResult(operands[left], result, error);
    return;
  }
  ResolveOperand(left);
  ResolveOperand(right);
  TextToNumber(right);
  TextToNumber(left);
  const EvalValue& l = operands[left];
  const EvalValue& r = operands[right];
  error = LargerError(l.error, r.error);
  if (error == kErrorNone && (!IsNumeric(l.kind) || !IsNumeric(r.kind))) error = kErrorValue;
  a = l.number;
  b = r.number;
  DisownSlot(right);
  DisownSlot(left);
  const double result = ArithmeticResult(op, a, b, &error);
  SetNumberResult(operands[left], result, error);
}

void EvalState::ApplyComparison(uint32_t op, uint16_t left, uint16_t right) {
  ResolveOperand(left);
  ResolveOperand(right);
  const EvalValue& l = operands[left];
  const EvalValue& r = operands[right];
  uint32_t error = LargerError(l.error, r.error);
  int order = 0;
  if (error == kErrorNone) {
    // Empty values are 0 against numbers and the empty text against texts.
    if (IsNumeric(l.kind) && IsNumeric(r.kind)) {
      order = l.number < r.number ? -1 : (l.number > r.number ? 1 : 0);
    } else if ((l.kind == kEvalText || l.kind == kEvalEmpty) && (r.kind == kEvalText || r.kind == kEvalEmpty)) {
      order = CompareTextIgnoringCase(SlotText(left), SlotTextLength(left), SlotText(right),
                                      SlotTextLength(right));
    } else {
      error = kErrorValue;
    }
  }
  bool truth = false;
  switch (op) {
    case kOpEqual:
      truth = order == 0;
      break;
    case kOpLess:
      truth = order < 0;
      break;
    case kOpLessEqual:
      truth = order <= 0;
      break;
    case kOpGreater:
      truth = order > 0;
      break;
    case kOpGreaterEqual:
      truth = order >= 0;
      break;
    default:
      truth = order != 0;
      break;
  }
  DisownSlot(right);
  DisownSlot(left);
  SetNumberResult(operands[left], truth ? 1.0 : 0.0, error);
}

void EvalState::ApplyConcatenation(uint16_t left, uint16_t right) {
  ResolveOperand(left);
  ResolveOperand(right);
  const uint16_t sides[2] = {left, right};
  uint32_t error = LargerError(operands[left].error, operands[right].error);
  char joined[kJoinedTextCapacity + 1];
  size_t length = 0;
  for (uint16_t slot : sides) {
    if (error != kErrorNone) break;
    const EvalValue& value = operands[slot];
    char number[kDoubleTextCapacity];
    const char* text = "";
    size_t textLength = 0;
    if (value.kind == kEvalText) {
      text = SlotText(slot);
      textLength = SlotTextLength(slot);
    } else if (value.kind == kEvalNumber) {
      textLength = DoubleToText(value.number, number, sizeof number, nullptr);
      text = number;
    } else if (value.kind != kEvalEmpty) {
      error = kErrorValue;
      break;
    }
    if (textLength > kJoinedTextCapacity - length) {
      error = kErrorValue;
      break;
    }
    std::memcpy(joined + length, text, textLength);
    length += textLength;
  }
  DisownSlot(right);
  DisownSlot(left);
  EvalValue& result = operands[left];
  result.Clear();
  result.kind = kEvalEmpty;
  result.error = error;
  if (error != kErrorNone) return;
  if (!strings.Push(joined, length)) {
    result.error = kErrorValue;
    return;
  }
  result.kind = kEvalText;
  KeepInStep(left);
}
