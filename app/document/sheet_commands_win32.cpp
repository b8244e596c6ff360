// The document window's commands that open the program's small dialogs on
// the worksheet: row heights and column widths by number, and the
// dispatch of the search, sort, drop-down list, protection and statistics
// commands.

#include "app/document/cell_search.h"
#include "app/document/child_frame.h"
#include "app/document/line_sizes.h"
#include "dialogs/width_height/width_height_dialog.h"
#include "platform/ui/wait_cursor.h"
#include "resources/resource_ids.h"
#include "view/geometry/sheet_sizes.h"

namespace {

constexpr uint16_t kFullZoom = 100;

}  // namespace

bool CChildFrame::OnSheetCommand(UINT command) {
  const CellSearchCommand search = CellSearchOfCommand(command);
  if (search.action != kCommandNotASearch) {
    if (search.downward)
      OnFindNext(command);
    else
      OnFindPrevious(command);
    return true;
  }
  switch (command) {
    case ID_ROW_HEIGHT:
      OnRowHeight();
      return true;
    case ID_COLUMN_WIDTH:
      OnColumnWidth();
      return true;
    case ID_SORT:
      OnSort();
      return true;
    case ID_SORT_ASCENDING:
    case ID_SORT_DESCENDING:
      OnSortByFirstColumn(command == ID_SORT_ASCENDING);
      return true;
    case ID_DROP_DOWN_LIST:
      OnDropDownList();
      return true;
    case ID_PROTECTION:
      OnProtection();
      return true;
    case ID_WORKBOOK_STATISTICS:
      OnStatistics();
      return true;
  }
  return false;
}

void CChildFrame::OnRowHeight() {
  CDocumentView* view = ViewForCommand();
  if (view == nullptr) return;
  const SelectionRange s = view->Selection();
  CWidthHeightDlg dialog(kSizeRowHeight, GetRowHeight(m_workbook.activeWorksheet, s.firstRow, kFullZoom));
  if (dialog.DoModal(m_hWnd) != IDOK) return;
  {
    WaitCursor wait;
    if (!SetRowHeights(&m_workbook, s.firstRow, s.lastRow, static_cast<uint16_t>(dialog.Value()))) {
      ShowError(m_workbook.error);
      return;
    }
  }
  CompleteLayoutChange();
}

void CChildFrame::OnColumnWidth() {
  CDocumentView* view = ViewForCommand();
  if (view == nullptr) return;
  const SelectionRange s = view->Selection();
  CWidthHeightDlg dialog(kSizeColumnWidth, GetColumnWidth(m_workbook.activeWorksheet, s.firstColumn, kFullZoom));
  if (dialog.DoModal(m_hWnd) != IDOK) return;
  if (!SetColumnWidths(&m_workbook, static_cast<uint16_t>(s.firstColumn), static_cast<uint16_t>(s.lastColumn),
                       static_cast<uint16_t>(dialog.Value()))) {
    ShowError(m_workbook.error);
    return;
  }
  CompleteLayoutChange();
}
