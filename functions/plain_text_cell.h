#ifndef TALVERO_FUNCTIONS_PLAIN_TEXT_CELL_H
#define TALVERO_FUNCTIONS_PLAIN_TEXT_CELL_H

// A plain text cell, or a text a formula of this pass left, read where it
// stands: the text and length the general cell view gives it, without the
// view's work for pending formulas, spilled values and errors.

#include <cstddef>

#include "core/cells/cell_record.h"
#include "core/formula/eval_state.h"

// False, untouched, for any cell but a text cell or a calculated formula
// with a text result, either without error or spill mark, and while the
// formula's string pool could not take the text (the view then answers
// "#VALUE!"): such cells take the general view.
inline bool ReadPlainTextCell(const EvalState& state, const CellRecord* cell, const char** text, size_t* length) {
  const char* stored = nullptr;
  size_t storedLength = 0;
  if (cell->Type() == kCellText) {
    stored = cell->Text();
    storedLength = cell->TextLength();
  } else if (cell->Type() == kCellFormula && (cell->ResultFlags() & kResultCalculated) && cell->HasCachedText()) {
    // Calculated: the view would note nothing pending.
    stored = cell->CachedText();
    storedLength = cell->CachedTextLength();
  } else {
    return false;
  }
  if (state.strings.Count() >= FormulaStrings::kStringCapacity ||
      storedLength >= FormulaStrings::kByteCapacity - state.strings.BytesUsed())
    return false;
  *text = stored;
  *length = storedLength;
  return true;
}

#endif
