// The drop-down list command: the list editor over the workbook's lists,
// and the chosen list applied to the selection.

#include "app/document/child_frame.h"
#include "app/frame/main_frame.h"
#include "dialogs/drop_down_lists/list_dialogs.h"
#include "dialogs/format_cells/selection_appliers.h"

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
