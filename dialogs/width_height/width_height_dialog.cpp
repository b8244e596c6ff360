#include "dialogs/width_height/width_height_dialog.h"

#include <commctrl.h>

#include "dialogs/controls/dialog_opening.h"
#include "dialogs/controls/field_refusal.h"
#include "resources/resource_ids.h"

CWidthHeightDlg::CWidthHeightDlg(uint8_t mode, int32_t value)
    : CDialogImpl(IDD_WIDTH_HEIGHT), m_mode(mode), m_value(value) {}

int CWidthHeightDlg::EditId() const {
  return m_mode == kSizeColumnWidth ? IDC_COLUMN_WIDTH_EDIT : IDC_ROW_HEIGHT_EDIT;
}

LRESULT CWidthHeightDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_NOTIFY:
      if (StepEditOfUpDown(*reinterpret_cast<const NMHDR*>(lp), &m_edit, 1)) return 1;
      break;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) {
        OnOK();
        return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CWidthHeightDlg::OnInitDialog() {
  const bool width = m_mode == kSizeColumnWidth;
  m_edit.AttachWithUpDown(GetDlgItem(EditId()), GetDlgItem(width ? IDC_COLUMN_WIDTH_SPIN : IDC_ROW_HEIGHT_SPIN));
  ::EnableWindow(GetDlgItem(width ? IDC_ROW_HEIGHT_EDIT : IDC_COLUMN_WIDTH_EDIT), FALSE);
  ::EnableWindow(GetDlgItem(width ? IDC_ROW_HEIGHT_SPIN : IDC_COLUMN_WIDTH_SPIN), FALSE);
  SetDlgItemInt(m_hWnd, EditId(), static_cast<UINT>(m_value), TRUE);
  PlaceOpeningDialog(m_hWnd);
  ::SetFocus(m_edit.m_hWnd);
  ::SendMessageA(m_edit.m_hWnd, EM_SETSEL, 0, -1);
  return FALSE;  // the focus was set here
}

void CWidthHeightDlg::OnOK() {
  // Empty, letters or a number beyond the bounds are all refused: only a
  // deliberate 0 hides the line.
  int32_t value = 0;
  if (!ReadIntegerFieldOrRefuse(m_hWnd, m_edit, &value)) return;
  m_value = value;
  EndDialog(IDOK);
}
