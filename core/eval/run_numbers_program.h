#ifndef TALVERO_CORE_RUN_NUMBERS_PROGRAM_H
#define TALVERO_CORE_RUN_NUMBERS_PROGRAM_H

// The steps of a numbers-only program run on plain doubles, each operand
// read by the caller's reader: the evaluator reads cells through its kept
// lookups, a root search from cells it found once for the whole search.
// Both must compute the same bits, so both run this one loop; a root
// search's target compiled for its trials applies the same operators.

#include <cmath>

#include "core/base/result_check.h"
#include "core/formula/eval_state.h"

// A binary operator of a numbers-only program, unchecked. The unary ones
// are 0.0 - x and x / 100.0.
inline double ApplyNumberOperator(uint32_t op, double left, double right) {
  switch (op) {
    case kOpPlus:
      return left + right;
    case kOpMinus:
      return left - right;
    case kOpMultiply:
      return left * right;
    case kOpDivide:
      return left / right;
    default:
      return std::pow(left, right);
  }
}

// False, with nothing written, when the reader refuses an operand or a
// result is one the general evaluation would turn into an error.
template <class ReadOperand>
inline bool RunNumbersProgram(const ScannedFormula& scanned, ReadOperand&& read, double* out) {
  // The program was checked to hold numbers and cells and never to take
  // more operands than it pushed, nor to push more than the stack holds.
  double stack[EvalState::kStackSlots];
  double* top = stack;  // past the last operand
  const ProgramStep* const end = scanned.steps + scanned.stepCount;
  for (const ProgramStep* step = scanned.steps; step != end; ++step) {
    if (step->action == kStepTakeOperand) {
      if (!read(scanned.tokens[step->token], top)) return false;
      ++top;
      continue;
    }
    // The same operations as ApplyUnary and ApplyArithmetic, each result
    // checked as they check it: where they would give an error (a division
    // by zero gives an infinity or a NaN), the general path gives it.
    double result;
    switch (step->value) {
      case kOpUnaryMinus:
        result = 0.0 - top[-1];
        break;
      case kOpPercent:
        result = top[-1] / 100.0;
        break;
      default:
        result = ApplyNumberOperator(step->value, top[-2], top[-1]);
        --top;
        break;
    }
    if (IsBadNumber(result)) return false;
    top[-1] = result;
  }
  // A number alone is checked only here, as at the end of an evaluation.
  if (top != stack + 1 || IsBadNumber(stack[0])) return false;
  *out = stack[0];
  return true;
}

#endif
