#include "dialogs/chart_editor/container_pages.h"

#include <cstdio>
#include <cstring>

#include <commctrl.h>

#include "core/model/container_record.h"
#include "dialogs/chart_editor/chart_font_dialog.h"
#include "dialogs/chart_editor/chart_page_controls.h"
#include "dialogs/file/image_file_dialog.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"
#include "services/settings/global_options.h"
#include "services/ui_services/window_transparency.h"

namespace {

// The edits of the "Contents/Size" page in the order of their fields, with
// their up-down controls.
const int kGridEdits[kContainerGridFields] = {IDC_CNT_COLUMNS_EDIT,  IDC_CNT_ROWS_EDIT,  IDC_CNT_HSPACING_EDIT,
                                              IDC_CNT_VSPACING_EDIT, IDC_CNT_WIDTH_EDIT, IDC_CNT_HEIGHT_EDIT};
const int kGridSpins[kContainerGridFields] = {IDC_CNT_COLUMNS_SPIN,  IDC_CNT_ROWS_SPIN,  IDC_CNT_HSPACING_SPIN,
                                              IDC_CNT_VSPACING_SPIN, IDC_CNT_WIDTH_SPIN, IDC_CNT_HEIGHT_SPIN};
const int kUnitCombos[] = {IDC_CNT_HSPACING_UNIT, IDC_CNT_VSPACING_UNIT, IDC_CNT_WIDTH_UNIT, IDC_CNT_HEIGHT_UNIT};
const int kBackgroundRadios[] = {IDC_CNT_PATTERN_RADIO, IDC_CNT_IMAGE_RADIO, IDC_CNT_FRACTAL_RADIO};

void OpenPage(HWND page) { SetWindowTransparency(page, Options.Opacity); }

}  // namespace

// "Contents/Size".

CCntWindowDlg::CCntWindowDlg() : CChartEditorPage(IDD_CONTAINER_SIZE_PAGE) {}

LRESULT CCntWindowDlg::ProcessWindowMessage(UINT msg, WPARAM, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_NOTIFY:
      if (StepEditOfUpDown(*reinterpret_cast<const NMHDR*>(lp), m_edits, kContainerGridFields)) return 1;
      break;
  }
  handled = false;
  return 0;
}

LRESULT CCntWindowDlg::OnInitDialog() {
  for (int i = 0; i < kContainerGridFields; ++i)
    m_edits[i].AttachWithUpDown(GetDlgItem(kGridEdits[i]), GetDlgItem(kGridSpins[i]));
  for (int id : kUnitCombos) {
    HWND combo = GetDlgItem(id);
    ComboAddString(combo, "pixels");
    ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
  }
  OpenPage(m_hWnd);
  return TRUE;
}

bool CCntWindowDlg::ExchangeData(bool save, const ChartPageTarget& target) {
  ContainerHeader& header = target.container->header;
  if (!save) {
    int32_t values[kContainerGridFields];
    LoadContainerGrid(header, values);
    for (int i = 0; i < kContainerGridFields; ++i) ::SetDlgItemInt(m_hWnd, kGridEdits[i], UINT(values[i]), TRUE);
    return true;
  }
  char texts[kContainerGridFields][kParsedTextCapacity];
  const char* pointers[kContainerGridFields];
  for (int i = 0; i < kContainerGridFields; ++i) {
    ::GetDlgItemTextA(m_hWnd, kGridEdits[i], texts[i], sizeof texts[i]);
    pointers[i] = texts[i];
  }
  const int refused = StoreContainerGrid(pointers, &header);
  if (refused < kContainerGridFields) {
    RefusePageControl(m_hWnd, kGridEdits[refused]);
    return false;
  }
  return true;
}

// "Window".

CCntBkgDlg::CCntBkgDlg() : CChartEditorPage(IDD_CONTAINER_WINDOW_PAGE) {}

