#ifndef TALVERO_CORE_FORMULA_COLUMN_CELLS_H
#define TALVERO_CORE_FORMULA_COLUMN_CELLS_H

// The cells of one long column range, listed once per recalculation pass:
// a summary of whole-column SUMIF and COUNTIF formulas walks the same
// column again and again, and each walk through a row-major store reads
// every row's other cells too. The list holds the records themselves, so a
// value rewritten in place is read as it stands; a record inserted, removed
// or moved changes the store's chain, and the list is then made again (see
// pass_range_tables.h), so the store must not change while a list is read
// (a RangeWalk over the list checks it in debug builds). Formula cells are
// listed like any: whoever reads a listed cell reads it as the plain walk
// would, pending or not.

#include <cstdint>

#include "core/formula/pass_range_tables.h"

class CellStore;
struct CellRecord;

class ColumnCells {
 public:
  // Records over all lists of a pass: 16 MB of pointers in a 32-bit process.
  static constexpr uint32_t kMaxEntries = uint32_t(1) << 22;
  // Shorter columns are walked as they lie.
  static constexpr uint32_t kMinRows = 1024;

  ColumnCells() : tables_(kMaxEntries, kMinRows, &Fill) {}

  // On by default; off, every column is walked as it lies (for comparing
  // both ways).
  void SetEnabled(bool enabled) { tables_.SetEnabled(enabled); }
  bool Enabled() const { return tables_.Enabled(); }
  void BeginPass() { tables_.BeginPass(); }
  void EndPass() { tables_.EndPass(); }

  // The records of rows firstRow..lastRow of the store's column, in row
  // order, as [*first, *last); false when no list serves the range.
  bool Cells(CellStore* store, uint16_t column, uint32_t firstRow, uint32_t lastRow, const CellRecord* const** first,
             const CellRecord* const** last);
  uint32_t BuildCount() const { return tables_.BuildCount(); }

 private:
  static bool Fill(PassRangeTables::Table& table, uint32_t budget);

  PassRangeTables tables_;
};

#endif
