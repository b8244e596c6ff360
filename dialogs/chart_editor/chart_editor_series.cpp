#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include "core/model/chart_record.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "dialogs/chart_editor/chart_editor.h"
#include "dialogs/chart_editor/chart_slots.h"
#include "dialogs/chart_editor/series_formula.h"
#include "dialogs/chart_editor/series_slots.h"
#include "resources/resource_ids.h"
#include "services/messages/message_boxes.h"

namespace {

constexpr int kColumnInset = 4;
constexpr uint8_t kErrorSeriesRow = 27;  // "Out of memory while creating chart data"

// Room for whatever an edit holds, so that an overlong text is measured.
constexpr size_t kEditTextSize = 2 * kSeriesFormulaSize;

const UINT kSeriesCommands[] = {ID_CHART_MOVE_UP, ID_CHART_MOVE_DOWN, ID_SERIES_USE_SELECTION, ID_SERIES_ADD,
                                ID_SERIES_DELETE};

}  // namespace

ChartRecord* CChartDlg2::SelectedChartRecord() { return ChartOfSlot(m_copy, m_selectedChart); }

void CChartDlg2::SetControlText(int id, const char* text) {
  const bool filling = m_filling;
  m_filling = true;
  ::SetWindowTextA(GetDlgItem(id), text);
  m_filling = filling;
}

void CChartDlg2::EnableSeriesControls(bool enable) {
  const int controls[] = {IDC_SERIES_TYPE_COMBO, IDC_SERIES_NAME_EDIT, IDC_SERIES_FORMULA_EDIT};
  for (int id : controls) ::EnableWindow(GetDlgItem(id), enable);
  if (m_header != nullptr)
    ::EnableWindow(m_header, enable);
  if (m_seriesList != nullptr)
    ::EnableWindow(m_seriesList, enable);
  for (UINT command : kSeriesCommands) {
    HWND bar = command == ID_SERIES_USE_SELECTION ? m_seriesBars[0]
               : command == ID_SERIES_ADD         ? m_seriesBars[1]
               : command == ID_SERIES_DELETE      ? m_seriesBars[2]
                                                  : m_toolbar;
    if (bar != nullptr)
      ::SendMessageA(bar, TB_ENABLEBUTTON, command, MAKELPARAM(enable ? TRUE : FALSE, 0));
  }
}

void CChartDlg2::FillSeriesControls(ChartRecord* chart) {
  const bool xy = chart->Kind() == kChartXY;
  HWND combo = GetDlgItem(IDC_SERIES_TYPE_COMBO);
  const char* const* items = SeriesTypeItems(xy);
  for (int i = 0; i < kSeriesTypeItems; ++i) ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
  ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
  const int count = chart->UsedSeriesCount();
  for (int i = 0; i < count && m_seriesList != nullptr; ++i) {
    const LRESULT row = ::SendMessageA(m_seriesList, LB_ADDSTRING, 0, i);
    if (row == LB_ERR || row == LB_ERRSPACE) {
      ShowError(kErrorSeriesRow);
      break;
    }
  }
  const LRESULT rows = m_seriesList != nullptr ? ::SendMessageA(m_seriesList, LB_GETCOUNT, 0, 0) : 0;
  m_selectedSeries = rows > 0 ? 0 : -1;
  if (m_selectedSeries == 0)
    ::SendMessageA(m_seriesList, LB_SETCURSEL, 0, 0);
  CompileSeriesFormula(false);
}

void CChartDlg2::CompileSeriesFormula(bool save) {
  ChartRecord* chart = SelectedChartRecord();
  if (chart == nullptr || m_selectedSeries < 0 || m_selectedSeries >= chart->UsedSeriesCount())
    return;
  SeriesRecord& series = chart->series[m_selectedSeries];
  const bool xy = chart->Kind() == kChartXY;
  HWND combo = GetDlgItem(IDC_SERIES_TYPE_COMBO);
  EvalState& evaluator = m_owner->Workbook()->evaluator;
  if (save) {
    series.role = RoleOfTypeItem(static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0)), xy);
    ::GetWindowTextA(GetDlgItem(IDC_SERIES_NAME_EDIT), series.name, sizeof series.name);
    char formula[kEditTextSize] = {};
    ::GetWindowTextA(GetDlgItem(IDC_SERIES_FORMULA_EDIT), formula, sizeof formula);
    StoreSeriesFormula(evaluator, formula, series.dataArray);
    if (m_seriesList != nullptr) {
      ::InvalidateRect(m_seriesList, nullptr, TRUE);
      ::UpdateWindow(m_seriesList);
    }
    return;
  }
  const bool filling = m_filling;
  m_filling = true;
  ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(TypeItemOfRole(series.role)), 0);
  char name[kSeriesTextSize];
  std::memcpy(name, series.name, sizeof name);
  name[sizeof name - 1] = '\0';
  SetControlText(IDC_SERIES_NAME_EDIT, name);
  char formula[kSeriesFormulaSize];
  ShowSeriesFormula(evaluator, series.dataArray, formula, sizeof formula);
  SetControlText(IDC_SERIES_FORMULA_EDIT, formula);
  m_filling = filling;
}

