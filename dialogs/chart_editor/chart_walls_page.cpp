#include "dialogs/chart_editor/chart_walls_page.h"

#include "dialogs/chart_editor/chart_page_controls.h"
#include "dialogs/chart_editor/chart_page_values.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kSizeTextLimit = 4;

}  // namespace

CChartWallsDlg::CChartWallsDlg()
    : CChartEditorPage(IDD_CHART_WALLS_PAGE),
      m_sizes{{kParsedInteger, kViewSizeMinimum, kViewSizeMaximum}, {kParsedInteger, kViewSizeMinimum, kViewSizeMaximum}} {}

LRESULT CChartWallsDlg::ProcessWindowMessage(UINT msg, WPARAM, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_NOTIFY:
      if (!StepEditOfUpDown(*reinterpret_cast<const NMHDR*>(lp), m_sizes, 2))
        break;
      return 1;  // the up-down control stays at its middle
  }
  handled = false;
  return 0;
}

LRESULT CChartWallsDlg::OnInitDialog() {
  m_pattern.SubclassWindow(GetDlgItem(IDC_WALL_PATTERN_COMBO));
  m_colour1.SubclassWindow(GetDlgItem(IDC_WALL_COLOR1_COMBO));
  m_colour2.SubclassWindow(GetDlgItem(IDC_WALL_COLOR2_COMBO));
  m_border.SubclassWindow(GetDlgItem(IDC_WALL_BORDER_COMBO));
  m_borderColour.SubclassWindow(GetDlgItem(IDC_WALL_BORDER_COLOR_COMBO));
  m_sizes[0].AttachWithUpDown(GetDlgItem(IDC_VIEW_WIDTH_EDIT), GetDlgItem(IDC_VIEW_WIDTH_SPIN));
  m_sizes[1].AttachWithUpDown(GetDlgItem(IDC_VIEW_HEIGHT_EDIT), GetDlgItem(IDC_VIEW_HEIGHT_SPIN));
  for (CParsedEdit& edit : m_sizes) edit.SendMessage(EM_LIMITTEXT, kSizeTextLimit);
  OpenChartPage(m_hWnd);
  return TRUE;
}

bool CChartWallsDlg::ExchangeData(bool save, const ChartPageTarget& target) {
  ChartRecord* chart = target.chart;
  if (chart == nullptr)
    return true;
  const bool is3D = chart->Kind() == kChart3D;
  if (save) {
    WallsPageValues values = {};
    ReadThreeCombos(m_pattern, m_colour1, m_colour2, &values.fill);
    ReadTwoCombos(m_border, m_borderColour, &values.border);
    values.planeXY = IsPageChecked(m_hWnd, IDC_XY_WALL_CHECK);
    values.planeYZ = IsPageChecked(m_hWnd, IDC_YZ_WALL_CHECK);
    values.planeXZ = IsPageChecked(m_hWnd, IDC_FLOOR_CHECK);
    ReadPageText(m_hWnd, IDC_VIEW_WIDTH_EDIT, values.widthText, sizeof values.widthText);
    ReadPageText(m_hWnd, IDC_VIEW_HEIGHT_EDIT, values.heightText, sizeof values.heightText);
    const int refused = StoreWallsPage(values, chart);
    if (refused != kPageStored) {
      RefusePageControl(m_hWnd, refused == kWallsWidthField ? IDC_VIEW_WIDTH_EDIT : IDC_VIEW_HEIGHT_EDIT);
      return false;
    }
    return true;
  }
  WallsPageValues values;
  LoadWallsPage(*chart, &values);
  static const int kThreeDOnly[] = {IDC_YZ_WALL_CHECK, IDC_FLOOR_CHECK};
  EnablePageControls(m_hWnd, kThreeDOnly, 2, is3D);
  ShowPageLine(m_border, m_borderColour, values.border, false);
  // 3D walls are drawn plain: only "None" and solid are offered there.
  ShowPageFill(m_pattern, m_colour1, m_colour2, values.fill, !is3D, !is3D);
  SetPageCheck(m_hWnd, IDC_XY_WALL_CHECK, values.planeXY);
  SetPageCheck(m_hWnd, IDC_YZ_WALL_CHECK, values.planeYZ);
  SetPageCheck(m_hWnd, IDC_FLOOR_CHECK, values.planeXZ);
  SetDlgItemTextA(m_hWnd, IDC_VIEW_WIDTH_EDIT, values.widthText);
  SetDlgItemTextA(m_hWnd, IDC_VIEW_HEIGHT_EDIT, values.heightText);
  return true;
}
