// Kept formulas of numbers and single cells (a root search's target, most
// formulas typed by hand) computed on plain doubles, without the operand
// stack's slots. The attempt touches nothing but the kept cell lookups until
// it succeeds: whatever the operand slots would do more than read a finite
// number (a text to convert, an error to carry, a cell to note as pending, a
// number the result check refuses) gives up, and the formula is evaluated
// again from its start the general way.

#include <cmath>

#include "core/base/result_check.h"
#include "core/eval/read_plain_cell.h"
#include "core/formula/eval_state.h"

bool EvalState::EvaluateNumbers(const ScannedFormula& scanned) {
  if (!sheet) return false;
  CellStore& store = *sheet;
  KeptCellLookups* const kept = keptCells;
  // The program was checked to hold numbers and cells and never to take
  // more operands than it pushed, nor to push more than the stack holds.
  double stack[kStackSlots];
  double* top = stack;  // past the last operand
  const ProgramStep* const end = scanned.steps + scanned.stepCount;
  for (const ProgramStep* step = scanned.steps; step != end; ++step) {
    if (step->action == kStepTakeOperand) {
      const ScannedToken& token = scanned.tokens[step->token];
      if (token.kind == kEvalNumber) {
        *top++ = token.number;
        continue;
      }
      const R1C1Corner& written = token.corner;
      const RefCorner corner = token.resolved ? RefCorner{static_cast<uint32_t>(written.column),
                                                          static_cast<uint32_t>(written.row), written.flags}
                                              : ResolveR1C1Corner(written, column, row);
      if ((corner.flags & kRefOutsideGrid) || corner.column > kMaxColumn || corner.row > kMaxRow) return false;
      const uint16_t cellColumn = static_cast<uint16_t>(corner.column);
      const CellRecord* cell = kept ? kept->Find(store, corner.row, cellColumn) : store.GetCell(corner.row, cellColumn);
      if (!PlainCellNumber(cell, cellColumn, top)) return false;
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
      case kOpPlus:
        result = top[-2] + top[-1];
        --top;
        break;
      case kOpMinus:
        result = top[-2] - top[-1];
        --top;
        break;
      case kOpMultiply:
        result = top[-2] * top[-1];
        --top;
        break;
      case kOpDivide:
        result = top[-2] / top[-1];
        --top;
        break;
      default:
        result = std::pow(top[-2], top[-1]);
        --top;
        break;
    }
    if (IsBadNumber(result)) return false;
    top[-1] = result;
  }
  // A number alone is checked only here, as at the end of an evaluation.
  if (top != stack + 1 || IsBadNumber(stack[0])) return false;
  EvalValue& result = operands[1];
  result.Clear();
  result.kind = kEvalNumber;
  result.number = stack[0];
  operandTop = 1;
  return true;
}
