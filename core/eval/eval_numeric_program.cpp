// Kept formulas of numbers and single cells (a root search's target, most
// formulas typed by hand) computed on plain doubles, without the operand
// stack's slots. The attempt touches nothing but the kept cell lookups until
// it succeeds: whatever the operand slots would do more than read a finite
// number (a text to convert, an error to carry, a cell to note as pending, a
// number the result check refuses) gives up, and the formula is evaluated
// again from its start the general way.

#include "core/eval/read_plain_cell.h"
#include "core/eval/run_numbers_program.h"
#include "core/formula/eval_state.h"

bool EvalState::EvaluateNumbers(const ScannedFormula& scanned) {
  if (!sheet) return false;
  CellStore& store = *sheet;
  const auto read = [&](const ScannedToken& token, double* number) {
    if (token.kind == kEvalNumber) {
      *number = token.number;
      return true;
    }
    return ReadPlainCell(store, ScannedTokenCorner(token, column, row), number);
  };
  double value;
  if (!RunNumbersProgram(scanned, read, &value)) return false;
  EvalValue& result = operands[1];
  result.Clear();
  result.kind = kEvalNumber;
  result.number = value;
  operandTop = 1;
  return true;
}
