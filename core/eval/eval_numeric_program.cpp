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
#include "core/formula/kept_cell_lookups.h"

namespace {

// Whether reading a cell of this column where no formula stands could meet
// a spill area not yet calculated, which the general path would note.
bool MayMeetSpillArea(const EvalState& state, uint32_t column) {
  return state.pending.kind == kEvalInvalid && column >= state.spillFirstColumn && column <= state.spillLastColumn;
}

// The number a single-cell token reads, as CellToValue gives it; false
// where that would be anything but a finite number or a blank, or would
// note the cell. A blank alone is the formula's whole result, which stays
// an empty value there.
bool ReadPlainCell(EvalState& state, const ScannedToken& token, bool alone, double* number) {
  const R1C1Corner& written = token.corner;
  const RefCorner corner = token.resolved ? RefCorner{static_cast<uint32_t>(written.column),
                                                      static_cast<uint32_t>(written.row), written.flags}
                                          : ResolveR1C1Corner(written, state.column, state.row);
  if ((corner.flags & kRefOutsideGrid) || corner.column > kMaxColumn || !state.sheet) return false;
  CellStore& store = *state.sheet;
  const uint16_t column = static_cast<uint16_t>(corner.column);
  const CellRecord* cell =
      state.keptCells ? state.keptCells->Find(store, corner.row, column) : store.GetCell(corner.row, column);
  if (!cell) {
    *number = 0.0;
    return !alone && !MayMeetSpillArea(state, corner.column);
  }
  double value;
  // The whole type byte: no error, and a number or a formula.
  switch (cell->Type()) {
    case kCellNumber:
      value = cell->Number();
      break;
    case kCellNumber | kCellSpillValue:
      if (MayMeetSpillArea(state, corner.column)) return false;
      value = cell->Number();
      break;
    case kCellFormula:
      if ((cell->ResultFlags() & (kResultCalculated | kResultCachedText)) != kResultCalculated) return false;
      value = cell->CachedNumber();
      break;
    default:
      return false;
  }
  if (IsBadNumber(value)) return false;
  *number = value;
  return true;
}

}  // namespace

bool EvalState::EvaluateNumbers(const ScannedFormula& scanned) {
  // The program was checked to hold numbers and cells and never to take
  // more operands than it pushed, nor to push more than the stack holds.
  double stack[kStackSlots];
  uint32_t top = 0;
  const bool alone = scanned.stepCount == 1;
  const ProgramStep* const end = scanned.steps + scanned.stepCount;
  for (const ProgramStep* step = scanned.steps; step != end; ++step) {
    if (step->action == kStepTakeOperand) {
      const ScannedToken& token = scanned.tokens[step->token];
      if (token.kind == kEvalNumber)
        stack[top] = token.number;
      else if (!ReadPlainCell(*this, token, alone, &stack[top]))
        return false;
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
