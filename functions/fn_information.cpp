#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/element_call.h"
#include "functions/fn_logic.h"

namespace {

constexpr int32_t kSmallestInt = -2147483647 - 1;
constexpr int32_t kLargestInt = 2147483647;

// ISEVEN, ISODD and ISLOGICAL: the argument rounded to an integer (an
// omitted one is 0); its error stays on the result.
template <class Test>
void TestInteger(EvalState& state, Test test) {
  if (!BeginElementCall(state, 1)) return;
  int32_t n = 0;
  const uint8_t error = GetArgInt(state, FirstArg(state), &n, kSmallestInt, kLargestInt);
  SetNumberResult(state, test(n) ? 1 : 0, error);
}

// ISERROR, ISERR, ISNA and ERRORTYPE look at the error alone and answer
// without one.
template <class Answer>
void AnswerForError(EvalState& state, Answer answer) {
  if (!BeginElementCall(state, 1)) return;
  const uint16_t slot = FirstArg(state);
  state.ResolveOperand(slot);
  const uint32_t error = state.operands[slot].error;
  SetNumberResult(state, answer(error), kErrorNone);
}

// ISTEXT and ISNONTEXT keep the argument's error on the result.
void TestText(EvalState& state, bool wantText) {
  if (!BeginElementCall(state, 1)) return;
  const uint16_t slot = FirstArg(state);
  state.ResolveOperand(slot);
  const EvalValue& value = state.operands[slot];
  const bool isText = value.kind == kEvalText;
  SetNumberResult(state, isText == wantText ? 1 : 0, value.error);
}

}  // namespace

void FnIsEven(EvalState& state) {
  TestInteger(state, [](int32_t n) { return n % 2 == 0; });
}

void FnIsOdd(EvalState& state) {
  TestInteger(state, [](int32_t n) { return n % 2 != 0; });
}

void FnIsLogical(EvalState& state) {
  TestInteger(state, [](int32_t n) { return n == 0 || n == 1; });
}

void FnIsError(EvalState& state) {
  AnswerForError(state, [](uint32_t error) { return error != kErrorNone ? 1.0 : 0.0; });
}

void FnIsErr(EvalState& state) {
  AnswerForError(state, [](uint32_t error) { return error != kErrorNone && error != kErrorNA ? 1.0 : 0.0; });
}

void FnIsNa(EvalState& state) {
  AnswerForError(state, [](uint32_t error) { return error == kErrorNA ? 1.0 : 0.0; });
}

// The error's number: 1 "#DIV/0!" .. 12 "#SYNTAX!", 0 for none.
void FnErrorType(EvalState& state) {
  AnswerForError(state, [](uint32_t error) { return double(error >> 4); });
}

void FnIsText(EvalState& state) { TestText(state, true); }
void FnIsNonText(EvalState& state) { TestText(state, false); }

// An empty value or an empty text is blank; an error-carrying value that is
// not a text is simply not blank.
void FnIsBlank(EvalState& state) {
  if (!BeginElementCall(state, 1)) return;
  const uint16_t slot = FirstArg(state);
  state.ResolveOperand(slot);
  const EvalValue& value = state.operands[slot];
  if (value.kind == kEvalText) {
    SetNumberResult(state, state.SlotTextLength(slot) == 0 ? 1 : 0, value.error);
    return;
  }
  SetNumberResult(state, IsOmittedArg(value) ? 1 : 0, kErrorNone);
}

// An error the argument already carries is the answer itself; what the
// reader refuses (a text that spells no number, a cell holding an error)
// is simply no number.
void FnIsNumber(EvalState& state) {
  if (!BeginElementCall(state, 1)) return;
  const uint16_t slot = FirstArg(state);
  const uint32_t carried = state.operands[slot].error;
  if (carried != kErrorNone) {
    SetErrorResult(state, carried);
    return;
  }
  double x = 0;
  const uint8_t error = GetArgNumber(state, slot, &x, -kLargestNumber, kLargestNumber);
  SetNumberResult(state, error == kErrorNone ? 1 : 0, kErrorNone);
}

void FnN(EvalState& state) {
  if (!BeginElementCall(state, 1)) return;
  double x = 0;
  const uint8_t error = GetArgNumber(state, FirstArg(state), &x, -kLargestNumber, kLargestNumber);
  SetNumberResult(state, x, error);
}

// The argument as written: a reference is not resolved.
void FnIsRef(EvalState& state) {
  if (!RequireArgs(state, 1)) return;
  IgnoreArgsBeyond(state, 1);
  const EvalValue& value = state.operands[FirstArg(state)];
  const bool isReference = value.kind == kEvalCellRef || value.kind == kEvalRange;
  SetNumberResult(state, isReference ? 1 : 0, value.error);
}

// 0 empty, 1 number, 2 text, 16 error, 64 range or array; no argument is 0.
void FnType(EvalState& state) {
  double type = 0;
  if (ArgCount(state) > 0) {
    IgnoreArgsBeyond(state, 1);
    const uint16_t slot = FirstArg(state);
    if (state.operands[slot].kind == kEvalCellRef) state.ResolveOperand(slot);
    const EvalValue& value = state.operands[slot];
    if (value.error != kErrorNone)
      type = 16;
    else if (value.kind == kEvalNumber)
      type = 1;
    else if (value.kind == kEvalText)
      type = 2;
    else if (IsRangeOrArray(value))
      type = 64;
  }
  SetNumberResult(state, type, kErrorNone);
}
