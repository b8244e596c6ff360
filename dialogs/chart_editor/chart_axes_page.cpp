#include "dialogs/chart_editor/chart_axes_page.h"

#include <commctrl.h>

#include <initializer_list>

#include "dialogs/chart_editor/axis_page_values.h"
#include "dialogs/chart_editor/chart_font_dialog.h"
#include "dialogs/chart_editor/chart_page_controls.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"

namespace {

const int kAllControls[] = {IDC_AXIS_TYPE_COMBO,   IDC_AXIS_LINE_COMBO,        IDC_AXIS_COLOR_COMBO,
                            IDC_MAJOR_TICKS_CHECK, IDC_MAJOR_TICKS_EDIT,       IDC_MAJOR_TICKS_SPIN,
                            IDC_MINOR_TICKS_CHECK, IDC_MINOR_TICKS_EDIT,       IDC_MINOR_TICKS_SPIN,
                            IDC_AXIS_TITLE_CHECK,  IDC_TITLE_HORIZONTAL_RADIO, IDC_TITLE_VERTICAL_RADIO,
                            IDC_AXIS_LABELS_CHECK, IDC_LABELS_HORIZONTAL_RADIO, IDC_LABELS_VERTICAL_RADIO,
                            IDC_AXIS_SCALE_COMBO,  IDC_AXIS_NAME_EDIT,         IDC_AXIS_FONT_BUTTON};
// What a categories axis has not.
const int kNumericControls[] = {IDC_MAJOR_TICKS_EDIT, IDC_MAJOR_TICKS_SPIN, IDC_MINOR_TICKS_CHECK,
                                IDC_MINOR_TICKS_EDIT, IDC_MINOR_TICKS_SPIN, IDC_AXIS_SCALE_COMBO};

template <size_t N>
void Enable(HWND page, const int (&ids)[N], bool enable) {
  EnablePageControls(page, ids, N, enable);
}

}  // namespace

CChartAxesDlg::CChartAxesDlg()
    : CChartEditorPage(IDD_CHART_AXES_PAGE),
      m_ticks{{kParsedInteger, 0, kTickSettingMaximum}, {kParsedInteger, 0, kTickSettingMaximum}} {}

