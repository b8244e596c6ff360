// The Background and Gridlines pages of the worksheet-format sheet.

#include "core/base/scheme_colors.h"
#include "dialogs/controls/dialog_opening.h"
#include "dialogs/file/image_file_dialog.h"
#include "dialogs/worksheet_format/view_format_choices.h"
#include "dialogs/worksheet_format/worksheet_sheet.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"
#include "services/settings/global_options.h"
#include "services/ui_services/window_transparency.h"

namespace {

// Loading a page sets its controls, which notify too: only what the user
// does to a control shown and focused counts as a change.
bool IsUserChange(HWND control) { return ::IsWindowVisible(control) && ::GetFocus() == control; }

bool IsComboChoice(HWND combo, WORD code) {
  if (code == CBN_SELENDOK) return true;
  // Keys change a closed list at once.
  return code == CBN_SELCHANGE && !::SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0);
}

void OpenPage(HWND page) {
  EnableTabPageTexture(page, true);
  SetWindowTransparency(page, Options.Opacity);
}

}  // namespace

CViewPropPage::CViewPropPage(CWorksheetPropSheet* sheet) : CDialogImpl(IDD_SHEET_BACKGROUND_PAGE), m_sheet(sheet) {}

LRESULT CViewPropPage::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      // The colour boxes hear of their own notifications too (a closed-up
      // "custom" entry opens the colour dialog); Enter and Esc go on to
      // the sheet.
      handled = false;
      return 0;
  }
  handled = false;
  return 0;
}

LRESULT CViewPropPage::OnInitDialog() {
  m_pattern.SubclassWindow(GetDlgItem(IDC_PATTERN_COMBO));
  m_patternColor.SubclassWindow(GetDlgItem(IDC_PATTERN_COLOR_COMBO));
  m_backgroundColor.SubclassWindow(GetDlgItem(IDC_BACKGROUND_COLOR_COMBO));
  ::SendMessageA(GetDlgItem(IDC_IMAGE_PATH_EDIT), EM_LIMITTEXT, kViewImagePathSize - 1, 0);
  HWND sizes = GetDlgItem(IDC_IMAGE_SIZE_COMBO);
  ComboAddString(sizes, "Original size");
  ComboAddString(sizes, "Fit to window");
  ComboAddString(sizes, "Wallpaper");
  OpenPage(m_hWnd);
  return TRUE;
}

void CViewPropPage::Load() {
  const WorksheetViewFormat& format = m_sheet->Format();
  const FillRecord& fill = format.fill;
  const bool image = format.backgroundMode == kBackgroundImage;
  CheckDlgButton(m_hWnd, IDC_PATTERN_RADIO, image ? BST_UNCHECKED : BST_CHECKED);
  CheckDlgButton(m_hWnd, IDC_IMAGE_RADIO, image ? BST_CHECKED : BST_UNCHECKED);
  m_pattern.Fill(fill.pattern, true, true);
  const COLORREF window = GetSchemeColor(kSchemeWindow);
  m_patternColor.SetColor(fill.patternColor, window, fill.patternColorSet == 0);
  m_backgroundColor.SetColor(fill.backgroundColor, window, fill.backgroundColorSet == 0);
  SetDlgItemTextA(m_hWnd, IDC_IMAGE_PATH_EDIT, format.imagePath);
  ::SendMessageA(GetDlgItem(IDC_IMAGE_SIZE_COMBO), CB_SETCURSEL, format.imageSizeMode, 0);
}

void CViewPropPage::OnCommand(WORD id, WORD code, HWND control) {
  switch (id) {
    case IDC_PATTERN_RADIO:
    case IDC_IMAGE_RADIO:
      if (code == BN_CLICKED && IsUserChange(control)) StoreAndApply();
      return;
    case IDC_PATTERN_COMBO:
    case IDC_PATTERN_COLOR_COMBO:
    case IDC_BACKGROUND_COLOR_COMBO:
    case IDC_IMAGE_SIZE_COMBO:
      if (IsComboChoice(control, code) && IsUserChange(control)) StoreAndApply();
      return;
    case IDC_IMAGE_PATH_EDIT:
      if (code == EN_CHANGE && IsUserChange(control)) StoreAndApply();
      return;
    case IDC_BROWSE_BUTTON:
      if (code == BN_CLICKED) OnBrowse();
      return;
  }
}

void CViewPropPage::StoreAndApply() {
  FillRecord fill{};
  ReadThreeCombos(m_pattern, m_patternColor, m_backgroundColor, &fill);
  char path[kViewImagePathSize];
  GetDlgItemTextA(m_hWnd, IDC_IMAGE_PATH_EDIT, path, sizeof path);
  const LRESULT size = ::SendMessageA(GetDlgItem(IDC_IMAGE_SIZE_COMBO), CB_GETCURSEL, 0, 0);
  const bool image = IsDlgButtonChecked(m_hWnd, IDC_IMAGE_RADIO) == BST_CHECKED;
  StoreBackgroundChoice(&m_sheet->BeginPageChange(), image, fill, path,
                        static_cast<uint8_t>(size == CB_ERR ? 0 : size));
  m_sheet->CommitPageChange();
}

void CViewPropPage::OnBrowse() {
  char path[kViewImagePathSize];
  GetDlgItemTextA(m_hWnd, IDC_IMAGE_PATH_EDIT, path, sizeof path);
  if (!ChooseImageFile(m_hWnd, true, "Select Background Image", &BackgroundImageDialog, path, sizeof path)) return;
  SetDlgItemTextA(m_hWnd, IDC_IMAGE_PATH_EDIT, path);
  StoreAndApply();
}

CGridPropPage::CGridPropPage(CWorksheetPropSheet* sheet) : CDialogImpl(IDD_GRIDLINES_PAGE), m_sheet(sheet) {}

LRESULT CGridPropPage::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      m_colour.SubclassWindow(GetDlgItem(IDC_GRID_COLOR_COMBO));
      OpenPage(m_hWnd);
      return TRUE;
    case WM_COMMAND: {
      const HWND control = reinterpret_cast<HWND>(lp);
      const WORD code = HIWORD(wp);
      const bool checkClicked = LOWORD(wp) == IDC_GRIDLINES_CHECK && code == BN_CLICKED;
      const bool colourChosen = LOWORD(wp) == IDC_GRID_COLOR_COMBO && IsComboChoice(control, code);
      if ((checkClicked || colourChosen) && IsUserChange(control)) StoreAndApply();
      // As on the background page: the colour box and the sheet hear of it too.
      handled = false;
      return 0;
    }
  }
  handled = false;
  return 0;
}

void CGridPropPage::Load() {
  const WorksheetViewFormat& format = m_sheet->Format();
  CheckDlgButton(m_hWnd, IDC_GRIDLINES_CHECK, format.gridLines ? BST_CHECKED : BST_UNCHECKED);
  m_colour.SetColor(format.gridColor, GetSchemeColor(kSchemeButtonFace), format.gridColorSet == 0);
}

void CGridPropPage::StoreAndApply() {
  const bool shown = IsDlgButtonChecked(m_hWnd, IDC_GRIDLINES_CHECK) == BST_CHECKED;
  StoreGridlinesChoice(&m_sheet->BeginPageChange(), shown, m_colour.IsDefault(), m_colour.GetColor());
  m_sheet->CommitPageChange();
}
