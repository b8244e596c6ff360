#include "dialogs/number_format/style_name_dlg.h"

#include "dialogs/controls/dialog_opening.h"
#include "resources/resource_ids.h"

CStyleNameDlg::CStyleNameDlg() : CDialogImpl(IDD_STYLE_NAME) {}

LRESULT CStyleNameDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      PlaceOpeningDialog(m_hWnd);
      ::SendMessageA(GetDlgItem(IDC_TEXT_EDIT), EM_LIMITTEXT, kUserFormatTextSize - 1, 0);
      SetDlgItemTextA(m_hWnd, IDC_TEXT_EDIT, name);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) {
        GetDlgItemTextA(m_hWnd, IDC_TEXT_EDIT, name, sizeof name);
        EndDialog(IDOK);
        return 0;
      }
      break;
  }
  handled = false;
  return 0;
}
