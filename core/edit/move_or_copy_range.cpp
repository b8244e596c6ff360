#include "core/edit/move_or_copy_range.h"

#include <cstring>
#include <memory>
#include <new>

#include "core/edit/sheet_backup.h"
#include "core/workbook/workbook.h"

namespace {

bool OnGrid(const CellRange& range) {
  return range.firstColumn <= range.lastColumn && range.firstRow <= range.lastRow &&
         range.lastColumn <= kMaxColumn && range.lastRow <= kMaxRow;
}

UndoRange AsUndoRange(const CellRange& range) {
  return {range.firstColumn, range.firstRow, range.lastColumn, range.lastRow};
}

UndoRange Enclosing(const UndoRange& a, const UndoRange& b) {
  return {a.firstColumn < b.firstColumn ? a.firstColumn : b.firstColumn,
          a.firstRow < b.firstRow ? a.firstRow : b.firstRow,
          a.lastColumn > b.lastColumn ? a.lastColumn : b.lastColumn, a.lastRow > b.lastRow ? a.lastRow : b.lastRow};
}

void FreeScratch(UndoHistory* history) {
  history->Free(kUndoScratchRecord);
  std::memset(&history->Record(kUndoScratchRecord), 0, sizeof(UndoRecord));
}

// Leaves the history and the scratch record as they were before the drag.
bool Fail(CWorkBook* book, bool stepRecorded, uint8_t error) {
  if (stepRecorded)
    book->undoHistory.DropLast(true);
  FreeScratch(&book->undoHistory);
  book->error = error;
  return false;
}

}  // namespace

bool MoveOrCopyRange(CWorkBook* book, const TextMeasurer& measurer, const CellRange& source, const CellRange& target,
                     bool copy) {
  CWorkSheet* sheet = book->activeWorksheet;
  if (!sheet || !OnGrid(source) || !OnGrid(target)) {
    book->error = kWorkbookInvalidCacheIndex;
    return false;
  }
  if (source.firstColumn == target.firstColumn && source.firstRow == target.firstRow &&
      source.lastColumn == target.lastColumn && source.lastRow == target.lastRow)
    return true;
  UndoHistory& history = book->undoHistory;
  const UndoRange from = AsUndoRange(source);
  const UndoRange to = AsUndoRange(target);

  // The snapshot comes before any deletion: a block dragged by one row
  // overlaps the place it left.
  if (!history.SnapshotRange(book, sheet, from, kUndoScratchRecord, true, true))
    return Fail(book, false, book->error);
  // A move is one step over both rectangles: two steps would let one Undo
  // bring the target back with the source still empty, and once the older
  // step left the history the moved cells could not come back at all.
  const UndoRange recorded = copy ? to : Enclosing(from, to);
  if (!history.RecordCellsAndStyles(book, recorded, true, true))
    return Fail(book, false, book->error);

  // Deleting the source and tiling the target can each run out of memory
  // half done; the worksheet kept aside then comes back whole.
  std::unique_ptr<SheetBackup> backup(new (std::nothrow) SheetBackup);
  if (!backup || !backup->Take(sheet))
    return Fail(book, true, kWorkbookOutOfMemory);
  if (!copy) {
    sheet->cells.DeleteRange(source.firstColumn, source.lastColumn, source.firstRow, source.lastRow, nullptr, false);
    if (!sheet->format.runs.ClearRect(source.firstColumn, source.lastColumn, source.firstRow, source.lastRow,
                                      nullptr, false)) {
      backup->PutBack(sheet);
      return Fail(book, true, kWorkbookOutOfMemory);
    }
  }
  if (!history.RestoreCellsAndStyles(book, sheet, to, kUndoScratchRecord, true, true)) {
    backup->PutBack(sheet);
    return Fail(book, true, book->error);
  }
  backup.reset();
  FreeScratch(&history);

  // Heights are only what the cells show; a row table that cannot grow
  // keeps the old heights and the move stands.
  const bool sameRows = source.firstRow == target.firstRow && source.lastRow == target.lastRow;
  if (!sameRows)
    CWorkSheet::AutoRowHeights(book, measurer, sheet, source.firstRow, source.lastRow);
  CWorkSheet::AutoRowHeights(book, measurer, sheet, target.firstRow, target.lastRow);
  return true;
}