LRESULT CChartAxesDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_NOTIFY:
      if (!StepEditOfUpDown(*reinterpret_cast<const NMHDR*>(lp), m_ticks, 2))
        break;
      return 1;  // the up-down control stays at its middle
    case WM_COMMAND:
      if (LOWORD(wp) == IDC_AXIS_FONT_BUTTON && HIWORD(wp) == BN_CLICKED) {
        RunFontDialog(::GetActiveWindow(), &m_font);
        return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CChartAxesDlg::OnInitDialog() {
  HWND type = GetDlgItem(IDC_AXIS_TYPE_COMBO);
  for (const char* text : {"None", "Primary", "Secondary", "Dual"}) ComboAddString(type, text);
  HWND scale = GetDlgItem(IDC_AXIS_SCALE_COMBO);
  for (const char* text : {"Linear", "Log2", "LogE", "Log10"}) ComboAddString(scale, text);
  m_line.SubclassWindow(GetDlgItem(IDC_AXIS_LINE_COMBO));
  m_colour.SubclassWindow(GetDlgItem(IDC_AXIS_COLOR_COMBO));
  m_ticks[0].AttachWithUpDown(GetDlgItem(IDC_MAJOR_TICKS_EDIT), GetDlgItem(IDC_MAJOR_TICKS_SPIN));
  m_ticks[1].AttachWithUpDown(GetDlgItem(IDC_MINOR_TICKS_EDIT), GetDlgItem(IDC_MINOR_TICKS_SPIN));
  SendDlgItemMessageA(m_hWnd, IDC_AXIS_NAME_EDIT, EM_LIMITTEXT, kSeriesTextSize - 1, 0);
  OpenChartPage(m_hWnd);
  return TRUE;
}

bool CChartAxesDlg::ExchangeData(bool save, const ChartPageTarget& target) {
  ChartRecord* chart = target.chart;
  if (save) {
    if (chart == nullptr)
      return true;
    AxesPageValues values = {};
    const LRESULT type = SendDlgItemMessageA(m_hWnd, IDC_AXIS_TYPE_COMBO, CB_GETCURSEL, 0, 0);
    values.axisType = static_cast<uint8_t>(type == CB_ERR ? 0 : type);
    ReadTwoCombos(m_line, m_colour, &values.line);
    values.majorTicks = IsPageChecked(m_hWnd, IDC_MAJOR_TICKS_CHECK);
    values.minorTicks = IsPageChecked(m_hWnd, IDC_MINOR_TICKS_CHECK);
    ReadPageText(m_hWnd, IDC_MAJOR_TICKS_EDIT, values.majorText, sizeof values.majorText);
    ReadPageText(m_hWnd, IDC_MINOR_TICKS_EDIT, values.minorText, sizeof values.minorText);
    values.title = IsPageChecked(m_hWnd, IDC_AXIS_TITLE_CHECK);
    values.titleVertical = IsPageChecked(m_hWnd, IDC_TITLE_VERTICAL_RADIO);
    values.labels = IsPageChecked(m_hWnd, IDC_AXIS_LABELS_CHECK);
    values.labelsVertical = IsPageChecked(m_hWnd, IDC_LABELS_VERTICAL_RADIO);
    const LRESULT scale = SendDlgItemMessageA(m_hWnd, IDC_AXIS_SCALE_COMBO, CB_GETCURSEL, 0, 0);
    values.scale = static_cast<uint8_t>(scale == CB_ERR ? 0 : scale);
    ReadPageText(m_hWnd, IDC_AXIS_NAME_EDIT, values.name, sizeof values.name);
    values.font = m_font;
    const int refused = StoreAxesPage(values, chart, target.series);
    if (refused != kPageStored) {
      RefusePageControl(m_hWnd, refused == kAxesMajorField ? IDC_MAJOR_TICKS_EDIT : IDC_MINOR_TICKS_EDIT);
      return false;
    }
    return true;
  }
  AxesPageValues values = {};
  values.line.style = 1;
  if (chart != nullptr)
    LoadAxesPage(*chart, target.series, &values);
  Enable(m_hWnd, kAllControls, values.mode != kAxisPageDisabled);
  if (values.mode == kAxisPageCategories)
    Enable(m_hWnd, kNumericControls, false);
  SendDlgItemMessageA(m_hWnd, IDC_AXIS_TYPE_COMBO, CB_SETCURSEL, values.axisType, 0);
  ShowPageLine(m_line, m_colour, values.line, false);
  SetPageCheck(m_hWnd, IDC_MAJOR_TICKS_CHECK, values.majorTicks);
  SetPageCheck(m_hWnd, IDC_MINOR_TICKS_CHECK, values.minorTicks);
  SetDlgItemTextA(m_hWnd, IDC_MAJOR_TICKS_EDIT, values.majorText);
  SetDlgItemTextA(m_hWnd, IDC_MINOR_TICKS_EDIT, values.minorText);
  SetPageCheck(m_hWnd, IDC_AXIS_TITLE_CHECK, values.title);
  SetPageCheck(m_hWnd, IDC_TITLE_HORIZONTAL_RADIO, !values.titleVertical);
  SetPageCheck(m_hWnd, IDC_TITLE_VERTICAL_RADIO, values.titleVertical);
  SetPageCheck(m_hWnd, IDC_AXIS_LABELS_CHECK, values.labels);
  SetPageCheck(m_hWnd, IDC_LABELS_HORIZONTAL_RADIO, !values.labelsVertical);
  SetPageCheck(m_hWnd, IDC_LABELS_VERTICAL_RADIO, values.labelsVertical);
  SendDlgItemMessageA(m_hWnd, IDC_AXIS_SCALE_COMBO, CB_SETCURSEL, values.scale, 0);
  SetDlgItemTextA(m_hWnd, IDC_AXIS_NAME_EDIT, values.name);
  m_font = values.font;
  return true;
}
