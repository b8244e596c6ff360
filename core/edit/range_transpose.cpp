// Transposing a rectangle of a worksheet in place.

#include <memory>
#include <new>

#include "core/edit/copy_range_transposed.h"
#include "core/edit/sheet_backup.h"
#include "core/edit/reference_adjust.h"
#include "core/workbook/workbook.h"

namespace {

// The rectangle's runs, cut to its columns, turned into runs of the
// transposed rectangle: each cell of a run becomes one cell of a column.
bool CollectTransposedRuns(const StyleRunStore& runs, const CellRange& range, StyleRunStore* target) {
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  while (const StyleRun* run =
             runs.FindFirstInRect(&walk, range.firstColumn, range.lastColumn, range.firstRow, range.lastRow)) {
    const uint16_t first = run->firstColumn > range.firstColumn ? run->firstColumn : range.firstColumn;
    const uint16_t last = run->lastColumn < range.lastColumn ? run->lastColumn : range.lastColumn;
    const uint16_t column = static_cast<uint16_t>(range.firstColumn + (run->row - range.firstRow));
    for (uint32_t c = first; c <= last; ++c) {
      const StyleRun turned{column, column, range.firstRow + (c - range.firstColumn), run->style};
      if (!target->InsertRun(turned, nullptr)) return false;
    }
  }
  return true;
}

}  // namespace

bool CWorkBook::TransposeRange(CWorkSheet* sheet, const CellRange& range) {
  if (!sheet || range.firstColumn > range.lastColumn || range.firstRow > range.lastRow ||
      range.lastColumn > kMaxColumn || range.lastRow > kMaxRow) {
    error = kWorkbookOutOfMemory;
    return false;
  }
  if (uint64_t(range.firstColumn) + (range.lastRow - range.firstRow) > kMaxColumn) {
    error = kWorkbookNoRoomForColumns;
    return false;
  }
  if (uint64_t(range.firstRow) + (range.lastColumn - range.firstColumn) > kMaxRow) {
    error = kWorkbookNoRoomForRows;
    return false;
  }
  const CellRange turned{range.firstColumn, range.firstRow,
                         static_cast<uint16_t>(range.firstColumn + (range.lastRow - range.firstRow)),
                         range.firstRow + (range.lastColumn - range.firstColumn)};

  // Everything that can be refused or run out of memory is prepared first.
  CellStore rewritten;
  uint8_t failure = kAdjustNoFailure;
  if (!CollectAdjustedFormulas(evaluator, &sheet->cells, kEditBlockTransposed, range, false, &rewritten,
                               &failure)) {
    error = failure == kAdjustOffGrid   ? kWorkbookNoRoomForRows
            : failure == kAdjustTooLong ? kWorkbookFormulaTooLong
                                        : kWorkbookOutOfMemory;
    return false;
  }
  CellStore cells;
  StyleRunStore runs;
  if (!CopyRangeTransposed(sheet->cells, range.firstColumn, range.lastColumn, range.firstRow, range.lastRow,
                           &cells) ||
      !CollectTransposedRuns(sheet->format.runs, range, &runs)) {
    error = kWorkbookOutOfMemory;
    return false;
  }

  // The worksheet is kept aside before anything changes: a shortage of
  // memory half way puts it back whole, so no cell is lost.
  std::unique_ptr<SheetBackup> backup(new (std::nothrow) SheetBackup);
  if (!backup || !backup->Take(sheet)) {
    error = kWorkbookOutOfMemory;
    return false;
  }
  sheet->cells.DeleteRange(range.firstColumn, range.lastColumn, range.firstRow, range.lastRow, nullptr, false);
  bool done = sheet->cells.CopyRangeToStore(turned.firstColumn, turned.lastColumn, turned.firstRow, turned.lastRow,
                                            turned.firstColumn, turned.lastColumn, turned.firstRow, turned.lastRow,
                                            cells);
  StyleRunStore& sheetRuns = sheet->format.runs;
  done = done &&
         sheetRuns.ClearRect(range.firstColumn, range.lastColumn, range.firstRow, range.lastRow, nullptr, false) &&
         sheetRuns.ClearRect(turned.firstColumn, turned.lastColumn, turned.firstRow, turned.lastRow, nullptr, false);
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  walk.block = runs.FirstBlock();
  while (done)
    if (const StyleRun* run = StyleRunStore::NextRun(&walk))
      done = sheetRuns.InsertRun(*run, nullptr);
    else
      break;
  done = done && ApplyAdjustedFormulas(&sheet->cells, &rewritten, &failure);
  if (!done) {
    backup->PutBack(sheet);
    error = kWorkbookOutOfMemory;
    return false;
  }
  // Styles whose cells the transposition overwrote may be used by nothing now.
  CompactStyles();
  return true;
}
