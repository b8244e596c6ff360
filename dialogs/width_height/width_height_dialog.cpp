#include "dialogs/width_height/width_height_dialog.h"

#include <commctrl.h>
#include <cstdio>

#include "dialogs/controls/dialog_opening.h"
#include "platform/ui/message_box.h"
#include "resources/resource_ids.h"

namespace {

// The text of the string-table entry with the two numbers put in.
void FormatRangeMessage(int32_t minimum, int32_t maximum, char* text, size_t size) {
  char pattern[128];
  if (::LoadStringA(::GetModuleHandleA(nullptr), IDS_INTEGER_BETWEEN, pattern, sizeof pattern) <= 0)
    std::snprintf(pattern, sizeof pattern, "%s", "Please enter an integer between %1!d! and %2!d!.");
  DWORD_PTR arguments[] = {static_cast<DWORD_PTR>(minimum), static_cast<DWORD_PTR>(maximum)};
  if (::FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, pattern, 0, 0, text,
                       static_cast<DWORD>(size), reinterpret_cast<va_list*>(arguments)) == 0)
    std::snprintf(text, size, "Please enter an integer between %d and %d.", static_cast<int>(minimum),
                  static_cast<int>(maximum));
}

}  // namespace

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
  char text[kParsedTextCapacity];
  m_edit.GetWindowText(text, sizeof text);
  int64_t value = 0;
  if (!ParseIntegerText(text, &value)) value = 0;
  if (value >= kLineSizeMinimum && value <= kLineSizeMaximum) {
    m_value = static_cast<int32_t>(value);
    EndDialog(IDOK);
    return;
  }
  char message[160];
  FormatRangeMessage(kLineSizeMinimum, kLineSizeMaximum, message, sizeof message);
  char caption[128];
  if (::LoadStringA(::GetModuleHandleA(nullptr), IDR_MAINFRAME, caption, sizeof caption) <= 0) caption[0] = '\0';
  ShowMessageBox(m_hWnd, message, caption, MB_OK | MB_ICONEXCLAMATION);
  ::SetFocus(m_edit.m_hWnd);
}
