#include "dialogs/chart_editor/chart_style_page.h"

#include <commctrl.h>

#include <cstdio>
#include <initializer_list>

#include "dialogs/chart_editor/chart_font_dialog.h"
#include "dialogs/chart_editor/chart_page_controls.h"
#include "dialogs/controls/dialog_opening.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"

namespace {

const int kPercentEdits[kAdvancedPercents] = {IDC_BAR_SIZE_EDIT, IDC_STACK_BAR_SIZE_EDIT, IDC_PIE_SPLIT_EDIT,
                                              IDC_LINE_WIDTH_3D_EDIT, IDC_PIE_TICKNESS_3D_EDIT};
const int kPercentSpins[kAdvancedPercents] = {IDC_BAR_SIZE_SPIN, IDC_STACK_BAR_SIZE_SPIN, IDC_PIE_SPLIT_SPIN,
                                              IDC_LINE_WIDTH_3D_SPIN, IDC_PIE_TICKNESS_3D_SPIN};
const int kAllControls[] = {IDC_VISIBLE_CHECK,    IDC_LABELS_COMBO,       IDC_LABEL_FONT_BUTTON,
                            IDC_FILL_PATTERN_COMBO, IDC_FILL_COLOR1_COMBO, IDC_FILL_COLOR2_COMBO,
                            IDC_LINE_STYLE_COMBO, IDC_LINE_COLOR_COMBO,   IDC_SYMBOL_COMBO,
                            IDC_CONNECT_POINTS_CHECK, IDC_PIE_STYLE_EDIT, IDC_PIE_STYLE_SPIN};

constexpr uint8_t kDefaultSymbol = 4;

}  // namespace

CChartStyleAdvDlg::CChartStyleAdvDlg()
    : CDialogImpl(IDD_CHART_STYLE_ADVANCED),
      m_edits{{kParsedInteger, 1, 100}, {kParsedInteger, 1, 100}, {kParsedInteger, 0, 100},
              {kParsedInteger, 1, 100}, {kParsedInteger, 1, 100}} {}

LRESULT CChartStyleAdvDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_NOTIFY:
      if (!StepEditOfUpDown(*reinterpret_cast<const NMHDR*>(lp), m_edits, kAdvancedPercents))
        break;
      return 1;
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

LRESULT CChartStyleAdvDlg::OnInitDialog() {
  for (int field = 0; field < kAdvancedPercents; ++field) {
    m_edits[field].AttachWithUpDown(GetDlgItem(kPercentEdits[field]), GetDlgItem(kPercentSpins[field]));
    SetDlgItemInt(m_hWnd, kPercentEdits[field], percents[field], FALSE);
  }
  PlaceOpeningDialog(m_hWnd);
  return TRUE;
}

void CChartStyleAdvDlg::OnOK() {
  uint8_t values[kAdvancedPercents];
  for (int field = 0; field < kAdvancedPercents; ++field) {
    char text[kParsedTextCapacity];
    ReadPageText(m_hWnd, kPercentEdits[field], text, sizeof text);
    if (!ParseAdvancedPercent(field, text, &values[field])) {
      RefusePageControl(m_hWnd, kPercentEdits[field]);
      return;
    }
  }
  for (int field = 0; field < kAdvancedPercents; ++field) percents[field] = values[field];
  EndDialog(IDOK);
}

CChartStyleDlg::CChartStyleDlg() : CChartEditorPage(IDD_CHART_STYLE_PAGE) {}

