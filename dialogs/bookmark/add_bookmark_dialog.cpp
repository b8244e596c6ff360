#include "dialogs/bookmark/add_bookmark_dialog.h"

#include "dialogs/controls/dialog_opening.h"
#include "resources/resource_ids.h"

CAddBookmarkDlg::CAddBookmarkDlg() : CDialogImpl(IDD_ADD_BOOKMARK) {}

LRESULT CAddBookmarkDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      ::SendDlgItemMessageA(m_hWnd, IDC_BOOKMARK_NAME_EDIT, EM_LIMITTEXT, kNameCapacity - 1, 0);
      PlaceOpeningDialog(m_hWnd);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) {
        ::GetDlgItemTextA(m_hWnd, IDC_BOOKMARK_NAME_EDIT, m_name, sizeof m_name);
        EndDialog(IDOK);
        return 0;
      }
      break;
  }
  handled = false;
  return 0;
}
