// Inserting and deleting whole rows and columns of a worksheet: the cells,
// the formats and the formulas that refer to moved cells move together, or
// nothing moves.

#include "core/edit/reference_adjust.h"
#include "core/workbook/workbook.h"

namespace {

uint8_t WorkbookErrorOf(uint8_t failure, bool rows) {
  switch (failure) {
    case kAdjustOffGrid:
      return rows ? kWorkbookNoRoomForRows : kWorkbookNoRoomForColumns;
    case kAdjustTooLong:
      return kWorkbookFormulaTooLong;
    default:
      return kWorkbookOutOfMemory;
  }
}

// Whether the cells can move down (or right) by the span without one
// leaving the grid.
bool CellsHaveRoom(const CellStore& cells, bool rows, uint32_t first, uint32_t count) {
  uint16_t lastColumn = 0;
  uint32_t lastRow = 0;
  if (!cells.GetUsedRange(nullptr, &lastColumn, nullptr, &lastRow)) return true;
  const uint64_t last = rows ? lastRow : lastColumn;
  const uint64_t limit = rows ? kMaxRow : kMaxColumn;
  return last < first || last + count <= limit;
}

bool EditLines(CWorkBook& book, CWorkSheet* sheet, uint32_t operation, uint32_t first, uint32_t last) {
  const bool rows = operation == kEditRowsInserted || operation == kEditRowsDeleted;
  const bool insert = operation == kEditRowsInserted || operation == kEditColumnsInserted;
  const uint32_t limit = rows ? kMaxRow : kMaxColumn;
  if (!sheet || first > last || last > limit) {
    book.error = rows ? kWorkbookNoRoomForRows : kWorkbookNoRoomForColumns;
    return false;
  }
  const uint32_t count = last - first + 1;
  if (insert && !CellsHaveRoom(sheet->cells, rows, first, count)) {
    book.error = rows ? kWorkbookNoRoomForRows : kWorkbookNoRoomForColumns;
    return false;
  }
  CellRange area;
  if (rows)
    area = CellRange{0, first, kMaxColumn, last};
  else
    area = CellRange{static_cast<uint16_t>(first), 0, static_cast<uint16_t>(last), kMaxRow};

  // Every formula's new text first: a refusal must find nothing moved.
  CellStore rewritten;
  uint8_t failure = kAdjustNoFailure;
  if (!CollectAdjustedFormulas(book.evaluator, &sheet->cells, operation, area, false, &rewritten, &failure)) {
    book.error = WorkbookErrorOf(failure, rows);
    return false;
  }

  CellStore& cells = sheet->cells;
  SheetFormat& format = sheet->format;
  if (insert) {
    if (!(rows ? cells.InsertRows(first, last)
               : cells.InsertColumns(static_cast<uint16_t>(first), static_cast<uint16_t>(last)))) {
      book.error = rows ? kWorkbookNoRoomForRows : kWorkbookNoRoomForColumns;
      return false;
    }
    if (!(rows ? format.InsertRows(first, last)
               : format.InsertColumns(static_cast<uint16_t>(first), static_cast<uint16_t>(last)))) {
      // The inserted lines are empty: deleting them restores the cells.
      if (rows)
        cells.DeleteRows(first, last);
      else
        cells.DeleteColumns(static_cast<uint16_t>(first), static_cast<uint16_t>(last));
      book.error = kWorkbookOutOfMemory;
      return false;
    }
  } else {
    // The formats may fail, the cells cannot: formats first keeps a failure whole.
    if (!(rows ? format.DeleteRows(first, last)
               : format.DeleteColumns(static_cast<uint16_t>(first), static_cast<uint16_t>(last)))) {
      book.error = kWorkbookOutOfMemory;
      return false;
    }
    if (rows)
      cells.DeleteRows(first, last);
    else
      cells.DeleteColumns(static_cast<uint16_t>(first), static_cast<uint16_t>(last));
  }

  if (!ApplyAdjustedFormulas(&cells, &rewritten, &failure)) {
    book.error = kWorkbookOutOfMemory;
    return false;
  }
  return true;
}

}  // namespace

bool CWorkBook::InsertRows(CWorkSheet* sheet, uint32_t firstRow, uint32_t lastRow) {
  return EditLines(*this, sheet, kEditRowsInserted, firstRow, lastRow);
}

bool CWorkBook::DeleteRows(CWorkSheet* sheet, uint32_t firstRow, uint32_t lastRow) {
  return EditLines(*this, sheet, kEditRowsDeleted, firstRow, lastRow);
}

bool CWorkBook::InsertColumns(CWorkSheet* sheet, uint16_t firstColumn, uint16_t lastColumn) {
  return EditLines(*this, sheet, kEditColumnsInserted, firstColumn, lastColumn);
}

bool CWorkBook::DeleteColumns(CWorkSheet* sheet, uint16_t firstColumn, uint16_t lastColumn) {
  return EditLines(*this, sheet, kEditColumnsDeleted, firstColumn, lastColumn);
}
