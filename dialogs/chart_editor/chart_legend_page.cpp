#include "dialogs/chart_editor/chart_legend_page.h"

#include <initializer_list>

#include "dialogs/chart_editor/chart_font_dialog.h"
#include "dialogs/chart_editor/chart_page_controls.h"
#include "dialogs/chart_editor/chart_page_values.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kAlignCenter = 1;
constexpr int kExpandWidth = 0;
constexpr int kExpandHeight = 1;

}  // namespace

CChartLegendDlg::CChartLegendDlg() : CChartEditorPage(IDD_CHART_LEGEND_PAGE) {}

LRESULT CChartLegendDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED)
        break;
      switch (LOWORD(wp)) {
        case IDC_TITLE_FONT_BUTTON:
          RunFontDialog(::GetActiveWindow(), &m_titleFont);
          return 0;
        case IDC_SUBTITLE_FONT_BUTTON:
          RunFontDialog(::GetActiveWindow(), &m_subtitleFont);
          return 0;
        case IDC_LEGEND_FONT_BUTTON:
          RunFontDialog(::GetActiveWindow(), &m_legendFont);
          return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CChartLegendDlg::OnInitDialog() {
  SendDlgItemMessageA(m_hWnd, IDC_TITLE_EDIT, EM_LIMITTEXT, kChartTitleSize - 1, 0);
  SendDlgItemMessageA(m_hWnd, IDC_SUBTITLE_EDIT, EM_LIMITTEXT, kChartTitleSize - 1, 0);
  HWND position = GetDlgItem(IDC_LEGEND_POSITION_COMBO);
  for (const char* text : {"No legend", "Left", "Top", "Right", "Bottom"}) ComboAddString(position, text);
  HWND align = GetDlgItem(IDC_LEGEND_ALIGN_COMBO);
  for (const char* text : {"Start", "Center", "Bottom"}) ComboAddString(align, text);
  HWND expand = GetDlgItem(IDC_LEGEND_EXPAND_COMBO);
  for (const char* text : {"Width", "Height"}) ComboAddString(expand, text);
  ::SendMessageA(position, CB_SETCURSEL, 0, 0);
  ::SendMessageA(align, CB_SETCURSEL, kAlignCenter, 0);
  ::SendMessageA(expand, CB_SETCURSEL, kExpandHeight, 0);
  OpenChartPage(m_hWnd);
  return TRUE;
}

bool CChartLegendDlg::ExchangeData(bool save, const ChartPageTarget& target) {
  ChartRecord* chart = target.chart;
  if (chart == nullptr)
    return true;
  if (save) {
    LegendPageValues values = {};
    ReadPageText(m_hWnd, IDC_TITLE_EDIT, values.title, sizeof values.title);
    ReadPageText(m_hWnd, IDC_SUBTITLE_EDIT, values.subtitle, sizeof values.subtitle);
    values.titleFont = m_titleFont;
    values.subtitleFont = m_subtitleFont;
    values.legendFont = m_legendFont;
    const LRESULT position = SendDlgItemMessageA(m_hWnd, IDC_LEGEND_POSITION_COMBO, CB_GETCURSEL, 0, 0);
    values.legend.position = position == CB_ERR ? 0 : static_cast<int>(position);
    values.legend.expandWidth =
        SendDlgItemMessageA(m_hWnd, IDC_LEGEND_EXPAND_COMBO, CB_GETCURSEL, 0, 0) == kExpandWidth;
    StoreLegendPage(values, chart);
    return true;
  }
  LegendPageValues values;
  LoadLegendPage(*chart, &values);
  ::EnableWindow(GetDlgItem(IDC_LEGEND_ALIGN_COMBO), FALSE);
  SetDlgItemTextA(m_hWnd, IDC_TITLE_EDIT, values.title);
  SetDlgItemTextA(m_hWnd, IDC_SUBTITLE_EDIT, values.subtitle);
  m_titleFont = values.titleFont;
  m_subtitleFont = values.subtitleFont;
  m_legendFont = values.legendFont;
  SendDlgItemMessageA(m_hWnd, IDC_LEGEND_POSITION_COMBO, CB_SETCURSEL, static_cast<WPARAM>(values.legend.position), 0);
  SendDlgItemMessageA(m_hWnd, IDC_LEGEND_EXPAND_COMBO, CB_SETCURSEL,
                      values.legend.expandWidth ? kExpandWidth : kExpandHeight, 0);
  SendDlgItemMessageA(m_hWnd, IDC_LEGEND_ALIGN_COMBO, CB_SETCURSEL, kAlignCenter, 0);
  return true;
}
