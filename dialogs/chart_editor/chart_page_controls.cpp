#include "dialogs/chart_editor/chart_page_controls.h"

#include <commctrl.h>

#include "core/base/scheme_colors.h"
#include "dialogs/controls/dialog_opening.h"
#include "resources/resource_ids.h"
#include "services/settings/global_options.h"
#include "services/ui_services/window_transparency.h"

void SetPageCheck(HWND page, int id, bool checked) { ::CheckDlgButton(page, id, checked ? BST_CHECKED : BST_UNCHECKED); }

bool IsPageChecked(HWND page, int id) { return ::IsDlgButtonChecked(page, id) == BST_CHECKED; }

void EnablePageControls(HWND page, const int* ids, size_t count, bool enable) {
  for (size_t i = 0; i < count; ++i) ::EnableWindow(::GetDlgItem(page, ids[i]), enable ? TRUE : FALSE);
}

void ReadPageText(HWND page, int id, char* out, size_t size) {
  if (size == 0)
    return;
  out[0] = '\0';
  ::GetDlgItemTextA(page, id, out, static_cast<int>(size));
}

void ShowPageLine(CLineComboBox& line, CColorComboBox& colour, const BorderLine& record, bool withWidths) {
  line.Fill(record.style, withWidths);
  const COLORREF text = GetSchemeColor(kSchemeWindowText);
  colour.SetColor(record.colorSet ? record.color : text, text, record.colorSet == 0);
}

void ShowPageFill(CPatternComboBox& pattern, CColorComboBox& first, CColorComboBox& second, const FillRecord& record,
                  bool withPatterns, bool withGradients) {
  pattern.Fill(record.pattern, withPatterns, withGradients);
  const COLORREF window = GetSchemeColor(kSchemeWindow);
  first.SetColor(record.patternColorSet ? record.patternColor : window, window, record.patternColorSet == 0);
  second.SetColor(record.backgroundColorSet ? record.backgroundColor : window, window, record.backgroundColorSet == 0);
}

bool ReadSpinStep(LPARAM notification, int* spin, int* delta) {
  const NMHDR* header = reinterpret_cast<const NMHDR*>(notification);
  if (header == nullptr || header->code != UDN_DELTAPOS)
    return false;
  *spin = static_cast<int>(header->idFrom);
  *delta = reinterpret_cast<const NMUPDOWN*>(header)->iDelta;
  return true;
}

void RefusePageControl(HWND page, int id) {
  ::MessageBeep(MB_OK);
  HWND control = ::GetDlgItem(page, id);
  ::SetFocus(control);
  ::SendMessageA(control, EM_SETSEL, 0, -1);
}

void OpenChartPage(HWND page) {
  EnableTabPageTexture(page, true);
  SetWindowTransparency(page, Options.Opacity);
}

void SendEditorApply(HWND page) {
  ::SendMessageA(::GetAncestor(page, GA_ROOT), WM_COMMAND, MAKEWPARAM(ID_CHART_APPLY, BN_CLICKED), 0);
}
