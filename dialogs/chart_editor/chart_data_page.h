#ifndef TALVERO_DIALOGS_CHART_EDITOR_CHART_DATA_PAGE_H
#define TALVERO_DIALOGS_CHART_EDITOR_CHART_DATA_PAGE_H

// The chart editor's "Data" page (CChartDataDlg): the range a data or
// X-values series is drawn over, the series naming its X domain and its
// error bars, and its number format. Windows only.

#include "core/numfmt/num_format_params.h"
#include "dialogs/chart_editor/chart_editor_page.h"

class CChartDataDlg : public CChartEditorPage {
 public:
  CChartDataDlg();

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  bool ExchangeData(bool save, const ChartPageTarget& target) override;

 private:
  LRESULT OnInitDialog();
  void OnNumericFormat();

  // The number format as "Numeric Format..." left it, until the page is
  // stored.
  NumFormatParams m_numberFormat = {};
};

#endif
