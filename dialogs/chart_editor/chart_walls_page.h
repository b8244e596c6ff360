#ifndef TALVERO_DIALOGS_CHART_EDITOR_CHART_WALLS_PAGE_H
#define TALVERO_DIALOGS_CHART_EDITOR_CHART_WALLS_PAGE_H

// The chart editor's "Walls/Size" page (CChartWallsDlg): the wall fill and
// border, which walls and floor are shown, and the plot's width and height
// in percent of its slot. Windows only.

#include "dialogs/chart_editor/chart_editor_page.h"
#include "dialogs/controls/owner_drawn_combos.h"
#include "dialogs/controls/parsed_edit.h"

class CChartWallsDlg : public CChartEditorPage {
 public:
  CChartWallsDlg();

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  bool ExchangeData(bool save, const ChartPageTarget& target) override;

 private:
  LRESULT OnInitDialog();

  CPatternComboBox m_pattern;
  CColorComboBox m_colour1;
  CColorComboBox m_colour2;
  CLineComboBox m_border;
  CColorComboBox m_borderColour;
  CParsedEdit m_sizes[2];  // width, height
};

#endif
