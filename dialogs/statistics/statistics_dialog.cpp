#include "dialogs/statistics/statistics_dialog.h"

#include <commctrl.h>
#include <cstdio>

#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "dialogs/controls/dialog_opening.h"
#include "dialogs/statistics/cell_counts.h"
#include "platform/ui/common_controls.h"
#include "platform/ui/wait_cursor.h"
#include "resources/resource_ids.h"
#include "services/messages/message_boxes.h"

namespace {

constexpr int kColumnMargin = 15;

int TextWidth(HWND list, const char* text) {
  return static_cast<int>(::SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
}

void Widen(HWND list, int column, const char* text, int* widths) {
  const int width = TextWidth(list, text) + kColumnMargin;
  if (width > widths[column]) widths[column] = width;
}

}  // namespace

CStatisticsDlg::CStatisticsDlg(CWorkBook* book) : CDialogImpl(IDD_STATISTICS), m_book(book) {}

LRESULT CStatisticsDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lp);
      if (header->idFrom != IDC_STATISTICS_LIST || header->code != NM_DBLCLK) break;
      GoToSelectedRow();
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == IDC_GO_TO_BUTTON) {
        GoToSelectedRow();
        return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CStatisticsDlg::OnInitDialog() {
  PlaceOpeningDialog(m_hWnd);
  HWND list = GetDlgItem(IDC_STATISTICS_LIST);
  ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  int widths[kStatisticsColumnCount] = {};
  for (int column = 0; column < kStatisticsColumnCount; ++column) {
    const char* title = kStatisticsColumnTitles[column];
    widths[column] = TextWidth(list, title) + kColumnMargin;
    ListViewInsertColumn(list, column, title, widths[column], column == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT);
  }
  {
    WaitCursor wait;
    FillRows(list, widths);
  }
  for (int column = 0; column < kStatisticsColumnCount; ++column)
    ::SendMessageA(list, LVM_SETCOLUMNWIDTH, column, widths[column]);
  return TRUE;
}

void CStatisticsDlg::FillRows(HWND list, int* widths) {
  int worksheets = 0, folders = 0;
  for (CWorkSheetTree::CTreeItem* item = m_book->firstItem; item != nullptr; item = item->next) {
    if (item->IsFolder()) {
      ++folders;
      continue;
    }
    const CWorkSheet* sheet = CWorkSheet::FromItem(item);
    if (sheet == nullptr) continue;
    char path[kTreePathCapacity];
    if (!item->GetFullPath(path, sizeof path)) path[0] = '\0';
    const int row = ListViewInsertItem(list, worksheets, path, reinterpret_cast<LPARAM>(sheet));
    if (row < 0) {
      ShowError(kWorkbookOutOfMemory);
      break;
    }
    ++worksheets;
    Widen(list, 0, path, widths);
    const CellCounts counts = CountCells(*sheet);
    for (int column = 1; column < kStatisticsColumnCount; ++column) {
      char text[64];
      FormatCount(CountOfColumn(counts, column), &CurrentRegionalSettings(), text, sizeof text);
      ListViewSetItemText(list, row, column, text);
      Widen(list, column, text, widths);
    }
  }
  char summary[96];
  std::snprintf(summary, sizeof summary, "%d  worksheet(s),  %d  folders", worksheets, folders);
  SetDlgItemTextA(m_hWnd, IDC_STATISTICS_SUMMARY, summary);
}

void CStatisticsDlg::GoToSelectedRow() {
  HWND list = GetDlgItem(IDC_STATISTICS_LIST);
  const int row = static_cast<int>(::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (row < 0) return;
  LVITEMA item{};
  item.iSubItem = 0;
  item.pszText = m_path;
  item.cchTextMax = sizeof m_path;
  ::SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  EndDialog(IDOK);
}
