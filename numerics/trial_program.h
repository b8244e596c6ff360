#ifndef TALVERO_NUMERICS_TRIAL_PROGRAM_H
#define TALVERO_NUMERICS_TRIAL_PROGRAM_H

// Compiling a numbers-only target for a search's trials, and running the
// compiled operations.

#include <cstdint>

#include "core/eval/run_numbers_program.h"
#include "numerics/formula_solvers.h"

// Compiles a target's program on the way: each operand a slot, marked
// when the search never changes its number.
class TrialCompiler {
 public:
  explicit TrialCompiler(TrialProgram& trial) : trial_(trial) {
    trial_.operationCount = 0;
    trial_.variableCount = 0;
    trial_.foldCount = 0;
    trial_.cellCount = 0;
  }

  void TakeNumber(double number) { Push(NewSlot(number), true); }

  void TakeCellNumber(double number) {
    trial_.cellSlots[trial_.cellCount++] = uint8_t(slots_);
    TakeNumber(number);
  }

  void TakeVariable(const CellRecord* cell, uint16_t column) {
    trial_.cellSlots[trial_.cellCount++] = kVariableCellSlot;
    for (uint32_t i = 0; i < trial_.variableCount; ++i)
      if (trial_.variables[i] == cell) return Push(trial_.variableSlots[i], false);
    const uint32_t i = trial_.variableCount++;
    trial_.variables[i] = cell;
    trial_.columns[i] = column;
    trial_.variableSlots[i] = NewSlot(0.0);
    Push(trial_.variableSlots[i], false);
  }

  // False when an operator on numbers that never change gives a result the
  // found cells' evaluation refuses: then it refuses at every trial.
  bool Apply(uint32_t op) {
    const bool unary = op == kOpUnaryMinus || op == kOpPercent;
    if (depth_ < (unary ? 1u : 2u)) return false;
    if (op == kOpUnaryMinus) {
      TakeNumber(0.0);
      Swap();
      op = kOpMinus;
    } else if (op == kOpPercent) {
      TakeNumber(100.0);
      op = kOpDivide;
    }
    const Entry right = stack_[--depth_];
    const Entry left = stack_[--depth_];
    if (left.constant && right.constant) {
      const double result = ApplyNumberOperator(op, trial_.slots[left.slot], trial_.slots[right.slot]);
      if (IsBadNumber(result)) return false;
      trial_.folds[trial_.foldCount++] = TrialOperation{uint8_t(op), left.slot, right.slot, uint8_t(slots_)};
      TakeNumber(result);
      return true;
    }
    const uint8_t result = NewSlot(0.0);
    trial_.operations[trial_.operationCount++] = TrialOperation{uint8_t(op), left.slot, right.slot, result};
    Push(result, false);
    return true;
  }

  // False unless the program left one number, as it was checked to.
  bool Finish() {
    if (depth_ != 1) return false;
    trial_.resultSlot = stack_[0].slot;
    return true;
  }

 private:
  struct Entry {
    uint8_t slot;
    bool constant;
  };
  uint8_t NewSlot(double number) {
    trial_.slots[slots_] = number;
    return uint8_t(slots_++);
  }
  void Push(uint8_t slot, bool constant) { stack_[depth_++] = Entry{slot, constant}; }
  void Swap() {
    const Entry top = stack_[depth_ - 1];
    stack_[depth_ - 1] = stack_[depth_ - 2];
    stack_[depth_ - 2] = top;
  }

  TrialProgram& trial_;
  // One entry per step at most, and one more for a unary operator's 0.0.
  Entry stack_[kMaxTrialSteps + 1];
  uint32_t depth_ = 0;
  uint32_t slots_ = 0;
};

// The compiled target's operators, its variables' slots filled: the same
// operations on the same numbers as the found cells' evaluation. False when
// that one would refuse somewhere.
inline bool RunTrialOperations(TrialOperations& trial, double* out) {
  double* const slots = trial.slots;
  const TrialOperation* const end = trial.operations + trial.operationCount;
  for (const TrialOperation* operation = trial.operations; operation != end; ++operation) {
    const double result = ApplyNumberOperator(operation->op, slots[operation->left], slots[operation->right]);
    if (IsBadNumber(result)) return false;
    slots[operation->result] = result;
  }
  // A number alone is checked only at the end, as at the end of an
  // evaluation. After an operation the result is the last one's, checked:
  // every other result is an operand of a later operation.
  if (trial.operationCount == 0 && IsBadNumber(slots[trial.resultSlot])) return false;
  *out = slots[trial.resultSlot];
  return true;
}

// One trial of the compiled target with its variables read from their cells.
bool RunTrialProgram(TrialProgram& trial, const EvalState& nested, double* out);

#endif
