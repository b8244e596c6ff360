// Reading a cell's value in place, for handlers that only look at it: the
// value CellToValue gives, with a text left in the cell.

#include "core/base/error_code.h"
#include "core/eval/stored_cell_value.h"
#include "core/formula/eval_state.h"

namespace {

uint32_t LargerError(uint32_t a, uint32_t b) { return a > b ? a : b; }

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
