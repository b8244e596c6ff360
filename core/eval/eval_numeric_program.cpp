// Kept formulas of numbers and single cells (a root search's target, most
// formulas typed by hand) computed on plain doubles, without the operand
// stack's slots. The attempt touches nothing but the kept cell lookups until
// it succeeds: whatever the operand slots would do more than read a finite
// number (a text to convert, an error to carry, a cell to note as pending, a
// number the result check refuses) gives up, and the formula is evaluated
// again from its start the general way.

#include <cmath>

#include "core/base/result_check.h"
#include "core/formula/eval_state.h"

bool EvalState::EvaluateNumbers(const ScannedFormula& scanned) {
  // The program was checked to hold numbers and cells and never to take
  // more operands than it pushed, nor to push more than the stack holds.
  if (!sheet) return false;
  double stack[kStackSlots];
  uint32_t top = 0;
  const ProgramStep* const end = scanned.steps + scanned.stepCount;
  for (const ProgramStep* step = scanned.steps; step != end; ++step) {
    if (step->action == kStepTakeOperand) {
      const ScannedToken& token = scanned.tokens[step->token];
      if (token.kind == kEvalNumber) {
        stack[top] = token.number;
      } else {
        const R1C1Corner& written = token.corner;
        const RefCorner corner = token.resolved ? RefCorner{static_cast<uint32_t>(written.column),
                                                            static_cast<uint32_t>(written.row), written.flags}
                                                : ResolveR1C1Corner(written, column, row);
        if (!ReadPlainCell(*sheet, corner, &stack[top])) return false;
      }
      ++top;
      continue;
    }
    // The same operations as ApplyUnary and ApplyArithmetic, each result
    // checked as they check it: where they would give an error, the general
    // path gives it.
    double result;
    const double a = stack[top - 1];
    switch (step->value) {
      case kOpUnaryMinus:
        result = 0.0 - a;
        break;
      case kOpPercent:
        result = a / 100.0;
        break;
      default: {
        const double left = stack[top - 2];
        --top;
        switch (step->value) {
          case kOpPlus:
            result = left + a;
            break;
          case kOpMinus:
            result = left - a;
            break;
          case kOpMultiply:
            result = left * a;
            break;
          case kOpDivide:
            // By zero: an infinity or a NaN, which the check below refuses.
            result = left / a;
            break;
          default:
            result = std::pow(left, a);
            break;
        }
      }
    }
    if (IsBadNumber(result)) return false;
    stack[top - 1] = result;
  }
  // A number alone is checked only here, as at the end of an evaluation.
  if (top != 1 || IsBadNumber(stack[0])) return false;
  EvalValue& result = operands[1];
  result.Clear();
  result.kind = kEvalNumber;
  result.number = stack[0];
  operandTop = 1;
  return true;
}
