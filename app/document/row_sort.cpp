#include "app/document/row_sort.h"

#include <cstdlib>

#include "core/workbook/workbook.h"

namespace {

// Puts the rows back where the order took them from.
void ReverseOrder(CWorkBook* book, CWorkSheet* sheet, const UndoRange& range, const uint32_t* order,
                  uint32_t* inverse, bool styles) {
  const uint32_t count = range.lastRow - range.firstRow + 1;
  for (uint32_t k = 0; k < count; ++k) inverse[order[k] - range.firstRow] = range.firstRow + k;
  book->ReorderCellRows(&sheet->cells, range.firstColumn, range.lastColumn, range.firstRow, range.lastRow, inverse);
  if (styles)
    book->ReorderStyleRows(&sheet->format, range.firstColumn, range.lastColumn, range.firstRow, range.lastRow,
                           inverse);
}

}  // namespace

bool SortedRange(const CellStore& cells, const SelectionRange& selection, UndoRange* range) {
  uint16_t firstColumn = 0, lastColumn = 0;
  uint32_t firstRow = 0, lastRow = 0;
  if (!cells.GetUsedRange(&firstColumn, &lastColumn, &firstRow, &lastRow)) return false;
  const uint32_t left = selection.firstColumn > firstColumn ? selection.firstColumn : firstColumn;
  const uint32_t right = selection.lastColumn < lastColumn ? selection.lastColumn : lastColumn;
  const uint32_t top = selection.firstRow > firstRow ? selection.firstRow : firstRow;
  const uint32_t bottom = selection.lastRow < lastRow ? selection.lastRow : lastRow;
  if (left > right || top >= bottom) return false;
  *range = UndoRange{static_cast<uint16_t>(left), top, static_cast<uint16_t>(right), bottom};
  return true;
}

SortColumns SortColumnsOfKeys(const SortKeySettings& keys, const UndoRange& range) {
  SortColumns columns = {};
  for (int k = 0; k < kSortKeyCount; ++k) {
    const uint64_t column = uint64_t(range.firstColumn) + keys.position[k] - 1;
    if (!IsSortKeyEnabled(keys.enabled[k]) || keys.position[k] == 0 || column > range.lastColumn) continue;
    columns.column[columns.count] = static_cast<uint16_t>(column);
    columns.ascending[columns.count] = keys.order[k] == kSortAscending ? 1 : 0;
    ++columns.count;
  }
  return columns;
}

SortColumns FirstColumnSort(const UndoRange& range, bool ascending) {
  SortColumns columns = {};
  columns.count = 1;
  columns.column[0] = range.firstColumn;
  columns.ascending[0] = ascending ? 1 : 0;
  return columns;
}

bool SortRangeRows(CWorkBook* book, const UndoRange& range, const SortColumns& columns) {
  CWorkSheet* sheet = book->activeWorksheet;
  if (sheet == nullptr || range.firstRow > range.lastRow || range.lastRow > kMaxRow) {
    book->error = kWorkbookInvalidCacheIndex;
    return false;
  }
  const uint32_t count = range.lastRow - range.firstRow + 1;
  // Both arrays are had before anything moves, so that a failure later can
  // still put the rows back.
  uint32_t* order = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) * (size_t(count) + 1)));
  uint32_t* inverse = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) * size_t(count)));
  if (order == nullptr || inverse == nullptr) {
    std::free(order);
    std::free(inverse);
    book->error = kWorkbookOutOfMemory;
    return false;
  }
  book->evaluator.SortRows(&sheet->cells, range.firstRow, range.lastRow, columns.count, columns.column,
                           columns.ascending, order);
  bool done = book->ReorderCellRows(&sheet->cells, range.firstColumn, range.lastColumn, range.firstRow,
                                    range.lastRow, order);
  if (done && !book->ReorderStyleRows(&sheet->format, range.firstColumn, range.lastColumn, range.firstRow,
                                      range.lastRow, order)) {
    const uint8_t error = book->error;
    ReverseOrder(book, sheet, range, order, inverse, false);
    book->error = error;
    done = false;
  }
  if (done && !book->undoHistory.RecordSort(book, range, order)) {
    const uint8_t error = book->error;
    ReverseOrder(book, sheet, range, order, inverse, true);
    book->error = error;
    done = false;
  }
  std::free(order);
  std::free(inverse);
  return done;
}
