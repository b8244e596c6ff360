#include "functions/fn_logic.h"

#include <cstring>

#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/cell_integer.h"
#include "functions/element_call.h"

namespace {

constexpr int32_t kLargestInt = 2147483647;

// A value's truth: 0 or more, rounded; the reader's error otherwise.
uint8_t ReadTruth(EvalState& state, uint16_t slot, int32_t* truth) {
  *truth = 0;
  return GetArgInt(state, slot, truth, 0, kLargestInt);
}

// AND and OR: every value of the arguments, ranges and arrays walked over
// their existing cells, from the last argument to the first. Omitted
// positions and empty cells count for nothing.
template <class Count>
uint32_t ForEachTruth(EvalState& state, Count count) {
  uint32_t error = kErrorNone;
  const uint16_t first = FirstArg(state);
  for (uint16_t slot = static_cast<uint16_t>(state.operandTop - 1); slot >= first; --slot) {
    if (!IsRangeOrArray(state.operands[slot])) {
      state.ResolveOperand(slot);
      if (IsOmittedArg(state.operands[slot])) continue;
      int32_t truth = 0;
      error = LargerErrorOf(error, ReadTruth(state, slot, &truth));
      if (error == kErrorNone) count(truth);
      continue;
    }
    ArgRange range;
    error = LargerErrorOf(error, GetArgRange(state, slot, &range));
    // Every cell is read, whatever the values.
    PendingGather::WalkScope walk(state.pendingGather);
    while (const CellRecord* cell = NextArgCell(range)) {
      int32_t truth = 0;
      if (ReadPlainInteger(state, range, cell, 0, kLargestInt, &truth)) {
        if (error == kErrorNone) count(truth);
        continue;
      }
      CellValueToSlot(state, slot, range, cell);
      if (IsOmittedArg(state.operands[slot])) continue;
      error = LargerErrorOf(error, ReadTruth(state, slot, &truth));
      state.DisownSlot(slot);
      if (error == kErrorNone) count(truth);
    }
    ReleaseArgRange(state, range);
  }
  return error;
}

// TRUE, FALSE and NA take no argument at all.
void SetConstant(EvalState& state, double value, uint32_t error) {
  if (!RequireExactArgs(state, 0)) return;
  SetNumberResult(state, value, error);
}

// A branch of IF taken off the pool or the array stack, so that the test
// can be read and the chosen branch put back as the result.
struct Branch {
  EvalValue value;
  char text[kArgTextCapacity];
  size_t length;
  CellBlock* chain;
};

void TakeBranch(EvalState& state, uint16_t slot, Branch* branch) {
  branch->value = state.operands[slot];
  branch->length = 0;
  branch->chain = nullptr;
  if (branch->value.kind == kEvalText) {
    branch->length = state.SlotTextLength(slot);
    std::memcpy(branch->text, state.SlotText(slot), branch->length + 1);
    state.DisownSlot(slot);
  } else if (branch->value.kind == kEvalArray) {
    branch->chain = state.TakeSlotArray(slot);
  }
}

// The chosen branch as it was written: a number, a text, an array or a
// reference.
void SetBranchResult(EvalState& state, Branch& branch) {
  if (branch.value.kind == kEvalText) {
    SetTextResult(state, branch.text, branch.length, branch.value.error);
    return;
  }
  EvalValue& result = state.ClearArguments();
  if (branch.value.kind == kEvalArray && !state.arrays.PushChain(branch.chain)) {
    state.arrays.ReleaseChain(branch.chain);
    result.kind = kEvalEmpty;
    result.error = kErrorValue;
    return;
  }
  result = branch.value;
}

}  // namespace

// 1 when every counted value is true; a call that counted nothing (only
// empty ranges) is "#N/A!".
void FnAnd(EvalState& state) {
  if (!RequireArgs(state, 1)) return;
  bool counted = false;
  bool all = true;
  const uint32_t error = ForEachTruth(state, [&](int32_t truth) {
    counted = true;
    all = all && truth > 0;
  });
  const uint32_t nothingCounted = counted ? 0u : uint32_t(kErrorNA);
  SetNumberResult(state, all ? 1 : 0, error != kErrorNone ? error : nothingCounted);
}

void FnOr(EvalState& state) {
  if (!RequireArgs(state, 1)) return;
  bool any = false;
  const uint32_t error = ForEachTruth(state, [&](int32_t truth) { any = any || truth > 0; });
  SetNumberResult(state, any ? 1 : 0, error);
}

void FnTrue(EvalState& state) { SetConstant(state, 1, kErrorNone); }
void FnFalse(EvalState& state) { SetConstant(state, 0, kErrorNone); }
void FnNa(EvalState& state) { SetConstant(state, 0, kErrorNA); }

void FnNot(EvalState& state) {
  if (!BeginElementCall(state, 1)) return;
  int32_t truth = 0;
  const uint8_t error = ReadTruth(state, FirstArg(state), &truth);
  SetNumberResult(state, truth == 0 ? 1 : 0, error);
}

// All three arguments are evaluated before the choice; an error in the
// branch not taken does not reach the result. An array test chooses
// element by element between two scalar branches.
void FnIf(EvalState& state) {
  if (!RequireArgs(state, 3)) return;
  IgnoreArgsBeyond(state, 3);
  const uint16_t test = ArgSlot(state, 0);
  const uint16_t ifTrue = ArgSlot(state, 1);
  const uint16_t ifFalse = ArgSlot(state, 2);
  if (state.operands[test].kind == kEvalArray) {
    if (state.operands[ifTrue].kind == kEvalArray || state.operands[ifFalse].kind == kEvalArray) {
      const uint32_t error = state.operands[test].error;
      SetErrorResult(state, error != kErrorNone ? error : uint32_t(kErrorValue));
      return;
    }
    // Arguments past the third stay on the stack, ignored: the table covers
    // every slot the broadcast may look at.
    uint8_t flags[EvalState::kStackSlots] = {};
    flags[0] = 1;
    state.BroadcastArrays(flags, test);
    return;
  }
  Branch branches[2];
  TakeBranch(state, ifFalse, &branches[0]);
  TakeBranch(state, ifTrue, &branches[1]);
  int32_t truth = 0;
  const uint8_t testError = ReadTruth(state, test, &truth);
  Branch& chosen = branches[truth >= 1 ? 1 : 0];
  Branch& other = branches[truth >= 1 ? 0 : 1];
  if (other.chain) state.arrays.ReleaseChain(other.chain);
  if (testError != kErrorNone) {
    if (chosen.chain) state.arrays.ReleaseChain(chosen.chain);
    SetErrorResult(state, LargerErrorOf(testError, chosen.value.error));
    return;
  }
  if (IsOmittedArg(chosen.value)) {
    SetNumberResult(state, truth >= 1 ? 1 : 0, kErrorNone);
    return;
  }
  SetBranchResult(state, chosen);
}
