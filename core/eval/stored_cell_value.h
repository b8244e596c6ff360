#ifndef TALVERO_CORE_EVAL_STORED_CELL_VALUE_H
#define TALVERO_CORE_EVAL_STORED_CELL_VALUE_H

// How evaluation reads the value a cell stores, shared by the reading into
// a slot and the reading in place.

#include <cstddef>
#include <cstdint>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "core/cells/cell_record.h"

// The text a cell holds as its value, its own or a formula's cached one;
// null when it holds none.
inline const char* StoredCellText(const CellRecord* cell, size_t* length) {
  if (cell->IsText()) {
    *length = cell->TextLength();
    return cell->Text();
  }
  if (cell->IsFormula() && cell->HasCachedText()) {
    *length = cell->CachedTextLength();
    return cell->CachedText();
  }
  return nullptr;
}

// The number of a number or formula cell, and the error it is read with: a
// stored number the result check refuses reads as 0 with "#NUM!".
inline uint32_t StoredCellNumber(const CellRecord* cell, uint32_t error, double* number) {
  *number = cell->IsNumber() ? cell->Number() : cell->CachedNumber();
  if (!IsBadNumber(*number)) return error;
  *number = 0;
  return error > kErrorNum ? error : uint32_t(kErrorNum);
}

#endif
