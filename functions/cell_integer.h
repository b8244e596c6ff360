#ifndef TALVERO_FUNCTIONS_CELL_INTEGER_H
#define TALVERO_FUNCTIONS_CELL_INTEGER_H

// Integers read from the cells of range arguments without their slot.

#include <cmath>
#include <cstdint>

#include "functions/aggregate_cells.h"

// The common case of GetArgInt on a cell: a plain number (as
// ReadPlainNumber takes it) well inside [min, max], rounded half away from
// zero as GetArgInt rounds it, where GetArgInt finds no error. False for
// any other cell, which the caller reads through its slot; such a cell may
// have been noted as pending already, and noting it again changes nothing.
inline bool ReadPlainInteger(EvalState& state, const ArgRange& range, const CellRecord* cell, int32_t min,
                             int32_t max, int32_t* out) {
  double x = 0.0;
  if (!ReadPlainNumber(state, range, cell, &x)) return false;
  // Below max, x rounds to max at most; from min up, to min at least.
  if (!(x > -2147483647.0 && x < 2147483647.0 && x >= double(min) && x < double(max))) return false;
  *out = static_cast<int32_t>(std::trunc(x >= 0 ? x + 0.5 : x - 0.5));
  return true;
}

#endif
