#include <windows.h>

#include <commctrl.h>
#include <cstdio>

#include "dialogs/controls/dialog_opening.h"
#include "dialogs/controls/field_refusal.h"
#include "dialogs/xbase/xbase_dialogs.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"

CXbaseFieldDlg::CXbaseFieldDlg(const char* name, char type, int32_t length, int32_t decimals)
    : CDialogImpl(IDD_XBASE_FIELD) {
  m_values = XBaseFieldValues{};
  std::snprintf(m_values.name, sizeof m_values.name, "%s", name);
  m_values.type = type;
  m_values.length = length;
  m_values.decimals = decimals;
}

LRESULT CXbaseFieldDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lp)->code == UDN_DELTAPOS) return OnSpin(reinterpret_cast<const NMHDR*>(lp));
      break;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) {
        if (ReadControls(true)) EndDialog(IDOK);
        return 0;
      }
      // A choice made without dropping the list (the mouse wheel) counts too.
      if (LOWORD(wp) == IDC_KIND_COMBO && (HIWORD(wp) == CBN_CLOSEUP || HIWORD(wp) == CBN_SELENDOK)) {
        OnTypeClosed();
        return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CXbaseFieldDlg::OnInitDialog() {
  PlaceOpeningDialog(m_hWnd);
  m_length.SubclassWindow(GetDlgItem(IDC_SECOND_EDIT));
  m_decimals.SubclassWindow(GetDlgItem(IDC_DECIMALS_EDIT));
  ::SendMessageA(GetDlgItem(IDC_TEXT_EDIT), EM_LIMITTEXT, kXBaseFieldNameSize - 1, 0);
  HWND types = GetDlgItem(IDC_KIND_COMBO);
  for (const char* type : kXBaseOfferedTypeNames) ComboAddString(types, type);
  ::SendMessageA(types, CB_SETEXTENDEDUI, TRUE, 0);
  ::SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(XBaseTypeItem(m_values.type)), 0);
  ApplyXBaseFieldType(&m_values, m_values.type);
  ShowValues();
  const int spins[2][2] = {{IDC_LENGTH_SPIN, IDC_SECOND_EDIT}, {IDC_DECIMALS_SPIN, IDC_DECIMALS_EDIT}};
  for (const auto& spin : spins) {
    HWND upDown = GetDlgItem(spin[0]);
    ::SendMessageA(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(spin[1])), 0);
    InitStepSpin(upDown);
  }
  return TRUE;
}

void CXbaseFieldDlg::ShowValues() {
  SetDlgItemTextA(m_hWnd, IDC_TEXT_EDIT, m_values.name);
  SetDlgItemInt(m_hWnd, IDC_SECOND_EDIT, static_cast<UINT>(m_values.length), TRUE);
  SetDlgItemInt(m_hWnd, IDC_DECIMALS_EDIT, static_cast<UINT>(m_values.decimals), TRUE);
  ::EnableWindow(GetDlgItem(IDC_SECOND_EDIT), XBaseLengthEditable(m_values.type));
  ::EnableWindow(GetDlgItem(IDC_DECIMALS_EDIT), XBaseDecimalsEditable(m_values.type));
}

bool CXbaseFieldDlg::ReadControls(bool refuse) {
  GetDlgItemTextA(m_hWnd, IDC_TEXT_EDIT, m_values.name, sizeof m_values.name);
  const struct {
    CParsedEdit* edit;
    int32_t* value;
  } numbers[] = {{&m_length, &m_values.length}, {&m_decimals, &m_values.decimals}};
  for (const auto& n : numbers) {
    if (!refuse) {
      n.edit->ReadInteger(n.value);
      continue;
    }
    if (!ReadIntegerFieldOrRefuse(m_hWnd, *n.edit, n.value)) return false;
  }
  return true;
}

void CXbaseFieldDlg::OnTypeClosed() {
  ReadControls(false);
  const int item = static_cast<int>(::SendMessageA(GetDlgItem(IDC_KIND_COMBO), CB_GETCURSEL, 0, 0));
  if (item >= 0 && item < kXBaseOfferedTypeCount) ApplyXBaseFieldType(&m_values, kXBaseOfferedTypes[item]);
  ShowValues();
}

LRESULT CXbaseFieldDlg::OnSpin(const NMHDR* header) {
  const int delta = reinterpret_cast<const NMUPDOWN*>(header)->iDelta;
  if (header->idFrom == IDC_LENGTH_SPIN) m_length.Step(delta);
  if (header->idFrom == IDC_DECIMALS_SPIN) m_decimals.Step(delta);
  return 1;  // the up-down control stays at its middle
}
