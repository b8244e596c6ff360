#ifndef TALVERO_CORE_READ_PLAIN_CELL_H
#define TALVERO_CORE_READ_PLAIN_CELL_H

// A cell's number read without an operand slot, inline: arithmetic on plain
// numbers reads one for every reference it meets, and a root search reads
// the same few again at each of its steps.

#include "core/base/result_check.h"
#include "core/formula/eval_state.h"
#include "core/formula/kept_cell_lookups.h"

inline bool EvalState::PlainCellNumber(const CellRecord* cell, uint32_t cellColumn, double* number) const {
  // Where NoteSpillAreaMeeting would look for a spill area that may still
  // write there: before a pending cell is noted, and while the cells read
  // after it are gathered, since evaluating again would look there then.
  const auto spillColumn = [&]() {
    return (pending.kind == kEvalInvalid || pendingGather.Open()) && cellColumn >= spillFirstColumn &&
           cellColumn <= spillLastColumn;
  };
  if (!cell) {
    *number = 0.0;
    return !spillColumn();
  }
  double value;
  // The whole type byte: no error, and a number or a formula.
  switch (cell->Type()) {
    case kCellNumber:
      value = cell->Number();
      break;
    case kCellFormula:
      if ((cell->ResultFlags() & (kResultCalculated | kResultCachedText)) != kResultCalculated) return false;
      value = cell->CachedNumber();
      break;
    case kCellNumber | kCellSpillValue:
      if (spillColumn()) return false;
      value = cell->Number();
      break;
    default:
      return false;
  }
  if (IsBadNumber(value)) return false;
  *number = value;
  return true;
}

inline bool EvalState::FindGridCell(CellStore& store, const RefCorner& corner, const CellRecord** cell) const {
  if ((corner.flags & kRefOutsideGrid) || corner.column > kMaxColumn || corner.row > kMaxRow) return false;
  const uint16_t cellColumn = static_cast<uint16_t>(corner.column);
  *cell = keptCells ? keptCells->Find(store, corner.row, cellColumn) : store.GetCell(corner.row, cellColumn);
  return true;
}

inline bool EvalState::ReadPlainCell(CellStore& store, const RefCorner& corner, double* number) {
  const CellRecord* cell = nullptr;
  return FindGridCell(store, corner, &cell) && PlainCellNumber(cell, corner.column, number);
}

#endif
