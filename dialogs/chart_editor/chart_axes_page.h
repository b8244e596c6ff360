#ifndef TALVERO_DIALOGS_CHART_EDITOR_CHART_AXES_PAGE_H
#define TALVERO_DIALOGS_CHART_EDITOR_CHART_AXES_PAGE_H

// The chart editor's "Axes" page (CChartAxesDlg): the axis of the selected
// series: which sides it shows on, its line, tick marks, title and label
// orientation, scale, name and font. Windows only.

#include "core/model/color_font_record.h"
#include "dialogs/chart_editor/chart_editor_page.h"
#include "dialogs/controls/owner_drawn_combos.h"
#include "dialogs/controls/parsed_edit.h"

class CChartAxesDlg : public CChartEditorPage {
 public:
  CChartAxesDlg();

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  bool ExchangeData(bool save, const ChartPageTarget& target) override;

 private:
  LRESULT OnInitDialog();

  CLineComboBox m_line;
  CColorComboBox m_colour;
  CParsedEdit m_ticks[2];  // major, minor
  ColorFontRecord m_font = {};  // as "Font..." left it
};

#endif
