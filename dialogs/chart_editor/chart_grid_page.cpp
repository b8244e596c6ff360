#include "dialogs/chart_editor/chart_grid_page.h"

#include <commctrl.h>

#include "core/base/scheme_colors.h"
#include "core/numfmt/regional_settings.h"
#include "dialogs/chart_editor/chart_editor.h"
#include "dialogs/chart_editor/chart_page_controls.h"
#include "dialogs/chart_editor/page_numbers.h"
#include "dialogs/controls/color_items.h"
#include "dialogs/controls/dialog_opening.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"
#include "services/convert/number_text.h"
#include "view/draw_context/draw_context.h"

namespace {

constexpr int kValueTextLimit = 329;
constexpr int kButtonSize = 25;
constexpr int kCellInset = 4;
const UINT kButtonIds[2] = {ID_ADD_USER_GRIDLINE, ID_DELETE_USER_GRIDLINE};
const char* const kButtonTips[2] = {"Add a user-defined gridline", "Delete the selected user-defined gridline"};
const int kButtonImages[2] = {5, 6};
const int kButtonYUnits[2] = {36, 54};
constexpr int kButtonXUnits = 253;
constexpr UINT kButtonBarFirstId = 600;

}  // namespace

CUserGridDlg::CUserGridDlg() : CDialogImpl(IDD_USER_GRIDLINE) {}

LRESULT CUserGridDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
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

LRESULT CUserGridDlg::OnInitDialog() {
  m_style.SubclassWindow(GetDlgItem(IDC_GRIDLINE_STYLE_COMBO));
  m_colour.SubclassWindow(GetDlgItem(IDC_GRIDLINE_COLOR_COMBO));
  ShowPageLine(m_style, m_colour, line, false);
  SendDlgItemMessageA(m_hWnd, IDC_GRIDLINE_VALUE_EDIT, EM_LIMITTEXT, kValueTextLimit, 0);
  char text[kFormatDoubleCapacity];
  if (FormatDouble(text, sizeof text, CurrentRegionalSettings().decimalSeparator, value, -1) == 0)
    text[0] = '\0';
  SetDlgItemTextA(m_hWnd, IDC_GRIDLINE_VALUE_EDIT, text);
  PlaceOpeningDialog(m_hWnd);
  return TRUE;
}

void CUserGridDlg::OnOK() {
  char text[kValueTextLimit + 1];
  ReadPageText(m_hWnd, IDC_GRIDLINE_VALUE_EDIT, text, sizeof text);
  double parsed = 0;
  if (!ParsePageNumber(text, CurrentRegionalSettings().decimalSeparator, &parsed)) {
    RefusePageControl(m_hWnd, IDC_GRIDLINE_VALUE_EDIT);
    return;
  }
  value = parsed;
  ReadTwoCombos(m_style, m_colour, &line);
  EndDialog(IDOK);
}

CChartGridDlg::CChartGridDlg() : CChartEditorPage(IDD_CHART_GRID_PAGE) {}

LRESULT CChartGridDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case ID_ADD_USER_GRIDLINE:
          AddUserGridline();
          return 0;
        case ID_DELETE_USER_GRIDLINE:
          DeleteUserGridline();
          return 0;
        case IDC_USER_GRID_LIST:
          if (HIWORD(wp) == LBN_DBLCLK) {
            EditUserGridline();
            return 0;
          }
          break;
      }
      break;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lp);
      if (header->code == TTN_GETDISPINFOA) {
        for (int i = 0; i < 2; ++i)
          if (header->idFrom == kButtonIds[i])
            reinterpret_cast<NMTTDISPINFOA*>(lp)->lpszText = const_cast<char*>(kButtonTips[i]);
        return 0;
      }
      // The columns keep their widths.
      if (header->hwndFrom == m_header && (header->code == HDN_BEGINTRACKA || header->code == HDN_BEGINTRACKW))
        return TRUE;
      break;
    }
    case WM_MEASUREITEM: {
      MEASUREITEMSTRUCT* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (item->CtlID != IDC_USER_GRID_LIST)
        break;
      item->itemHeight = MeasureListItemHeight(m_hWnd);
      return TRUE;
    }
    case WM_DRAWITEM:
      if (wp != IDC_USER_GRID_LIST)
        break;
      DrawUserGridRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_DESTROY:
      m_list = m_header = nullptr;
      handled = false;
      return 0;
  }
  handled = false;
  return 0;
}

