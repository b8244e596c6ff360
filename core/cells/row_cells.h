#ifndef TALVERO_CORE_CELLS_ROW_CELLS_H
#define TALVERO_CORE_CELLS_ROW_CELLS_H

// Cells picked out of a worksheet row through the row index, for readers
// outside the store that must not know how records lie in blocks. Function
// handlers that read two column ranges side by side, or take one cell of a
// row found by a search, find them in one pass along the row: a walk per
// range steps over the row's leading cells once for each range, and a cell
// search starts from the store's block directory.

#include <cstdint>

#include "core/cells/cell_store.h"

// Whether the row index answers for every row from firstRow to lastRow;
// only then may the passes below be used for them. The index is dropped
// by any change of the chain, so this is asked afresh at each call.
inline bool RowsIndexed(const CellStore* sheet, uint32_t firstRow, uint32_t lastRow) {
  if (!sheet || firstRow > lastRow || lastRow > kMaxRow) return false;
  for (uint32_t page = firstRow / kRowsPerPage; page <= lastRow / kRowsPerPage; ++page)
    if (!(sheet->PageFlags(page) & kPageIndexBuilt)) return false;
  return true;
}

// The record at offset of block, moving on to the next blocks past a
// block's end (a row may run on into the next block); null at the chain's
// end or where the row ends.
inline const CellRecord* RowRecordAt(const CellBlock*& block, uint32_t& offset, uint32_t row) {
  while (offset >= block->used) {
    block = block->next;
    offset = 0;
    if (!block) return nullptr;
  }
  const CellRecord* record = AsCellRecord(block->payload + offset);
  return record->Row() == row ? record : nullptr;
}

// The records of row at columns a and b (a <= b; they may be the same)
// into *atA and *atB from at, a place in the row at or before column a:
// null where the row holds none. A malformed record ends the row's pass.
inline void RowCellPairFrom(RecordPosition at, uint32_t row, uint32_t a, uint32_t b, const CellRecord** atA,
                            const CellRecord** atB) {
  const CellRecord* foundA = nullptr;
  const CellRecord* foundB = nullptr;
  const CellBlock* block = at.block;
  uint32_t offset = at.offset;
  while (const CellRecord* record = RowRecordAt(block, offset, row)) {
    const uint32_t column = record->Column();
    if (column >= a) {
      if (column == a) foundA = record;
      if (column >= b) {
        if (column == b) foundB = record;
        break;
      }
    }
    const uint32_t size = record->Size();
    if (size == 0) break;
    offset += size;
  }
  *atA = foundA;
  *atB = foundB;
}

// The same from the row's start. The row must be one RowsIndexed answered
// for.
inline void RowCellPair(const CellStore& sheet, uint32_t row, uint32_t a, uint32_t b, const CellRecord** atA,
                        const CellRecord** atB) {
  RecordPosition at;
  if (sheet.IndexedRowStart(row, &at)) {
    RowCellPairFrom(at, row, a, b, atA, atB);
  } else {
    *atA = nullptr;
    *atB = nullptr;
  }
}

// The records of row within one or two column spans, [firstA, lastA] into
// a and [firstB, lastB] into b (when b is given), each at its column's
// offset from its span's first: null where the row holds none (the spans
// may overlap). The row must be one RowsIndexed answered for.
inline void RowSpanCells(const CellStore& sheet, uint32_t row, uint32_t firstA, uint32_t lastA, const CellRecord** a,
                         uint32_t firstB = 0, uint32_t lastB = 0, const CellRecord** b = nullptr) {
  if (!b) {
    firstB = firstA;
    lastB = lastA;
  }
  for (uint32_t c = firstA; c <= lastA; ++c) a[c - firstA] = nullptr;
  if (b)
    for (uint32_t c = firstB; c <= lastB; ++c) b[c - firstB] = nullptr;
  const uint32_t first = firstA < firstB ? firstA : firstB;
  const uint32_t last = lastA > lastB ? lastA : lastB;
  RecordPosition at;
  if (!sheet.IndexedRowStart(row, &at)) return;
  const CellBlock* block = at.block;
  uint32_t offset = at.offset;
  while (const CellRecord* record = RowRecordAt(block, offset, row)) {
    const uint32_t column = record->Column();
    if (column > last) return;
    if (column >= first) {
      if (column >= firstA && column <= lastA) a[column - firstA] = record;
      if (b && column >= firstB && column <= lastB) b[column - firstB] = record;
    }
    const uint32_t size = record->Size();
    if (size == 0) return;
    offset += size;
  }
}

