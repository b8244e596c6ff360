#ifndef TALVERO_DIALOGS_CHART_EDITOR_CHART_LEGEND_PAGE_H
#define TALVERO_DIALOGS_CHART_EDITOR_CHART_LEGEND_PAGE_H

// The chart editor's "Titles/Legend" page (CChartLegendDlg): the chart's
// title and subtitle with their fonts, and where its legend stands, which
// way it grows and its font. Windows only.

#include "core/model/color_font_record.h"
#include "dialogs/chart_editor/chart_editor_page.h"

class CChartLegendDlg : public CChartEditorPage {
 public:
  CChartLegendDlg();

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  bool ExchangeData(bool save, const ChartPageTarget& target) override;

 private:
  LRESULT OnInitDialog();

  // The fonts as the font buttons left them, until the page is stored.
  ColorFontRecord m_titleFont = {};
  ColorFontRecord m_subtitleFont = {};
  ColorFontRecord m_legendFont = {};
};

#endif
