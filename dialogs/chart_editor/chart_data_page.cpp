#include "dialogs/chart_editor/chart_data_page.h"

#include <cstring>

#include "core/numfmt/regional_settings.h"
#include "dialogs/chart_editor/chart_page_controls.h"
#include "dialogs/chart_editor/series_page_values.h"
#include "dialogs/number_format/num_format_dlg.h"
#include "resources/resource_ids.h"

namespace {

const int kRangeControls[] = {IDC_FROM_VALUE_CHECK, IDC_FROM_VALUE_EDIT, IDC_TO_VALUE_CHECK, IDC_TO_VALUE_EDIT,
                              IDC_NUMERIC_FORMAT_BUTTON};

}  // namespace

CChartDataDlg::CChartDataDlg() : CChartEditorPage(IDD_CHART_DATA_PAGE) {}

LRESULT CChartDataDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      if (LOWORD(wp) == IDC_NUMERIC_FORMAT_BUTTON && HIWORD(wp) == BN_CLICKED) {
        OnNumericFormat();
        return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CChartDataDlg::OnInitDialog() {
  SendDlgItemMessageA(m_hWnd, IDC_FROM_VALUE_EDIT, EM_LIMITTEXT, kRangeTextSize - 1, 0);
  SendDlgItemMessageA(m_hWnd, IDC_TO_VALUE_EDIT, EM_LIMITTEXT, kRangeTextSize - 1, 0);
  SendDlgItemMessageA(m_hWnd, IDC_X_DOMAIN_EDIT, EM_LIMITTEXT, kSeriesTextSize - 1, 0);
  SendDlgItemMessageA(m_hWnd, IDC_ERROR_BARS_EDIT, EM_LIMITTEXT, kSeriesTextSize - 1, 0);
  OpenChartPage(m_hWnd);
  return TRUE;
}

bool CChartDataDlg::ExchangeData(bool save, const ChartPageTarget& target) {
  const char separator = CurrentRegionalSettings().decimalSeparator;
  if (save) {
    if (target.chart == nullptr)
      return true;
    DataPageValues values = {};
    values.fromSet = IsPageChecked(m_hWnd, IDC_FROM_VALUE_CHECK);
    values.toSet = IsPageChecked(m_hWnd, IDC_TO_VALUE_CHECK);
    ReadPageText(m_hWnd, IDC_FROM_VALUE_EDIT, values.fromText, sizeof values.fromText);
    ReadPageText(m_hWnd, IDC_TO_VALUE_EDIT, values.toText, sizeof values.toText);
    ReadPageText(m_hWnd, IDC_X_DOMAIN_EDIT, values.relatedX, sizeof values.relatedX);
    ReadPageText(m_hWnd, IDC_ERROR_BARS_EDIT, values.relatedSigma, sizeof values.relatedSigma);
    values.numberFormat = m_numberFormat;
    const int refused = StoreDataPage(values, separator, target.chart, target.series);
    if (refused != kPageStored) {
      RefusePageControl(m_hWnd, refused == kDataFromField ? IDC_FROM_VALUE_EDIT : IDC_TO_VALUE_EDIT);
      return false;
    }
    return true;
  }
  DataPageValues values;
  std::memset(&values, 0, sizeof values);
  if (target.chart != nullptr)
    LoadDataPage(*target.chart, target.series, separator, &values);
  EnablePageControls(m_hWnd, kRangeControls, sizeof kRangeControls / sizeof kRangeControls[0], values.enabled);
  ::EnableWindow(GetDlgItem(IDC_X_DOMAIN_EDIT), values.xDomainEnabled);
  ::EnableWindow(GetDlgItem(IDC_ERROR_BARS_EDIT), values.errorBarsEnabled);
  SetPageCheck(m_hWnd, IDC_FROM_VALUE_CHECK, values.fromSet);
  SetPageCheck(m_hWnd, IDC_TO_VALUE_CHECK, values.toSet);
  SetDlgItemTextA(m_hWnd, IDC_FROM_VALUE_EDIT, values.fromText);
  SetDlgItemTextA(m_hWnd, IDC_TO_VALUE_EDIT, values.toText);
  SetDlgItemTextA(m_hWnd, IDC_X_DOMAIN_EDIT, values.relatedX);
  SetDlgItemTextA(m_hWnd, IDC_ERROR_BARS_EDIT, values.relatedSigma);
  m_numberFormat = values.numberFormat;
  return true;
}

void CChartDataDlg::OnNumericFormat() {
  CNumFormatDlg dialog;
  dialog.Params() = m_numberFormat;
  if (dialog.DoModal(::GetActiveWindow()) == IDOK)
    m_numberFormat = dialog.Params();
}
