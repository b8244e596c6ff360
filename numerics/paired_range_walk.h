#ifndef TALVERO_NUMERICS_PAIRED_RANGE_WALK_H
#define TALVERO_NUMERICS_PAIRED_RANGE_WALK_H

// Two ranges of one worksheet over the same rows, such as two columns of a
// table, read in one walk over the columns that span them: half the row
// changes of walking each apart. Only plain number cells are handed out; at
// any other cell of either range the walk gives up, and the caller reads the
// two apart as before, so that formula cells are noted in the order that
// reading notes them and texts and errors keep their own rules.
//
// Over rows the row index answers for (those of a recalculation pass) the
// walks go by the worksheet's row position memo instead of the range's
// cursor: a row is entered at the first column wanted, and a single column
// is read at its cells' places. The matrix reader walks one range so too.

#include <cstdint>

#include "core/base/result_check.h"
#include "functions/arg_readers.h"
#include "core/cells/row_cells.h"

// Columns between the two ranges that the walk passes over at most; wider
// apart, each range's own walk costs less.
constexpr uint32_t kPairedWalkGapColumns = 8;

// The cell checks and the visit of WalkPlainNumberPair for one record at
// column; false when the walk gives up there.
template <class Visit>
bool VisitPlainNumberOfPair(const ArgRange& a, const ArgRange& b, const CellRecord* cell, uint32_t column,
                            Visit& visit) {
  const bool inA = column >= a.firstColumn && column <= a.lastColumn;
  const bool inB = column >= b.firstColumn && column <= b.lastColumn;
  if (!inA && !inB) return true;
  if (!cell->IsNumber() || cell->IsSpillValue() || cell->ErrorCode() != 0) return false;
  const double number = cell->Number();
  if (IsBadNumber(number)) return false;
  visit(inA, inB, cell, number);
  return true;
}

// Whether ForEachIndexedRowCell may walk the range: a worksheet's, over
// rows the row index answers for.
inline bool IndexedRowsWalkable(const ArgRange& range) {
  return range.sheet && !range.ownsChain && RowsIndexed(range.sheet, range.firstRow, range.lastRow);
}

// visit(cell, column) for each record of the range's rows in the columns
// first..last, in storage order, as the range's cursor would give them:
// each row entered at the first column through the worksheet's row
// position memo and passed record by record to the last, with neither the
// cursor's checks of the rectangle at every record nor its search for the
// next row's start. visit returns false to stop; false too at a malformed
// record, where the cursor's walk ends. The range must be walkable.
template <class Visit>
bool ForEachIndexedRowCell(const ArgRange& range, uint32_t first, uint32_t last, Visit&& visit) {
  for (uint32_t row = range.firstRow; row <= range.lastRow; ++row)
    if (!VisitRowCells(*range.sheet, row, first, last, visit)) return false;
  return true;
}

// WalkPlainNumberPair for two single columns over indexed rows: each row's
// two cells found at their places, the columns between never passed.
template <class Visit>
bool WalkIndexedColumnPair(const ArgRange& a, const ArgRange& b, Visit& visit) {
  const CellStore& sheet = *a.sheet;
  const bool aFirst = a.firstColumn <= b.firstColumn;
  const uint32_t left = aFirst ? a.firstColumn : b.firstColumn;
  const uint32_t right = aFirst ? b.firstColumn : a.firstColumn;
  bool malformed = false;
  const auto take = [&](const CellRecord* cell, bool inA, bool inB) {
    if (malformed || !cell->IsNumber() || cell->IsSpillValue() || cell->ErrorCode() != 0) return false;
    const double number = cell->Number();
    if (IsBadNumber(number)) return false;
    visit(inA, inB, cell, number);
    return true;
  };
  for (uint32_t row = a.firstRow; row <= a.lastRow; ++row) {
    if (const CellRecord* cell = IndexedRecordAt(sheet, row, left, &malformed))
      if (!take(cell, aFirst || left == right, !aFirst || left == right)) return false;
    if (right == left) continue;
    if (const CellRecord* cell = IndexedRecordAt(sheet, row, right, &malformed))
      if (!take(cell, !aFirst, aFirst)) return false;
  }
  return true;
}

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
  if (IndexedRowsWalkable(a) && a.firstColumn == a.lastColumn && b.firstColumn == b.lastColumn)
    return WalkIndexedColumnPair(a, b, visit);
  if (IndexedRowsWalkable(a))
    return ForEachIndexedRowCell(a, first, last, [&](const CellRecord* cell, uint32_t column) {
      return VisitPlainNumberOfPair(a, b, cell, column, visit);
    });
  ArgRange both = a;
  both.firstColumn = first;
  both.lastColumn = last;
  // A list the pass keeps holds a's column alone: the walk of both columns
  // is the store's. a's cursor has passed its first row's cells left of a;
  // b's may lie there.
  if (a.WalkMode() == RangeWalk::kListed)
    both.Over(a.sheet, first, a.firstRow, last, a.lastRow);
  if (first != a.firstColumn || a.WalkMode() == RangeWalk::kListed) RestartArgRange(both);
  while (const CellRecord* cell = NextArgCell(both))
    if (!VisitPlainNumberOfPair(a, b, cell, cell->Column(), visit)) return false;
  return true;
}

#endif
