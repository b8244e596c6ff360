#include "app/document/line_sizes.h"

#include "core/workbook/workbook.h"

bool SetRowHeights(CWorkBook* book, uint32_t firstRow, uint32_t lastRow, uint16_t height) {
  CWorkSheet* sheet = book->activeWorksheet;
  if (sheet == nullptr || firstRow > lastRow || lastRow > kMaxRow) {
    book->error = kWorkbookInvalidCacheIndex;
    return false;
  }
  // The table reaches the last row before anything is recorded, so that no
  // row can fail half-way; its new records keep the default height.
  RowTable& rows = sheet->format.rows;
  while (rows.Count() <= lastRow) {
    if (!rows.Append(0)) {
      book->error = kWorkbookOutOfMemory;
      return false;
    }
  }
  if (!book->undoHistory.RecordRowHeights(book, firstRow, lastRow)) return false;
  for (uint32_t row = firstRow; row <= lastRow; ++row) rows.SetRow(row, height, true);
  return true;
}

bool SetColumnWidths(CWorkBook* book, uint16_t firstColumn, uint16_t lastColumn, uint16_t width) {
  if (!book->undoHistory.RecordColumnWidths(book, firstColumn, lastColumn)) return false;
  CWorkSheet* sheet = book->activeWorksheet;
  for (uint32_t column = firstColumn; column <= lastColumn; ++column)
    sheet->format.columns[column].SetWidth(width, true);
  return true;
}
