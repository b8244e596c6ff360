#include "core/eval_state.h"

#include "core/builtin_function_table.h"

namespace {

// Higher binds tighter; every operator is left-associative.
constexpr uint8_t kPrecedence[kOperatorCount] = {
    1, 1, 1, 1, 1, 1,  // = < <= > >= <>
    2, 2, 2,           // + - &
    3, 3,              // * /
    4,                 // ^
    5, 5,              // unary minus, %
    6, 6,              // _ (intersection), ! (sheet)
    7,                 // : (range)
};

}  // namespace

EvalState::EvalState(CWorkBook* ownerBook, CellStore* ownSheet)
    : owner(ownerBook), sheet(ownSheet), resolveSheet(nullptr) {
  for (EvalValue& slot : operands) slot.Clear();
  for (EvalValue& slot : operators) slot.Clear();
  operandTop = 0;
  operatorTop = 0;
  pending.Clear();
  status = 0;
  for (uint32_t i = 0; i < kOperatorCount; ++i) precedence[i] = kPrecedence[i];
  column = 0;
  row = 0;
  SortBuiltinFunctionTable();
}

EvalState::~EvalState() { FreeTempStore(); }

void EvalState::ResetForFormula(uint32_t ownColumn, uint32_t ownRow) {
  column = static_cast<uint16_t>(ownColumn);
  row = ownRow;
  operandTop = 0;
  operatorTop = 0;
  status = 0;
  strings.Reset();
  arrays.ReleaseSavedChains();
  arrays.Clear(false);
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