void CChartDlg2::DrawSeriesRow(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  const RECT& row = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  ::FillRect(dc, &row, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemState & ODS_FOCUS)
    ::DrawFocusRect(dc, &row);
  ChartRecord* chart = SelectedChartRecord();
  const int index = static_cast<int>(item.itemID);
  if (chart == nullptr || index < 0 || index >= chart->UsedSeriesCount() || m_header == nullptr)
    return;
  const SeriesRecord& series = chart->series[index];
  char name[kSeriesTextSize];
  std::memcpy(name, series.name, sizeof name);
  name[sizeof name - 1] = '\0';
  char formula[kSeriesFormulaSize];
  ShowSeriesFormula(m_owner->Workbook()->evaluator, series.dataArray, formula, sizeof formula);
  const char* texts[3] = {SeriesRoleText(series.role, chart->Kind() == kChartXY), name, formula};
  const HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  const COLORREF oldColour = ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  for (int column = 0; column < 3; ++column) {
    RECT cell = {};
    if (!::SendMessageA(m_header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&cell)))
      continue;
    cell.left += kColumnInset;
    cell.right -= kColumnInset;
    cell.top = row.top;
    cell.bottom = row.bottom;
    ::DrawTextA(dc, texts[column], -1, &cell, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  ::SetBkMode(dc, oldMode);
  ::SetTextColor(dc, oldColour);
  ::SelectObject(dc, oldFont);
}

void CChartDlg2::AddSeries() {
  if (!ApplyPage(true))
    return;
  ChartRecord* chart = SelectedChartRecord();
  if (chart == nullptr)
    return;
  int32_t index = -1;
  if (!AddSeriesSlot(*chart, &index)) {
    ShowError(kErrorTooManySeries);
    return;
  }
  m_selectedSeries = index;
  CompileSeriesFormula(true);
  if (m_seriesList != nullptr) {
    ::SendMessageA(m_seriesList, LB_ADDSTRING, 0, index);
    ::SendMessageA(m_seriesList, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  ApplyPage(false);
}

void CChartDlg2::DeleteSeries() {
  ChartRecord* chart = SelectedChartRecord();
  if (chart == nullptr || m_selectedSeries < 0 || chart->UsedSeriesCount() < 1)
    return;
  const int32_t removed = m_selectedSeries;
  m_selectedSeries = DeleteSeriesSlot(*chart, removed);
  if (m_seriesList != nullptr) {
    ::SendMessageA(m_seriesList, LB_DELETESTRING, static_cast<WPARAM>(removed), 0);
    ::SendMessageA(m_seriesList, LB_SETCURSEL, static_cast<WPARAM>(m_selectedSeries), 0);
  }
  CompileSeriesFormula(false);
  ApplyPage(false);
}

void CChartDlg2::OnSeriesSelChange() {
  const int32_t row = static_cast<int32_t>(::SendMessageA(m_seriesList, LB_GETCURSEL, 0, 0));
  if (row == m_selectedSeries)
    return;
  if (!ApplyPage(true)) {
    ::SendMessageA(m_seriesList, LB_SETCURSEL, static_cast<WPARAM>(m_selectedSeries), 0);
    CompileSeriesFormula(false);
    return;
  }
  m_selectedSeries = row;
  CompileSeriesFormula(false);
  ApplyPage(false);
}

void CChartDlg2::OnTypeCloseUp() {
  if (::GetFocus() != GetDlgItem(IDC_SERIES_TYPE_COMBO))
    return;
  CompileSeriesFormula(true);
  // The page shows the options of the new role.
  ApplyPage(false);
}

void CChartDlg2::UseSelectionAsSeries() {
  CWorkBook* book = m_owner->Workbook();
  SelectionRange selection = {};
  if (book == nullptr || book->activeWorksheet == nullptr || !m_owner->ActiveSelection(&selection))
    return;
  char path[kSeriesFormulaSize] = {};
  char formula[kSeriesFormulaSize];
  if (!book->activeWorksheet->GetFullPath(path, sizeof path) ||
      !SeriesFormulaOfSelection(book->evaluator, selection, path, formula, sizeof formula)) {
    ::MessageBeep(MB_OK);
    ::SetFocus(GetDlgItem(IDC_SERIES_FORMULA_EDIT));
    return;
  }
  SetControlText(IDC_SERIES_FORMULA_EDIT, formula);
  CompileSeriesFormula(true);
}

void CChartDlg2::UseSelectionAsFirstSeries() {
  if (m_selectedSeries < 0)
    AddSeries();
  if (m_selectedSeries >= 0)
    UseSelectionAsSeries();
}
