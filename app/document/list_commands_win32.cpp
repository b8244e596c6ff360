// The drop-down list command: the list editor over the workbook's lists,
// and the chosen list applied to the selection.

#include "app/document/child_frame.h"
#include "app/document/selection_appliers.h"
#include "app/document/selection_format.h"
#include "app/frame/main_frame.h"
#include "dialogs/drop_down_lists/list_dialogs.h"

void CChildFrame::OnDropDownList() {
  CDocumentView* view = ViewForCommand();
  if (view == nullptr) return;
  CWorkSheet* sheet = m_workbook.activeWorksheet;
  const SelectionRange s = view->Selection();
  StyleRecord style{};
  FontRecord font{};
  uint8_t marks[kStyleMarkCount];
  const uint16_t column = static_cast<uint16_t>(s.firstColumn);
  sheet->format.CompareStylesInRange(m_workbook.styles, column, column, s.firstRow, s.firstRow, &style, &font, marks);
  CInputListDlg dialog(m_workbook.dropDownLists, style);
  const INT_PTR result = dialog.DoModal(m_hWnd);
  if (dialog.ListsChanged()) SetModified(true);
  if (result == IDOK) ApplyDropDownListToSelection(m_owner, dialog.Style());
}

bool ApplyDropDownListToSelection(CMainFrame* frame, const StyleRecord& templateStyle) {
  CChildFrame* child = frame != nullptr ? frame->GetActiveChildFrame() : nullptr;
  CDocumentView* view = child != nullptr ? child->GetActiveView() : nullptr;
  if (view == nullptr || child->Workbook()->activeWorksheet == nullptr) return true;
  CWorkBook* book = child->Workbook();
  const SelectionRange s = view->Selection();
  if (!ApplyAttributeToSelection(book, s, kApplyDropDown, templateStyle, FontRecord{})) {
    child->ShowError(book->error);
    return false;
  }
  child->RefreshFrameUI();
  child->SetModified(true);
  child->InvalidateCellRange(s.firstColumn, s.lastColumn, s.firstRow, s.lastRow);
  return true;
}
