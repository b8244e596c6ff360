#ifndef TALVERO_NUMERICS_PAIRED_RANGE_WALK_H
#define TALVERO_NUMERICS_PAIRED_RANGE_WALK_H

// Two ranges of one worksheet over the same rows, such as two columns of a
// table, read in one walk over the columns that span them: half the row
// changes of walking each apart. Only plain number cells are handed out; at
// any other cell of either range the walk gives up, and the caller reads the
// two apart as before, so that formula cells are noted in the order that
// reading notes them and texts and errors keep their own rules.

#include <cstdint>

#include "core/base/result_check.h"
#include "functions/arg_readers.h"

// Columns between the two ranges that the walk passes over at most; wider
// apart, each range's own walk costs less.
constexpr uint32_t kPairedWalkGapColumns = 8;

// visit(inFirst, inSecond, cell, number) for each cell of either range in
// storage order; false, after any number of visits, when the ranges do not
// qualify or a cell in them is not a plain number. Neither walk may have
// started: a's cursor, still at its first row, starts this one.
template <class Visit>
bool WalkPlainNumberPair(const ArgRange& a, const ArgRange& b, Visit visit) {
  if (!a.sheet || a.sheet != b.sheet || a.ownsChain || b.ownsChain || a.firstRow != b.firstRow ||
      a.lastRow != b.lastRow)
    return false;
  const uint32_t first = a.firstColumn < b.firstColumn ? a.firstColumn : b.firstColumn;
  const uint32_t last = a.lastColumn > b.lastColumn ? a.lastColumn : b.lastColumn;
  const uint32_t widths = (a.lastColumn - a.firstColumn + 1) + (b.lastColumn - b.firstColumn + 1);
  if (last - first + 1 > widths + kPairedWalkGapColumns) return false;
  ArgRange both = a;
  both.firstColumn = first;
  both.lastColumn = last;
  // a's cursor has passed its first row's cells left of a; b's may lie there.
  if (first != a.firstColumn) RestartArgRange(both);
  while (const CellRecord* cell = NextArgCell(both)) {
    const uint32_t column = cell->Column();
    const bool inA = column >= a.firstColumn && column <= a.lastColumn;
    const bool inB = column >= b.firstColumn && column <= b.lastColumn;
    if (!inA && !inB) continue;
    if (!cell->IsNumber() || cell->IsSpillValue() || cell->ErrorCode() != 0) return false;
    const double number = cell->Number();
    if (IsBadNumber(number)) return false;
    visit(inA, inB, cell, number);
  }
  return true;
}

#endif
