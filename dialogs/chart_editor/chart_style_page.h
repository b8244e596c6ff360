#ifndef TALVERO_DIALOGS_CHART_EDITOR_CHART_STYLE_PAGE_H
#define TALVERO_DIALOGS_CHART_EDITOR_CHART_STYLE_PAGE_H

// The chart editor's "Style" page (CChartStyleDlg): how a data series is
// drawn (visibility, data-point labels and their font, fill, line, scatter
// symbol, the fills of the pie slices one at a time) and, through
// "Advanced..." (CChartStyleAdvDlg), the chart's bar, pie and 3D sizes.
// Windows only.

#include "dialogs/chart_editor/chart_editor_page.h"
#include "dialogs/chart_editor/series_page_values.h"
#include "dialogs/controls/owner_drawn_combos.h"
#include "dialogs/controls/parsed_edit.h"

// "Advance Chart Style Settings": the five percents of the chart, each
// within its range; OK refuses any other.
class CChartStyleAdvDlg : public CDialogImpl {
 public:
  CChartStyleAdvDlg();

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  uint8_t percents[kAdvancedPercents] = {};

 private:
  LRESULT OnInitDialog();
  void OnOK();

  CParsedEdit m_edits[kAdvancedPercents];
};

class CChartStyleDlg : public CChartEditorPage {
 public:
  CChartStyleDlg();

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  bool ExchangeData(bool save, const ChartPageTarget& target) override;

  int PieSlice() const { return m_slice; }

 private:
  LRESULT OnInitDialog();
  void OnPieStyleSpin(int delta);
  void ShowSliceText();
  void ShowFill(const FillRecord& fill);

  CPatternComboBox m_pattern;
  CColorComboBox m_colour1;
  CColorComboBox m_colour2;
  CLineComboBox m_line;
  CColorComboBox m_lineColour;
  CSymbolComboBox m_symbol;
  // What the page shows beside its controls: the label font, the slice
  // fills, the chart's percents, and the kind of the chart it last loaded.
  StylePageValues m_values = {};
  uint8_t m_chartKind = 1;
  int m_slice = 0;  // survives from one load to the next
  CChartStyleAdvDlg m_advanced;
};

#endif