LRESULT CCntBkgDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED) break;
      if (LOWORD(wp) == IDC_CNT_BROWSE) {
        OnBrowse();
        return 0;
      }
      if (LOWORD(wp) == IDC_CNT_FRACTAL_OPTIONS) {
        m_fractal.DoModal(::GetActiveWindow());
        return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CCntBkgDlg::OnInitDialog() {
  m_borderLine.SubclassWindow(GetDlgItem(IDC_CNT_BORDER_LINE));
  m_borderColor.SubclassWindow(GetDlgItem(IDC_CNT_BORDER_COLOR));
  m_pattern.SubclassWindow(GetDlgItem(IDC_CNT_PATTERN_COMBO));
  m_patternColor.SubclassWindow(GetDlgItem(IDC_CNT_PATTERN_COLOR));
  m_backgroundColor.SubclassWindow(GetDlgItem(IDC_CNT_BACKGROUND_COLOR));
  HWND views = GetDlgItem(IDC_CNT_IMAGE_VIEW);
  ComboAddString(views, "Original size");
  ComboAddString(views, "Fit to window");
  ComboAddString(views, "Wallpaper");
  ::SendMessageA(views, CB_SETCURSEL, 0, 0);
  ::SendMessageA(GetDlgItem(IDC_CNT_IMAGE_EDIT), EM_LIMITTEXT, kContainerImageNameSize - 1, 0);
  ::CheckDlgButton(m_hWnd, IDC_CNT_PATTERN_RADIO, BST_CHECKED);
  OpenPage(m_hWnd);
  return TRUE;
}

bool CCntBkgDlg::ExchangeData(bool save, const ChartPageTarget& target) {
  ContainerHeader& header = target.container->header;
  if (save) {
    ReadTwoCombos(m_borderLine, m_borderColor, &header.border);
    ReadThreeCombos(m_pattern, m_patternColor, m_backgroundColor, &header.fill);
    ::GetDlgItemTextA(m_hWnd, IDC_CNT_IMAGE_EDIT, header.imageName, sizeof header.imageName);
    header.imageView =
        ImageViewOfItem(static_cast<int>(::SendMessageA(GetDlgItem(IDC_CNT_IMAGE_VIEW), CB_GETCURSEL, 0, 0)));
    header.fractal = m_fractal.m_choice.numbers;
    std::memcpy(header.palette, m_fractal.m_choice.colors, sizeof header.palette);
    int checked = -1;
    for (int i = 0; i < 3; ++i)
      if (::IsDlgButtonChecked(m_hWnd, kBackgroundRadios[i]) == BST_CHECKED) checked = i;
    header.backgroundKind = BackgroundKindOfChoice(checked, header.backgroundKind);
    return true;
  }
  ShowPageLine(m_borderLine, m_borderColor, header.border, false);
  ShowPageFill(m_pattern, m_patternColor, m_backgroundColor, header.fill, true, true);
  char name[kContainerImageNameSize];
  std::memcpy(name, header.imageName, sizeof name);
  name[sizeof name - 1] = '\0';
  ::SetDlgItemTextA(m_hWnd, IDC_CNT_IMAGE_EDIT, name);
  ::SendMessageA(GetDlgItem(IDC_CNT_IMAGE_VIEW), CB_SETCURSEL, static_cast<WPARAM>(ImageViewItem(header.imageView)),
                 0);
  m_fractal.m_choice.numbers = header.fractal;
  std::memcpy(m_fractal.m_choice.colors, header.palette, sizeof m_fractal.m_choice.colors);
  const int choice = BackgroundChoiceOfKind(header.backgroundKind);
  for (int i = 0; i < 3; ++i)
    ::CheckDlgButton(m_hWnd, kBackgroundRadios[i], i == choice ? BST_CHECKED : BST_UNCHECKED);
  return true;
}

void CCntBkgDlg::OnBrowse() {
  char path[kContainerImageNameSize];
  ::GetDlgItemTextA(m_hWnd, IDC_CNT_IMAGE_EDIT, path, sizeof path);
  if (ChooseImageFile(m_hWnd, true, "Select Background Image", &BackgroundImageDialog, path, sizeof path))
    ::SetDlgItemTextA(m_hWnd, IDC_CNT_IMAGE_EDIT, path);
}

// "Titles".

CCntTitlesDlg::CCntTitlesDlg() : CChartEditorPage(IDD_CONTAINER_TITLES_PAGE) {}

LRESULT CCntTitlesDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED) break;
      if (LOWORD(wp) == IDC_CNT_TITLE_FONT) {
        RunFontDialog(::GetActiveWindow(), &m_titleFont);
        return 0;
      }
      if (LOWORD(wp) == IDC_CNT_SUBTITLE_FONT) {
        RunFontDialog(::GetActiveWindow(), &m_subtitleFont);
        return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CCntTitlesDlg::OnInitDialog() {
  ::SendMessageA(GetDlgItem(IDC_CNT_TITLE_EDIT), EM_LIMITTEXT, kContainerTextSize - 1, 0);
  ::SendMessageA(GetDlgItem(IDC_CNT_SUBTITLE_EDIT), EM_LIMITTEXT, kContainerTextSize - 1, 0);
  OpenPage(m_hWnd);
  return TRUE;
}

bool CCntTitlesDlg::ExchangeData(bool save, const ChartPageTarget& target) {
  ContainerHeader& header = target.container->header;
  if (save) {
    ::GetDlgItemTextA(m_hWnd, IDC_CNT_TITLE_EDIT, header.titleText, sizeof header.titleText);
    ::GetDlgItemTextA(m_hWnd, IDC_CNT_SUBTITLE_EDIT, header.subtitleText, sizeof header.subtitleText);
    header.titleFont = m_titleFont;
    header.subtitleFont = m_subtitleFont;
    return true;
  }
  char text[kContainerTextSize];
  std::memcpy(text, header.titleText, sizeof text);
  text[sizeof text - 1] = '\0';
  ::SetDlgItemTextA(m_hWnd, IDC_CNT_TITLE_EDIT, text);
  std::memcpy(text, header.subtitleText, sizeof text);
  text[sizeof text - 1] = '\0';
  ::SetDlgItemTextA(m_hWnd, IDC_CNT_SUBTITLE_EDIT, text);
  m_titleFont = header.titleFont;
  m_subtitleFont = header.subtitleFont;
  return true;
}
