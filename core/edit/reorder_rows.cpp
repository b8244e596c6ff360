// Rewriting a block of rows in a new order, cells and formats: the second
// half of sorting, and its undo with the inverse order.

#include <new>

#include "core/workbook/workbook.h"

namespace {

constexpr uint32_t kPageShift = 10;

bool ValidBlock(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                const uint32_t* rowIndex) {
  if (!rowIndex || firstColumn > lastColumn || lastColumn > kMaxColumn || firstRow > lastRow || lastRow > kMaxRow)
    return false;
  for (uint32_t row = firstRow; row <= lastRow; ++row)
    if (rowIndex[row - firstRow] < firstRow || rowIndex[row - firstRow] > lastRow)
      return false;
  return true;
}

}  // namespace

bool CWorkBook::ReorderCellRows(CellStore* store, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                                uint32_t lastRow, const uint32_t* rowIndex) {
  if (!store || !ValidBlock(firstColumn, lastColumn, firstRow, lastRow, rowIndex)) {
    error = kWorkbookInvalidCacheIndex;
    return false;
  }
  CellCursor cursor;
  for (uint32_t page = firstRow >> kPageShift; page <= lastRow >> kPageShift; ++page)
    if (!store->BuildPageIndex(page, &cursor))
      break;  // an unindexed page is only slower to search
  CellStore reordered;
  CellStore original;
  bool done = store->GatherRows(firstColumn, lastColumn, firstRow, lastRow, &reordered, rowIndex) &&
              original.CopyRangeToStore(firstColumn, lastColumn, firstRow, lastRow, firstColumn, lastColumn,
                                        firstRow, lastRow, *store);
  if (done && !store->CopyRangeToStore(firstColumn, lastColumn, firstRow, lastRow, firstColumn, lastColumn,
                                       firstRow, lastRow, reordered)) {
    // The block was emptied before the failure; its own cells go back, into
    // the blocks the failed copy left in the pool.
    store->CopyRangeToStore(firstColumn, lastColumn, firstRow, lastRow, firstColumn, lastColumn, firstRow, lastRow,
                            original);
    done = false;
  }
  store->ClearPageIndex(true);
  if (!done)
    error = kWorkbookOutOfMemory;
  return done;
}

bool CWorkBook::ReorderStyleRows(SheetFormat* format, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                                 uint32_t lastRow, const uint32_t* rowIndex) {
  if (!format || !ValidBlock(firstColumn, lastColumn, firstRow, lastRow, rowIndex)) {
    error = kWorkbookInvalidCacheIndex;
    return false;
  }
  CellCursor cursor;
  for (uint32_t page = firstRow >> kPageShift; page <= lastRow >> kPageShift; ++page)
    if (!format->runs.BuildPageIndex(page, &cursor))
      break;
  SheetFormat* reordered = new (std::nothrow) SheetFormat;
  bool done = reordered != nullptr;
  CellCursor out;
  out.flags = kCursorAfterRecord;
  const RowTable& rows = format->rows;
  for (uint32_t row = firstRow; done && row <= lastRow; ++row) {
    const uint32_t source = rowIndex[row - firstRow];
    CellCursor walk;
    walk.flags = kCursorAfterRecord;
    while (done) {
      const StyleRun* run = format->runs.FindFirstInRect(&walk, firstColumn, lastColumn, source, source);
      if (!run)
        break;
      StyleRun moved = *run;
      moved.row = row;
      if (moved.firstColumn < firstColumn)
        moved.firstColumn = firstColumn;
      if (moved.lastColumn > lastColumn)
        moved.lastColumn = lastColumn;
      done = reordered->runs.InsertRun(moved, &out);
    }
    // A row's height, fixed or not, travels with its cells.
    // The paste reads the heights from index 0 for the block's first row.
    const uint16_t* height = rows.At(source);
    const uint16_t size = height ? uint16_t(*height & (RowTable::kHeightMask | RowTable::kFixedHeight)) : 0;
    if (size) {
      while (done && reordered->rows.Count() < row - firstRow) done = reordered->rows.Append(0);
      done = done && reordered->rows.Append(size);
    }
  }
  format->runs.ClearPageIndex(true);
  if (done) {
    // The block's own copy comes first: the paste clears the block before it
    // fills it, and a failure then puts the old formats back.
    SheetFormat* original = new (std::nothrow) SheetFormat;
    done = original && format->CopyRect(firstColumn, lastColumn, firstRow, lastRow, original, nullptr);
    if (done && !format->PasteFormat(nullptr, firstColumn, lastColumn, firstRow, lastRow, firstColumn, lastColumn,
                                     firstRow, lastRow, *reordered, nullptr)) {
      format->PasteFormat(nullptr, firstColumn, lastColumn, firstRow, lastRow, firstColumn, lastColumn, firstRow,
                          lastRow, *original, nullptr);
      done = false;
    }
    delete original;
  }
  delete reordered;
  if (!done)
    error = kWorkbookOutOfMemory;
  return done;
}
