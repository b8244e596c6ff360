#ifndef TALVERO_APP_DOCUMENT_ROW_SORT_H
#define TALVERO_APP_DOCUMENT_ROW_SORT_H

// The sort commands' work on the workbook: which rows of a selection are
// sorted, which columns order them, and the reordering of cells and styles
// as one undo step.

#include <cstdint>

#include "core/workbook/undo_history.h"
#include "dialogs/sort/sort_keys.h"
#include "view/painting/selection_painter.h"

class CellStore;
class CWorkBook;

// The selection clamped to the rectangle of cells the worksheet holds.
// False when that leaves nothing to sort: no cell in it, or a single row.
bool SortedRange(const CellStore& cells, const SelectionRange& selection, UndoRange* range);

struct SortColumns {
  uint32_t count;
  uint16_t column[kSortKeyCount];
  uint8_t ascending[kSortKeyCount];
};

// The enabled keys, key 1 first, each as the range's column at its position
// (1 the range's first column), ascending for order 0. A key whose column
// lies outside the range is left out: it would order the rows by cells that
// do not move with them.
SortColumns SortColumnsOfKeys(const SortKeySettings& keys, const UndoRange& range);
// The first column alone, ascending or descending.
SortColumns FirstColumnSort(const UndoRange& range, bool ascending);

// Orders the rows of the active worksheet's range by the columns, cells and
// styles alike, and records the order as one undo step. False with the
// workbook's error and the worksheet as it was: 8 when the order cannot be
// kept, the reordering's code when it fails.
bool SortRangeRows(CWorkBook* book, const UndoRange& range, const SortColumns& columns);

#endif
