// The document window's sort commands: the sort dialog, and the sort by the
// first column of the selection at once.

#include "app/document/child_frame.h"
#include "app/document/row_sort.h"
#include "dialogs/sort/sort_dialog.h"
#include "platform/ui/wait_cursor.h"

namespace {

// The dialog's keys as last confirmed, for the whole run.
SortKeySettings& RememberedSortKeys() {
  static SortKeySettings keys = DefaultSortKeys();
  return keys;
}

}  // namespace

void CChildFrame::OnSort() {
  CDocumentView* view = ViewForCommand();
  if (view == nullptr) return;
  // The keys' positions count the columns of the range to be sorted, so
  // the dialog learns how many there are; without a range to sort, those of
  // the selection.
  const SelectionRange selection = view->Selection();
  UndoRange range{};
  const bool sortable = SortedRange(m_workbook.activeWorksheet->cells, selection, &range);
  CSortDlg dialog;
  dialog.keys = RememberedSortKeys();
  dialog.columns = sortable ? range.lastColumn - range.firstColumn + 1u
                            : selection.lastColumn - selection.firstColumn + 1u;
  if (dialog.DoModal(m_hWnd) != IDOK) return;
  RememberedSortKeys() = dialog.keys;
  if (!sortable) return;
  SortSelectionRows(range, SortColumnsOfKeys(dialog.keys, range));
}

void CChildFrame::OnSortByFirstColumn(bool ascending) {
  CDocumentView* view = ViewForCommand();
  if (view == nullptr) return;
  UndoRange range{};
  if (!SortedRange(m_workbook.activeWorksheet->cells, view->Selection(), &range)) return;
  SortSelectionRows(range, FirstColumnSort(range, ascending));
}

void CChildFrame::SortSelectionRows(const UndoRange& range, const SortColumns& columns) {
  {
    WaitCursor wait;
    if (!SortRangeRows(&m_workbook, range, columns)) {
      ShowError(m_workbook.error);
      return;
    }
  }
  InvalidateCellRange(range.firstColumn, range.lastColumn, range.firstRow, range.lastRow);
  CompleteEdit();
}
