#include "dialogs/chart_editor/fractal_dialog.h"

#include "core/base/scheme_colors.h"
#include "core/numfmt/regional_settings.h"
#include "dialogs/controls/dialog_opening.h"
#include "resources/resource_ids.h"

namespace {

const int kNumberEdits[kFractalNumbers] = {205, 257, 405, 207, 1006, 1005};
const int kColorCombos[kPaletteSize] = {215,  229,  1019, 1021, 221,  1059, 220,  1028,
                                        1029, 1030, 1031, 1032, 1033, 1034, 1035, 1036};

}  // namespace

CFractalDlg::CFractalDlg() : CDialogImpl(IDD_FRACTAL), m_separator(CurrentRegionalSettings().decimalSeparator) {}

LRESULT CFractalDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDOK:
          OnOK();
          return 0;
        case IDCANCEL:
          EndDialog(IDCANCEL);
          return 0;
        case IDC_FRACTAL_RESET:
          if (HIWORD(wp) == BN_CLICKED) {
            m_choice.Reset(m_separator);
            ShowChoice();
          }
          return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CFractalDlg::OnInitDialog() {
  for (int i = 0; i < kFractalNumbers; ++i)
    ::SendMessageA(GetDlgItem(kNumberEdits[i]), EM_LIMITTEXT, kFractalTextLimit, 0);
  for (int i = 0; i < kPaletteSize; ++i) m_colors[i].SubclassWindow(GetDlgItem(kColorCombos[i]));
  m_choice.Show(m_separator);
  ShowChoice();
  PlaceOpeningDialog(m_hWnd);
  return TRUE;
}

void CFractalDlg::ShowChoice() {
  for (int i = 0; i < kFractalNumbers; ++i) ::SetDlgItemTextA(m_hWnd, kNumberEdits[i], m_choice.shownTexts[i]);
  const COLORREF window = GetSchemeColor(kSchemeWindow);
  for (int i = 0; i < kPaletteSize; ++i) m_colors[i].SetColor(m_choice.shownColors[i], window, false);
}

void CFractalDlg::OnOK() {
  for (int i = 0; i < kFractalNumbers; ++i)
    ::GetDlgItemTextA(m_hWnd, kNumberEdits[i], m_choice.shownTexts[i], sizeof m_choice.shownTexts[i]);
  for (int i = 0; i < kPaletteSize; ++i)
    if (::SendMessageA(m_colors[i].m_hWnd, CB_GETCURSEL, 0, 0) >= 0) m_choice.shownColors[i] = m_colors[i].GetColor();
  const int refused = m_choice.Accept(m_separator);
  if (refused < kFractalNumbers) {
    ::MessageBeep(MB_OK);
    ::SetFocus(GetDlgItem(kNumberEdits[refused]));
    return;
  }
  EndDialog(IDOK);
}