LRESULT CChartGridDlg::OnInitDialog() {
  m_major.SubclassWindow(GetDlgItem(IDC_MAJOR_GRID_COMBO));
  m_majorColour.SubclassWindow(GetDlgItem(IDC_MAJOR_GRID_COLOR_COMBO));
  m_minor.SubclassWindow(GetDlgItem(IDC_MINOR_GRID_COMBO));
  m_minorColour.SubclassWindow(GetDlgItem(IDC_MINOR_GRID_COLOR_COMBO));
  CreateUserGridControls();
  OpenChartPage(m_hWnd);
  return TRUE;
}

void CChartGridDlg::CreateUserGridControls() {
  const RECT frame = ChildRect(m_hWnd, IDC_USER_GRID_FRAME);
  const HGDIOBJ font = ::GetStockObject(DEFAULT_GUI_FONT);
  const RECT headerRect = {frame.left, frame.top, frame.right, frame.top + ::GetSystemMetrics(SM_CYMENU)};
  m_header = CreateControl(WC_HEADERA, m_hWnd, IDC_USER_GRID_HEADER, WS_CHILD | WS_VISIBLE | HDS_HORZ, 0, &headerRect);
  if (m_header != nullptr) {
    ::SendMessageA(m_header, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const char* const texts[2] = {"User-defined Value", "Style"};
    const int half = (frame.right - frame.left) / 2;
    for (int i = 0; i < 2; ++i) {
      HDITEMA item = {};
      item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
      item.fmt = HDF_LEFT | HDF_STRING;
      item.cxy = half;
      item.pszText = const_cast<char*>(texts[i]);
      ::SendMessageA(m_header, HDM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
  }
  const RECT listRect = {headerRect.left, headerRect.bottom, headerRect.right, frame.bottom};
  m_list = CreateControl("LISTBOX", m_hWnd, IDC_USER_GRID_LIST,
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT |
                             LBS_NOTIFY,
                         WS_EX_CLIENTEDGE, &listRect);
  if (m_list != nullptr)
    ::SendMessageA(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (int i = 0; i < 2; ++i) {
    HWND bar = CreateToolBar(m_hWnd, kButtonBarFirstId + static_cast<UINT>(i));
    m_buttons[i] = bar;
    if (bar == nullptr)
      continue;
    SetToolBarImages(bar);
    const ToolBarButton button = {kButtonImages[i], kButtonIds[i], BTNS_BUTTON, nullptr, 0};
    ToolBarAddButtons(bar, &button, 1);
    RECT units = {kButtonXUnits, kButtonYUnits[i], 0, 0};
    MapDialogRect(m_hWnd, &units);
    ::SetWindowPos(bar, nullptr, units.left, units.top, kButtonSize, kButtonSize, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

bool CChartGridDlg::ExchangeData(bool save, const ChartPageTarget& target) {
  ChartRecord* chart = target.chart;
  if (save) {
    if (chart == nullptr)
      return true;
    ReadTwoCombos(m_major, m_majorColour, &m_values.major);
    ReadTwoCombos(m_minor, m_minorColour, &m_values.minor);
    StoreGridPage(m_values, chart, target.series);
    return true;
  }
  GridPageValues values = {};
  values.major.style = values.minor.style = 1;
  if (chart != nullptr)
    LoadGridPage(*chart, target.series, &values);
  m_values = values;
  const bool lines = values.mode != kAxisPageDisabled;
  const bool full = values.mode == kAxisPageFull;
  static const int kCombos[] = {IDC_MAJOR_GRID_COMBO, IDC_MAJOR_GRID_COLOR_COMBO, IDC_MINOR_GRID_COMBO,
                                IDC_MINOR_GRID_COLOR_COMBO, IDC_USER_GRID_LIST};
  EnablePageControls(m_hWnd, kCombos, sizeof kCombos / sizeof kCombos[0], lines);
  for (HWND bar : m_buttons)
    if (bar != nullptr)
      ::EnableWindow(bar, full);
  ShowPageLine(m_major, m_majorColour, values.major, false);
  ShowPageLine(m_minor, m_minorColour, values.minor, false);
  if (m_list != nullptr) {
    ::SendMessageA(m_list, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < values.userCount; ++i) ::SendMessageA(m_list, LB_ADDSTRING, 0, i);
  }
  return true;
}

void CChartGridDlg::AddUserGridline() {
  if (m_values.mode != kAxisPageFull)
    return;
  if (m_values.userCount >= kSeriesUserGridLines) {
    ::MessageBeep(MB_OK);
    return;
  }
  CUserGridDlg dialog;
  if (dialog.DoModal(::GetActiveWindow()) != IDOK)
    return;
  if (::AddUserGridline(&m_values, dialog.value, dialog.line) && m_list != nullptr)
    ::SendMessageA(m_list, LB_ADDSTRING, 0, m_values.userCount - 1);
}

void CChartGridDlg::EditUserGridline() {
  const int row = m_list != nullptr ? static_cast<int>(::SendMessageA(m_list, LB_GETCURSEL, 0, 0)) : -1;
  if (m_values.mode != kAxisPageFull || row < 0 || row >= m_values.userCount)
    return;
  CUserGridDlg dialog;
  dialog.value = m_values.userValues[row];
  dialog.line = m_values.userLines[row];
  if (dialog.DoModal(::GetActiveWindow()) != IDOK)
    return;
  m_values.userValues[row] = dialog.value;
  m_values.userLines[row] = dialog.line;
  ::InvalidateRect(m_list, nullptr, TRUE);
}

void CChartGridDlg::DeleteUserGridline() {
  const int row = m_list != nullptr ? static_cast<int>(::SendMessageA(m_list, LB_GETCURSEL, 0, 0)) : -1;
  if (m_values.mode != kAxisPageFull || row < 0 || row >= m_values.userCount)
    return;
  const int next = ::DeleteUserGridline(&m_values, row);
  ::SendMessageA(m_list, LB_DELETESTRING, static_cast<WPARAM>(m_values.userCount), 0);
  ::SendMessageA(m_list, LB_SETCURSEL, static_cast<WPARAM>(next), 0);
  ::InvalidateRect(m_list, nullptr, TRUE);
}

void CChartGridDlg::DrawUserGridRow(const DRAWITEMSTRUCT& item) {
  const int row = static_cast<int>(item.itemID);
  if (row < 0 || row >= m_values.userCount || m_header == nullptr)
    return;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const COLORREF text = ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  ::SetTextColor(item.hDC, text);
  ::SetBkMode(item.hDC, TRANSPARENT);
  RECT columns[2];
  for (int i = 0; i < 2; ++i) {
    RECT header = {};
    ::SendMessageA(m_header, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&header));
    columns[i] = {header.left + kCellInset, item.rcItem.top, header.right - kCellInset, item.rcItem.bottom};
  }
  char value[kFormatDoubleCapacity];
  if (FormatDouble(value, sizeof value, CurrentRegionalSettings().decimalSeparator, m_values.userValues[row], -1) == 0)
    value[0] = '\0';
  ::DrawTextA(item.hDC, value, -1, &columns[0], DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  const BorderLine& line = m_values.userLines[row];
  RECT& style = columns[1];
  const int middle = (style.left + style.right) / 2;
  if (line.style == 0) {
    RECT none = {style.left + 5, style.top, middle - 5, style.bottom};
    ::DrawTextA(item.hDC, "None", -1, &none, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  } else {
    DrawContext dc;
    dc.AttachDC(item.hDC);
    if (dc.SelectPen(line.style, text, 100)) {
      const int y = (style.top + style.bottom) / 2;
      dc.Line(style.left + 5, y, middle - 5, y);
    }
  }
  const COLORREF colour = line.colorSet ? line.color : GetSchemeColor(kSchemeWindowText);
  RECT swatch = {middle + 2, style.top + 3, middle + 25, style.bottom - 2};
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(item.hDC, &swatch, brush);
  ::DeleteObject(brush);
  HBRUSH frame = ::CreateSolidBrush(text);
  ::FrameRect(item.hDC, &swatch, frame);
  ::DeleteObject(frame);
  RECT name = {middle + 30, style.top, style.right - 2, style.bottom};
  ::DrawTextA(item.hDC, GetColorName(colour, line.colorSet == 0), -1, &name,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}