// The record at (column, row) of a worksheet whose row is indexed; null
// when there is none.
inline const CellRecord* IndexedCellAt(const CellStore& sheet, uint32_t column, uint32_t row) {
  const CellRecord* cell = nullptr;
  RowCellPair(sheet, row, column, column, &cell, &cell);
  return cell;
}

// A row's first records are passed faster than the row position memo
// finds a place; from this column on the memo is asked.
constexpr uint32_t kMemoFromColumn = 3;

// The first record of an indexed row at or after column, else the row's
// end (which may lie at a block's end): from the row's start for a column
// near it, else through the memo. False when the row holds no record.
inline bool IndexedRowPlace(const CellStore& sheet, uint32_t row, uint32_t column, RecordPosition* at) {
  if (column < kMemoFromColumn) return sheet.IndexedRowStart(row, at);
  return column <= kMaxColumn && sheet.PositionInRow(row, static_cast<uint16_t>(column), at);
}

// RowCellPair for a pair far from the row's start, which a search asks of
// row after row: from column a on through the row position memo.
inline void FarRowCellPair(const CellStore& sheet, uint32_t row, uint32_t a, uint32_t b, const CellRecord** atA,
                           const CellRecord** atB) {
  RecordPosition at;
  if (IndexedRowPlace(sheet, row, a, &at)) {
    RowCellPairFrom(at, row, a, b, atA, atB);
  } else {
    *atA = nullptr;
    *atB = nullptr;
  }
}

// IndexedCellAt for a column walked down many rows: one far from the row's
// start is found through the row position memo, which the formulas of
// each row fill for the rows they read.
inline const CellRecord* IndexedColumnCellAt(const CellStore& sheet, uint32_t column, uint32_t row) {
  if (column < kMemoFromColumn) return IndexedCellAt(sheet, column, row);
  RecordPosition at;
  // The memo names the first record at or after the column; only the row's
  // end may lie at a block's end.
  if (column > kMaxColumn || !sheet.PositionInRow(row, static_cast<uint16_t>(column), &at)) return nullptr;
  const CellRecord* record = RecordAtPlace(at);
  return record && record->Row() == row && record->Column() == column ? record : nullptr;
}

// The record at (row, column) of a store whose row is indexed, found at
// the row position memo's place; null when the row holds none there, and
// *malformed set at a record a range walk would end at.
inline const CellRecord* IndexedRecordAt(const CellStore& sheet, uint32_t row, uint32_t column, bool* malformed) {
  RecordPosition at;
  // An indexed row without a place holds no record.
  if (!sheet.PositionInRow(row, static_cast<uint16_t>(column), &at)) return nullptr;
  const CellBlock* block = at.block;
  uint32_t offset = at.offset;
  // The row's end may be named by a block's end.
  const CellRecord* cell = RowRecordAt(block, offset, row);
  if (!cell || cell->Column() != column) return nullptr;
  if (cell->Size() == 0) *malformed = true;
  return cell;
}

// Hands each record of an indexed row within columns first..last to
// visit(cell, column), found from the row position memo's place and passed
// record by record; false when visit stops or at a malformed record.
template <class Visit>
bool VisitRowCells(const CellStore& sheet, uint32_t row, uint32_t first, uint32_t last, Visit&& visit) {
  RecordPosition at;
  // An indexed row without a place holds no record.
  if (!sheet.PositionInRow(row, static_cast<uint16_t>(first), &at)) return true;
  const CellBlock* block = at.block;
  uint32_t offset = at.offset;
  while (const CellRecord* cell = RowRecordAt(block, offset, row)) {
    const uint32_t column = cell->Column();
    if (column > last) break;
    const uint32_t size = cell->Size();
    if (size == 0) return false;
    if (column >= first && !visit(cell, column)) return false;
    offset += size;
  }
  return true;
}

#endif