LRESULT CChartStyleDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_NOTIFY: {
      int spin = 0;
      int delta = 0;
      if (!ReadSpinStep(lp, &spin, &delta) || spin != IDC_PIE_STYLE_SPIN)
        break;
      OnPieStyleSpin(delta);
      return 1;
    }
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED)
        break;
      if (LOWORD(wp) == IDC_LABEL_FONT_BUTTON) {
        RunFontDialog(::GetActiveWindow(), &m_values.labelFont);
        return 0;
      }
      if (LOWORD(wp) == IDC_ADVANCED_BUTTON) {
        for (int field = 0; field < kAdvancedPercents; ++field) m_advanced.percents[field] = m_values.percents[field];
        if (m_advanced.DoModal(::GetActiveWindow()) == IDOK)
          for (int field = 0; field < kAdvancedPercents; ++field)
            m_values.percents[field] = m_advanced.percents[field];
        return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CChartStyleDlg::OnInitDialog() {
  HWND labels = GetDlgItem(IDC_LABELS_COMBO);
  for (const char* text : {"No labels", "X-values", "Y-values (Data)", "X / Y", "Y / X"}) ComboAddString(labels, text);
  m_pattern.SubclassWindow(GetDlgItem(IDC_FILL_PATTERN_COMBO));
  m_colour1.SubclassWindow(GetDlgItem(IDC_FILL_COLOR1_COMBO));
  m_colour2.SubclassWindow(GetDlgItem(IDC_FILL_COLOR2_COMBO));
  m_line.SubclassWindow(GetDlgItem(IDC_LINE_STYLE_COMBO));
  m_lineColour.SubclassWindow(GetDlgItem(IDC_LINE_COLOR_COMBO));
  m_symbol.SubclassWindow(GetDlgItem(IDC_SYMBOL_COMBO));
  InitStepSpin(GetDlgItem(IDC_PIE_STYLE_SPIN));
  OpenChartPage(m_hWnd);
  return TRUE;
}

void CChartStyleDlg::ShowSliceText() {
  char text[32];
  std::snprintf(text, sizeof text, "Pie Style %d.", m_slice + 1);
  SetDlgItemTextA(m_hWnd, IDC_PIE_STYLE_EDIT, text);
}

void CChartStyleDlg::ShowFill(const FillRecord& fill) {
  const bool withPatterns = m_chartKind != kChart3D;
  ShowPageFill(m_pattern, m_colour1, m_colour2, fill, withPatterns, false);
}

bool CChartStyleDlg::ExchangeData(bool save, const ChartPageTarget& target) {
  ChartRecord* chart = target.chart;
  if (save) {
    if (chart == nullptr)
      return true;
    m_values.visible = IsPageChecked(m_hWnd, IDC_VISIBLE_CHECK);
    const LRESULT label = SendDlgItemMessageA(m_hWnd, IDC_LABELS_COMBO, CB_GETCURSEL, 0, 0);
    m_values.labelKind = static_cast<uint8_t>(label == CB_ERR ? 0 : label);
    ReadThreeCombos(m_pattern, m_colour1, m_colour2, &m_values.fill);
    ReadTwoCombos(m_line, m_lineColour, &m_values.line);
    m_values.symbol = static_cast<uint8_t>(m_symbol.SelectedValue());
    m_values.connectPoints = IsPageChecked(m_hWnd, IDC_CONNECT_POINTS_CHECK);
    StoreStylePage(m_values, m_slice, chart, target.series);
    return true;
  }
  EnablePageControls(m_hWnd, kAllControls, sizeof kAllControls / sizeof kAllControls[0], false);
  m_chartKind = chart != nullptr ? chart->Kind() : static_cast<uint8_t>(kChart2D);
  StylePageValues values;
  if (chart != nullptr)
    LoadStylePage(*chart, target.series, &values);
  else
    LoadStylePage(ChartRecord(kChart2D), -1, &values);
  m_values = values;
  SetPageCheck(m_hWnd, IDC_VISIBLE_CHECK, values.visible);
  SendDlgItemMessageA(m_hWnd, IDC_LABELS_COMBO, CB_SETCURSEL, values.labelKind, 0);
  ShowFill(values.fill);
  const uint8_t viewType = values.enabled ? chart->series[target.series].viewType : 0;
  ShowPageLine(m_line, m_lineColour, values.line, viewType == kViewLine);
  m_symbol.Fill(values.enabled && viewType == kViewScatter ? values.symbol : kDefaultSymbol);
  SetPageCheck(m_hWnd, IDC_CONNECT_POINTS_CHECK, values.connectPoints);
  ShowSliceText();
  if (!values.enabled)
    return true;
  const uint16_t controls = StyleControlsOf(m_chartKind, viewType);
  const struct {
    uint16_t control;
    int ids[3];
  } groups[] = {
      {kStyleVisible, {IDC_VISIBLE_CHECK, 0, 0}},
      {kStyleLabels, {IDC_LABELS_COMBO, 0, 0}},
      {kStyleLabelFont, {IDC_LABEL_FONT_BUTTON, 0, 0}},
      {kStyleFill, {IDC_FILL_PATTERN_COMBO, IDC_FILL_COLOR1_COMBO, IDC_FILL_COLOR2_COMBO}},
      {kStyleLine, {IDC_LINE_STYLE_COMBO, IDC_LINE_COLOR_COMBO, 0}},
      {kStyleSymbol, {IDC_SYMBOL_COMBO, IDC_CONNECT_POINTS_CHECK, 0}},
      {kStylePieSlices, {IDC_PIE_STYLE_EDIT, IDC_PIE_STYLE_SPIN, 0}},
  };
  for (const auto& group : groups)
    if (controls & group.control)
      for (int id : group.ids)
        if (id != 0)
          ::EnableWindow(GetDlgItem(id), TRUE);
  return true;
}

void CChartStyleDlg::OnPieStyleSpin(int delta) {
  const int next = StepPieSlice(m_slice, delta);
  if (next == m_slice)
    return;
  ReadThreeCombos(m_pattern, m_colour1, m_colour2, &m_values.slices[m_slice]);
  m_slice = next;
  ShowSliceText();
  ShowFill(m_values.slices[m_slice]);
}
