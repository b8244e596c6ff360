#ifndef TALVERO_DIALOGS_CHART_EDITOR_CHART_OPTIONS_PAGE_H
#define TALVERO_DIALOGS_CHART_EDITOR_CHART_OPTIONS_PAGE_H

// The chart editor's "3D Options" page (CChartOptionsDlg): rotation steps,
// the perspective and the lamp of a 3D chart. Unlike the other pages it
// applies at once: every rotation step, slider move and perspective click
// sends Apply to the editor. Windows only.

#include "dialogs/chart_editor/chart_editor_page.h"

class CChartOptionsDlg : public CChartEditorPage {
 public:
  CChartOptionsDlg();

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  bool ExchangeData(bool save, const ChartPageTarget& target) override;

 private:
  LRESULT OnInitDialog();
  void OnRotationStep(int axis, int delta);
  void OnReset();
  bool IsSlider(HWND control) const;
  void ShowValues(bool enable, int perspectivePosition, bool perspectiveOn, int lampHorizontal, int lampVertical);

  // The 3D chart of the last load, which rotation and reset turn; null for
  // any other chart.
  ChartRecord* m_chart = nullptr;
};

#endif
