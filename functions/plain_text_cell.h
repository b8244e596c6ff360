#ifndef TALVERO_FUNCTIONS_PLAIN_TEXT_CELL_H
#define TALVERO_FUNCTIONS_PLAIN_TEXT_CELL_H

// A plain text cell read where it stands: the text and length the general
// cell view gives it, without the view's work for formulas, spilled values
// and errors.

#include <cstddef>

#include "core/cells/cell_record.h"
#include "core/formula/eval_state.h"

// False, untouched, for any cell but a text cell without error or spill
// mark, and while the formula's string pool could not take the text (the
// view then answers "#VALUE!"): such cells take the general view.
inline bool ReadPlainTextCell(const EvalState& state, const CellRecord* cell, const char** text, size_t* length) {
  if (cell->Type() != kCellText) return false;
  const size_t stored = cell->TextLength();
  if (state.strings.Count() >= FormulaStrings::kStringCapacity ||
      stored >= FormulaStrings::kByteCapacity - state.strings.BytesUsed())
    return false;
  *text = cell->Text();
  *length = stored;
  return true;
}

#endif
