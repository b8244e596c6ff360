// Reading a cell's value in place, for handlers that only look at it: the
// value CellToValue gives, with a text left in the cell.

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "core/formula/eval_state.h"

namespace {

uint32_t LargerError(uint32_t a, uint32_t b) { return a > b ? a : b; }

// The number of a number or formula cell, and the error it is read with: a
// stored number the result check refuses reads as 0 with "#NUM!".
uint32_t StoredCellNumber(const CellRecord* cell, uint32_t error, double* number) {
  *number = cell->IsNumber() ? cell->Number() : cell->CachedNumber();
  if (!IsBadNumber(*number)) return error;
  *number = 0;
  return LargerError(error, kErrorNum);
}

}  // namespace

CellValueView EvalState::ViewCell(const CellRecord* cell, CellStore* store, uint32_t error) {
  CellValueView view{kEvalEmpty, error, 0.0, nullptr, 0};
  NotePending(cell, store);
  view.error = LargerError(error, cell->ErrorCode());
  size_t length = 0;
  if (const char* text = StoredCellText(cell, &length)) {
    // Where CellToValue's push would fail, the value is what it leaves.
    if (strings.Count() >= FormulaStrings::kStringCapacity ||
        length >= FormulaStrings::kByteCapacity - strings.BytesUsed()) {
      view.error = LargerError(view.error, kErrorValue);
      return view;
    }
    view.kind = kEvalText;
    view.text = text;
    view.length = length;
    return view;
  }
  if (cell->IsNumber() || cell->IsFormula()) {
    view.kind = kEvalNumber;
    view.error = StoredCellNumber(cell, view.error, &view.number);
  }
  return view;
}
