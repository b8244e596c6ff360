#include "dialogs/protection/protection_dialogs.h"

#include "services/messages/message_boxes.h"
#include "core/workbook/workbook.h"
#include "dialogs/controls/dialog_opening.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kProtectionHelpTopic = 3;
// A workbook keeps a shorter password than the dialog could take; a longer
// one would be saved cut short and never match what the user types again.
constexpr int kNewPasswordLimit = static_cast<int>(kWorkbookPasswordSize) - 1;
constexpr int kTypedPasswordLimit = static_cast<int>(kProtectPasswordCapacity) - 1;

}  // namespace

CProtectDlg::CProtectDlg() : CDialogImpl(IDD_PROTECTION) {}

LRESULT CProtectDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDOK: OnOK(); return 0;
        case ID_HELP: ShowDialogHelp(kProtectionHelpTopic); return 0;
        case IDC_FIRST_RADIO:
        case IDC_SECOND_RADIO:
          if (HIWORD(wp) != BN_CLICKED) break;
          choice.protect = IsDlgButtonChecked(m_hWnd, IDC_SECOND_RADIO) == BST_CHECKED ? 1 : 0;
          EnablePasswordControls();
          return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CProtectDlg::OnInitDialog() {
  PlaceOpeningDialog(m_hWnd);
  HWND encryption = GetDlgItem(IDC_KIND_COMBO);
  ComboAddString(encryption, "RC4 40-bit encryption");
  ComboAddString(encryption, "RC4 128-bit encryption");
  ::SendMessageA(encryption, CB_SETCURSEL, choice.encryption, 0);
  ::SendMessageA(GetDlgItem(IDC_TEXT_EDIT), EM_LIMITTEXT, kNewPasswordLimit, 0);
  ::SendMessageA(GetDlgItem(IDC_SECOND_EDIT), EM_LIMITTEXT, kNewPasswordLimit, 0);
  SetDlgItemTextA(m_hWnd, IDC_TEXT_EDIT, password);
  SetDlgItemTextA(m_hWnd, IDC_SECOND_EDIT, "");
  CheckDlgButton(m_hWnd, IDC_READ_ONLY_CHECK, choice.readOnlyAllowed ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hWnd, choice.protect != 0 ? IDC_SECOND_RADIO : IDC_FIRST_RADIO, BST_CHECKED);
  EnablePasswordControls();
  return TRUE;
}

void CProtectDlg::EnablePasswordControls() {
  static const int kIds[] = {IDC_TEXT_EDIT, IDC_SECOND_EDIT, IDC_READ_ONLY_CHECK};
  for (int id : kIds) ::EnableWindow(GetDlgItem(id), choice.protect != 0);
}

void CProtectDlg::OnOK() {
  choice.protect = IsDlgButtonChecked(m_hWnd, IDC_SECOND_RADIO) == BST_CHECKED ? 1 : 0;
  const LRESULT encryption = ::SendMessageA(GetDlgItem(IDC_KIND_COMBO), CB_GETCURSEL, 0, 0);
  if (encryption != CB_ERR) choice.encryption = static_cast<uint32_t>(encryption);
  if (choice.protect == 0) {
    EndDialog(IDOK);
    return;
  }
  choice.readOnlyAllowed = IsDlgButtonChecked(m_hWnd, IDC_READ_ONLY_CHECK) == BST_CHECKED ? 1 : 0;
  if (choice.readOnlyAllowed && ShowMessageRes(IDS_READ_ONLY_WARNING, MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) != IDYES)
    return;
  GetDlgItemTextA(m_hWnd, IDC_TEXT_EDIT, password, kNewPasswordLimit + 1);
  GetDlgItemTextA(m_hWnd, IDC_SECOND_EDIT, confirmation, kNewPasswordLimit + 1);
  switch (PasswordEntryProblem(password, confirmation)) {
    case IDS_PASSWORD_TOO_SHORT: RefuseField(IDC_TEXT_EDIT, IDS_PASSWORD_TOO_SHORT); return;
    case IDS_PASSWORDS_DIFFER: RefuseField(IDC_SECOND_EDIT, IDS_PASSWORDS_DIFFER); return;
  }
  EndDialog(IDOK);
}

void CProtectDlg::RefuseField(int id, UINT message) {
  ShowMessageRes(message, MB_OK | MB_ICONEXCLAMATION);
  HWND edit = GetDlgItem(id);
  ::SetFocus(edit);
  ::SendMessageA(edit, EM_SETSEL, 0, -1);
}

CPasswordDlg::CPasswordDlg(bool offered) : CDialogImpl(IDD_PASSWORD), readOnlyOffered(offered ? 1 : 0) {}

LRESULT CPasswordDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) {
        GetDlgItemTextA(m_hWnd, IDC_TEXT_EDIT, password, sizeof password);
        EndDialog(IDOK);
        return 0;
      }
      if (LOWORD(wp) == IDC_SIDE_BUTTON) {
        readOnlyChosen = 1;
        EndDialog(IDOK);
        return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CPasswordDlg::OnInitDialog() {
  PlaceOpeningDialog(m_hWnd);
  ::SendMessageA(GetDlgItem(IDC_TEXT_EDIT), EM_LIMITTEXT, kTypedPasswordLimit, 0);
  ::EnableWindow(GetDlgItem(IDC_SIDE_BUTTON), readOnlyOffered != 0);
  return TRUE;
}
