#include "dialogs/chart_editor/chart_options_page.h"

#include <commctrl.h>

#include <initializer_list>

#include "dialogs/chart_editor/chart_page_controls.h"
#include "dialogs/chart_editor/chart_page_values.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kLampTickStep = 18;
const int kControls[] = {IDC_ROTATE_X_SPIN,     IDC_ROTATE_Y_SPIN,         IDC_ROTATE_Z_SPIN,
                         IDC_RESET_VIEW_BUTTON, IDC_PERSPECTIVE_CHECK,     IDC_PERSPECTIVE_TRACK,
                         IDC_LAMP_HORIZONTAL_TRACK, IDC_LAMP_VERTICAL_TRACK};

int TrackPosition(HWND page, int id) { return static_cast<int>(::SendDlgItemMessageA(page, id, TBM_GETPOS, 0, 0)); }

void SetTrackPosition(HWND page, int id, int position) {
  ::SendDlgItemMessageA(page, id, TBM_SETPOS, TRUE, position);
}

void InitTrack(HWND page, int id, int minimum, int maximum, int tickStep) {
  ::SendDlgItemMessageA(page, id, TBM_SETRANGE, FALSE, MAKELPARAM(minimum, maximum));
  ::SendDlgItemMessageA(page, id, TBM_SETTICFREQ, static_cast<WPARAM>(tickStep), 0);
  ::SendDlgItemMessageA(page, id, TBM_SETLINESIZE, 0, 1);
}

// Rotation spins step at once, faster after one and two seconds.
void InitRotationSpin(HWND spin) {
  ::SendMessageA(spin, UDM_SETRANGE32, 0, 10000);
  ::SendMessageA(spin, UDM_SETPOS32, 0, 5000);
  UDACCEL accelerations[3] = {{0, 1}, {1, 5}, {2, 10}};
  ::SendMessageA(spin, UDM_SETACCEL, 3, reinterpret_cast<LPARAM>(accelerations));
}

}  // namespace

CChartOptionsDlg::CChartOptionsDlg() : CChartEditorPage(IDD_CHART_OPTIONS_PAGE) {}

LRESULT CChartOptionsDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_NOTIFY: {
      int spin = 0;
      int delta = 0;
      if (!ReadSpinStep(lp, &spin, &delta))
        break;
      const int axis = spin == IDC_ROTATE_X_SPIN ? 0 : spin == IDC_ROTATE_Y_SPIN ? 1 : spin == IDC_ROTATE_Z_SPIN ? 2 : -1;
      if (axis < 0)
        break;
      OnRotationStep(axis, delta);
      return 1;  // the up-down control stays at its middle
    }
    case WM_HSCROLL:
      // Every move of a slider, by key or mouse, applies; the end of a drag
      // repeats the last position and changes nothing more.
      // The rotation spins scroll too; only the sliders count here.
      if (IsSlider(reinterpret_cast<HWND>(lp)) && LOWORD(wp) != TB_ENDTRACK && m_chart != nullptr)
        SendEditorApply(m_hWnd);
      return 0;
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED)
        break;
      if (LOWORD(wp) == IDC_RESET_VIEW_BUTTON) {
        OnReset();
        return 0;
      }
      if (LOWORD(wp) == IDC_PERSPECTIVE_CHECK) {
        if (m_chart != nullptr)
          SendEditorApply(m_hWnd);
        return 0;
      }
      break;
    case WM_DESTROY:
      m_chart = nullptr;
      handled = false;
      return 0;
  }
  handled = false;
  return 0;
}

LRESULT CChartOptionsDlg::OnInitDialog() {
  for (int id : {IDC_ROTATE_X_SPIN, IDC_ROTATE_Y_SPIN, IDC_ROTATE_Z_SPIN}) InitRotationSpin(GetDlgItem(id));
  InitTrack(m_hWnd, IDC_PERSPECTIVE_TRACK, 1, kPerspectivePositions, 1);
  InitTrack(m_hWnd, IDC_LAMP_HORIZONTAL_TRACK, 0, kLampMaximum, kLampTickStep);
  InitTrack(m_hWnd, IDC_LAMP_VERTICAL_TRACK, 0, kLampMaximum, kLampTickStep);
  const OptionsPageValues defaults = DefaultOptionsPage();
  ShowValues(true, defaults.perspectivePosition, defaults.perspectiveOn, defaults.lampHorizontal,
             defaults.lampVertical);
  OpenChartPage(m_hWnd);
  return TRUE;
}

void CChartOptionsDlg::ShowValues(bool enable, int perspectivePosition, bool perspectiveOn, int lampHorizontal,
                                  int lampVertical) {
  EnablePageControls(m_hWnd, kControls, sizeof kControls / sizeof kControls[0], enable);
  SetPageCheck(m_hWnd, IDC_PERSPECTIVE_CHECK, perspectiveOn);
  SetTrackPosition(m_hWnd, IDC_PERSPECTIVE_TRACK, perspectivePosition);
  SetTrackPosition(m_hWnd, IDC_LAMP_HORIZONTAL_TRACK, lampHorizontal);
  SetTrackPosition(m_hWnd, IDC_LAMP_VERTICAL_TRACK, lampVertical);
}

bool CChartOptionsDlg::ExchangeData(bool save, const ChartPageTarget& target) {
  ChartRecord* chart = target.chart;
  const bool is3D = chart != nullptr && chart->Kind() == kChart3D;
  if (save) {
    if (!is3D)
      return true;
    OptionsPageValues values;
    values.perspectiveOn = IsPageChecked(m_hWnd, IDC_PERSPECTIVE_CHECK);
    values.perspectivePosition = TrackPosition(m_hWnd, IDC_PERSPECTIVE_TRACK);
    values.lampHorizontal = TrackPosition(m_hWnd, IDC_LAMP_HORIZONTAL_TRACK);
    values.lampVertical = TrackPosition(m_hWnd, IDC_LAMP_VERTICAL_TRACK);
    StoreOptionsPage(values, chart);
    return true;
  }
  OptionsPageValues values = DefaultOptionsPage();
  m_chart = is3D ? chart : nullptr;
  if (is3D)
    LoadOptionsPage(*chart, &values);
  ShowValues(is3D, values.perspectivePosition, values.perspectiveOn, values.lampHorizontal, values.lampVertical);
  return true;
}

bool CChartOptionsDlg::IsSlider(HWND control) const {
  return control != nullptr && (control == GetDlgItem(IDC_PERSPECTIVE_TRACK) ||
                                control == GetDlgItem(IDC_LAMP_HORIZONTAL_TRACK) ||
                                control == GetDlgItem(IDC_LAMP_VERTICAL_TRACK));
}

void CChartOptionsDlg::OnRotationStep(int axis, int delta) {
  if (m_chart == nullptr)
    return;
  RotateChartView(m_chart, axis, delta);
  SendEditorApply(m_hWnd);
}

void CChartOptionsDlg::OnReset() {
  if (m_chart == nullptr)
    return;
  ChartRecord::Transform(m_chart->viewMatrix, kResetToIdentity, 0);
  SendEditorApply(m_hWnd);
}
