#include "core/edit/undoable_transpose.h"

#include "core/workbook/workbook.h"

namespace {

void Widen(UndoRange* rect, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow) {
  if (firstColumn < rect->firstColumn)
    rect->firstColumn = firstColumn;
  if (lastColumn > rect->lastColumn)
    rect->lastColumn = lastColumn;
  if (firstRow < rect->firstRow)
    rect->firstRow = firstRow;
  if (lastRow > rect->lastRow)
    rect->lastRow = lastRow;
}

}  // namespace

bool TransposeRangeWithUndo(CWorkBook* book, const CellRange& range) {
  CWorkSheet* sheet = book->activeWorksheet;
  // The transposition refuses what does not fit; it is asked first, so that
  // a refusal leaves no step.
  if (!sheet || range.firstColumn > range.lastColumn || range.firstRow > range.lastRow ||
      uint64_t(range.firstColumn) + (range.lastRow - range.firstRow) > kMaxColumn ||
      uint64_t(range.firstRow) + (range.lastColumn - range.firstColumn) > kMaxRow)
    return book->TransposeRange(sheet, range);
  UndoRange recorded = {range.firstColumn, range.firstRow, range.lastColumn, range.lastRow};
  Widen(&recorded, range.firstColumn, static_cast<uint16_t>(range.firstColumn + (range.lastRow - range.firstRow)),
        range.firstRow, range.firstRow + (range.lastColumn - range.firstColumn));
  // Formulas outside the block that refer into it are rewritten too; undo
  // must give them back their old texts.
  CellStore rewritten;
  uint8_t failure = kAdjustNoFailure;
  if (CollectAdjustedFormulas(book->evaluator, &sheet->cells, kEditBlockTransposed, range, false, &rewritten,
                              &failure)) {
    uint16_t firstColumn, lastColumn;
    uint32_t firstRow, lastRow;
    if (rewritten.GetUsedRange(&firstColumn, &lastColumn, &firstRow, &lastRow))
      Widen(&recorded, firstColumn, lastColumn, firstRow, lastRow);
  }
  if (!book->undoHistory.RecordCellsAndStyles(book, recorded, true, true))
    return false;
  if (!book->TransposeRange(sheet, range)) {
    book->undoHistory.DropLast(true);
    return false;
  }
  return true;
}
