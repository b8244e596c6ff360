#include "dialogs/sort/sort_dialog.h"

#include <commctrl.h>

#include "dialogs/controls/dialog_opening.h"
#include "dialogs/controls/field_refusal.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"

namespace {

struct KeyControls {
  int check;
  int edit;
  int spin;
  int order;
};

const KeyControls kKeyControls[kSortKeyCount] = {
    {IDC_KEY1_CHECK, IDC_KEY1_EDIT, IDC_KEY1_SPIN, IDC_KEY1_ORDER},
    {IDC_KEY2_CHECK, IDC_KEY2_EDIT, IDC_KEY2_SPIN, IDC_KEY2_ORDER},
    {IDC_KEY3_CHECK, IDC_KEY3_EDIT, IDC_KEY3_SPIN, IDC_KEY3_ORDER},
    {IDC_KEY4_CHECK, IDC_KEY4_EDIT, IDC_KEY4_SPIN, IDC_KEY4_ORDER},
    {IDC_KEY5_CHECK, IDC_KEY5_EDIT, IDC_KEY5_SPIN, IDC_KEY5_ORDER},
};

}  // namespace

CSortDlg::CSortDlg() : CDialogImpl(IDD_SORT), keys(DefaultSortKeys()) {}

LRESULT CSortDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_NOTIFY:
      if (StepEditOfUpDown(*reinterpret_cast<const NMHDR*>(lp), m_positions, kSortKeyCount)) return 1;
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

LRESULT CSortDlg::OnInitDialog() {
  for (int k = 0; k < kSortKeyCount; ++k) {
    const KeyControls& ids = kKeyControls[k];
    m_positions[k].AttachWithUpDown(GetDlgItem(ids.edit), GetDlgItem(ids.spin));
    HWND order = GetDlgItem(ids.order);
    ComboAddString(order, "Ascending order");
    ComboAddString(order, "Descending order");
    ::SendMessageA(order, CB_SETCURSEL, keys.order[k] == kSortOrderNone ? static_cast<WPARAM>(-1) : keys.order[k], 0);
    if (keys.enabled[k] > 2) keys.enabled[k] = 0;
    CheckDlgButton(m_hWnd, ids.check, keys.enabled[k]);
    SetDlgItemInt(m_hWnd, ids.edit, keys.position[k], FALSE);
  }
  PlaceOpeningDialog(m_hWnd);
  return TRUE;
}

void CSortDlg::OnOK() {
  SortKeySettings read = keys;
  for (int k = 0; k < kSortKeyCount; ++k) {
    const KeyControls& ids = kKeyControls[k];
    const LRESULT order = ::SendMessageA(GetDlgItem(ids.order), CB_GETCURSEL, 0, 0);
    read.order[k] = order == CB_ERR ? kSortOrderNone : static_cast<uint32_t>(order);
    read.enabled[k] = IsDlgButtonChecked(m_hWnd, ids.check);
    const int32_t largest = LargestSortPosition(IsSortKeyEnabled(read.enabled[k]), columns);
    int32_t position = 0;
    if (!ReadIntegerFieldOrRefuse(m_hWnd, m_positions[k], kSortPositionMinimum, largest, &position)) return;
    read.position[k] = static_cast<uint32_t>(position);
  }
  keys = read;
  EndDialog(IDOK);
}
