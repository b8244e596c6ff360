// The document window's cell commands: their dispatch, and what several of
// them share.

#include "app/document/child_frame.h"

#include "app/document/quick_statistics.h"
#include "core/workbook/worksheet.h"
#include "resources/resource_ids.h"

bool CChildFrame::OnCellCommand(UINT command) {
  if (QuickStatisticTemplate(command) != nullptr) {
    OnQuickStatistic(command);
    return true;
  }
  switch (command) {
    case ID_EDIT_UNDO:
      OnEditUndo();
      return true;
    case ID_EDIT_REDO:
      OnEditRedo();
      return true;
    case ID_INCREMENT_VALUE:
    case ID_DECREMENT_VALUE:
      OnIncrementValue(command == ID_INCREMENT_VALUE);
      return true;
    case ID_CONVERT_FORMULAS:
      OnConvert(kTransformFormulasToValues);
      return true;
    case ID_CONVERT_LABELS_TO_NUMBERS:
      OnConvert(kTransformLabelsToNumbers);
      return true;
    case ID_CONVERT_NUMBERS_TO_LABELS:
      OnConvert(kTransformNumbersToLabels);
      return true;
    case ID_CONVERT_UPPERCASE:
      OnConvert(kTransformUpper);
      return true;
    case ID_CONVERT_LOWERCASE:
      OnConvert(kTransformLower);
      return true;
    case ID_CONVERT_FIRST_UPPERCASE:
      OnConvert(kTransformCapitalize);
      return true;
    case ID_SELECT_CELL_ADDRESS:
    case ID_SELECT_SHEET_ADDRESS:
    case ID_SELECT_CELL_VALUE:
      OnInsertReference(command);
      return true;
    case ID_EDIT_FIND:  // the frame leaves it here while the find bar is shown
    case ID_FIND_TEXT:
      OnFindNext();
      return true;
    case ID_REPLACE_SELECTION:
    case ID_REPLACE_ALL:
      OnReplaceAll(command == ID_REPLACE_ALL);
      return true;
    case ID_TRANSPOSE:
      OnTranspose();
      return true;
    case ID_SELECT_ROW:
      OnSelectRows();
      return true;
    case ID_SELECT_COLUMN:
      OnSelectColumns();
      return true;
    case ID_EDIT_SELECT_ALL:
      OnSelectAll();
      return true;
    case ID_INSERT_COLUMNS:
    case ID_REMOVE_COLUMNS:
      OnInsertRemoveColumns(command == ID_INSERT_COLUMNS);
      return true;
    case ID_INSERT_ROWS:
    case ID_REMOVE_ROWS:
      OnInsertRemoveRows(command == ID_INSERT_ROWS);
      return true;
    case ID_AUTO_ROW_HEIGHT:
      OnAutoRowHeight();
      return true;
    case ID_AUTO_COLUMN_WIDTH:
      OnAutoColumnWidth();
      return true;
    case ID_LOCK_FIRST_COLUMN:
      OnFreezeColumn();
      return true;
    case ID_LOCK_FIRST_ROW:
      OnFreezeRow();
      return true;
    case ID_UPDATE_DATA:
      OnUpdateData();
      return true;
    case ID_AUTOMATIC_UPDATING:
      OnAutomaticUpdating();
      return true;
    case ID_INSERT_DATE:
    case ID_INSERT_TIME:
    case ID_INSERT_DATE_TIME:
    case ID_DATE_NEXT_WEEK:
    case ID_DATE_PREVIOUS_WEEK:
    case ID_DATE_NEXT_MONTH:
    case ID_DATE_PREVIOUS_MONTH:
    case ID_DATE_END_OF_NEXT_MONTH:
    case ID_DATE_END_OF_PREVIOUS_MONTH:
      OnInsertDate(command);
      return true;
    case ID_DATA_SERIES:
      OnDataSeries();
      return true;
  }
  return false;
}

CDocumentView* CChildFrame::ViewForCommand() {
  CDocumentView* view = GetActiveView();
  if (view == nullptr || m_workbook.activeWorksheet == nullptr) return nullptr;
  EndOpenEdit();
  return view;
}

void CChildFrame::SelectRange(const SelectionRange& range) {
  CDocumentView* view = GetActiveView();
  if (view == nullptr) return;
  GridSelection& s = view->m_selection;
  s = GridSelection{};
  s.currentColumn = s.anchorColumn = range.firstColumn;
  s.currentRow = s.anchorRow = range.firstRow;
  s.endColumn = range.lastColumn;
  s.endRow = range.lastRow;
  view->UpdateScrollRanges(true, true);
  view->Invalidate();
  RefreshFrameUI();
}

void CChildFrame::CompleteLayoutChange() {
  if (CDocumentView* view = GetActiveView()) {
    view->Invalidate();
    view->SyncOtherPane();
  }
  SetModified(true);
  RefreshFrameUI();
}
