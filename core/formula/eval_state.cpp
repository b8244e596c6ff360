#include "core/formula/eval_state.h"

#include <cstdio>

#include "core/formula/builtin_function_table.h"

EvalState::EvalState(CWorkBook* ownerBook, CellStore* ownSheet) : EvalState(ownerBook, ownSheet, ForOneCall{}) {
  for (EvalValue& slot : operands) slot.Clear();
  for (EvalValue& slot : operators) slot.Clear();
}

EvalState::EvalState(CWorkBook* ownerBook, CellStore* ownSheet, ForOneCall) { StartOneCall(ownerBook, ownSheet); }

void EvalState::StartOneCall(CWorkBook* ownerBook, CellStore* ownSheet) {
  owner = ownerBook;
  sheet = ownSheet;
  ForgetSpillAreas();
  spillAreasChanged = 0;
  resolveSheet = nullptr;
  ownersFormulas = nullptr;
  keptCells = nullptr;
  numberShortcuts = 1;
  callShortcuts = 1;
  solverFoundCells = 1;
  solverTrialPrograms = 1;
  solverKnownOperations = 1;
  operandTop = 0;
  operatorTop = 0;
  pending.Clear();
  arrayElementsLeft = kArrayElementBudget;
  // Whatever the store holds is emptied at the first formula.
  arraysEmptiedAt = ~uint64_t(0);
  status = 0;
  column = 0;
  row = 0;
  SortBuiltinFunctionTable();
}

void EvalState::EndOneCall() {
  ResetForFormula(0, 0);
  arrays.FreePool();
  ownersFormulas = nullptr;
  keptCells = nullptr;
  // Kept tokens name functions by their place in the table, which a later
  // call may find changed.
  if (scannedFormulas.EntryCount() > 0) scannedFormulas.Drop();
}

EvalState::~EvalState() { FreeTempStore(); }

void EvalState::EmptyArrayStore() {
  arrays.ReleaseSavedChains();
  arrays.Clear(false);
  arraysEmptiedAt = arrays.ChainChanges();
}

void EvalState::FreeTempStore() {
  arrays.ReleaseSavedChains();
  arrays.Clear(true);
  arrays.FreePool();
  arrays.ClearPageIndex(true);
}

void EvalState::ReleaseValues(uint16_t index, uint16_t count) {
  for (; count > 0 && index > 0 && index < kStackSlots; --count, --index) {
    EvalValue& value = operands[index];
    if (value.kind == kEvalText) {
      strings.Pop();
    } else if (value.kind == kEvalArray) {
      arrays.ReleaseChain(arrays.PopChain());
    }
    value.Clear();
  }
}

namespace {

// The array stack offers only push and pop; a chain below the top is reached
// by lifting the chains above it and putting them back in their order.
CellBlock* TakeChainFromTop(EvalArrayStore& arrays, uint32_t depth) {
  CellBlock* above[kMaxSavedChains];
  uint32_t lifted = 0;
  while (lifted < depth && arrays.SavedCount() > 0) above[lifted++] = arrays.PopChain();
  CellBlock* chain = arrays.PopChain();
  while (lifted > 0) arrays.PushChain(above[--lifted]);
  return chain;
}

void MoveTopChainDown(EvalArrayStore& arrays, uint32_t depth) {
  if (depth == 0 || arrays.SavedCount() < 2) return;
  CellBlock* top = arrays.PopChain();
  CellBlock* above[kMaxSavedChains];
  uint32_t lifted = 0;
  while (lifted < depth && arrays.SavedCount() > 0) above[lifted++] = arrays.PopChain();
  arrays.PushChain(top);
  while (lifted > 0) arrays.PushChain(above[--lifted]);
}

}  // namespace

uint16_t EvalState::OwnersAbove(uint16_t slot, uint32_t kind) const {
  uint16_t owners = 0;
  for (uint32_t i = slot + 1u; i <= operandTop && i < kStackSlots; ++i)
    if (operands[i].kind == kind) ++owners;
  return owners;
}

void EvalState::KeepInStep(uint16_t slot) {
  if (slot >= kStackSlots) return;
  const uint32_t kind = operands[slot].kind;
  if (kind == kEvalText)
    strings.MoveTopDown(OwnersAbove(slot, kEvalText));
  else if (kind == kEvalArray)
    MoveTopChainDown(arrays, OwnersAbove(slot, kEvalArray));
}

const char* EvalState::SlotText(uint16_t slot) const {
  if (slot >= kStackSlots || operands[slot].kind != kEvalText) return "";
  return strings.FromTop(OwnersAbove(slot, kEvalText));
}

size_t EvalState::SlotTextLength(uint16_t slot) const {
  if (slot >= kStackSlots || operands[slot].kind != kEvalText) return 0;
  return strings.LengthFromTop(OwnersAbove(slot, kEvalText));
}

CellBlock* EvalState::TakeSlotArray(uint16_t slot) {
  if (slot >= kStackSlots || operands[slot].kind != kEvalArray) return nullptr;
  CellBlock* chain = TakeChainFromTop(arrays, OwnersAbove(slot, kEvalArray));
  operands[slot].kind = kEvalEmpty;
  return chain;
}

void EvalState::ReleaseSlotOwnings(uint16_t slot) {
  if (operands[slot].kind == kEvalText) {
    strings.RemoveFromTop(OwnersAbove(slot, kEvalText));
  } else {
    arrays.ReleaseChain(TakeChainFromTop(arrays, OwnersAbove(slot, kEvalArray)));
  }
}

bool EvalState::CheckStackOwnership(char* message, size_t capacity) const {
  auto fail = [&](const char* what, unsigned a, unsigned b) {
    if (message && capacity) std::snprintf(message, capacity, "%s (%u, %u)", what, a, b);
    return false;
  };
  if (operandTop >= kStackSlots || operatorTop >= kStackSlots)
    return fail("stack top beyond the stack", operandTop, operatorTop);
  unsigned texts = 0;
  unsigned arrayValues = 0;
  for (uint16_t i = 1; i <= operandTop; ++i) {
    if (operands[i].kind == kEvalText) ++texts;
    if (operands[i].kind == kEvalArray) ++arrayValues;
  }
  if (texts != strings.Count()) return fail("pool strings do not match the text operands", strings.Count(), texts);
  if (arrayValues != arrays.SavedCount())
    return fail("array chains do not match the array operands", arrays.SavedCount(), arrayValues);
  if (arrays.FirstBlock() != nullptr) return fail("an array is left half built", arrays.BlockCount(), 0);
  return arrays.CheckChain(message, capacity);
}

EvalValue& EvalState::ClearArguments() {
  const uint16_t first = operands[operandTop].firstArgument;
  // The arguments may own pool strings and arrays; dropping them unread
  // would leave the pool and the array stack out of step with the stack.
  // Arguments of other kinds own nothing and are left as they are: a slot
  // above the top is always written whole before it is read.
  // With no string pooled and no chain saved no argument owns anything.
  if (operandTop > first && (strings.Count() != 0 || arrays.SavedCount() != 0)) {
    const uint16_t last = static_cast<uint16_t>(operandTop - 1);
    const uint16_t count = static_cast<uint16_t>(operandTop - first);
    for (uint16_t slot = last; slot >= first && slot > 0 && slot < kStackSlots; --slot)
      if (operands[slot].kind == kEvalText || operands[slot].kind == kEvalArray) {
        ReleaseValues(last, count);
        break;
      }
  }
  operandTop = first;
  EvalValue& result = operands[first];
  result.Clear();
  return result;
}
