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
  KeptCellLookups* const kept = keptCells;
  const auto read = [&](const ScannedToken& token, double* number) {
    if (token.kind == kEvalNumber) {
      *number = token.number;
      return true;
    }
    const R1C1Corner& written = token.corner;
    const RefCorner corner = token.resolved ? RefCorner{static_cast<uint32_t>(written.column),
                                                        static_cast<uint32_t>(written.row), written.flags}
                                            : ResolveR1C1Corner(written, column, row);
    if ((corner.flags & kRefOutsideGrid) || corner.column > kMaxColumn || corner.row > kMaxRow) return false;
    const uint16_t cellColumn = static_cast<uint16_t>(corner.column);
    const CellRecord* cell = kept ? kept->Find(store, corner.row, cellColumn) : store.GetCell(corner.row, cellColumn);
    return PlainCellNumber(cell, cellColumn, number);
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
