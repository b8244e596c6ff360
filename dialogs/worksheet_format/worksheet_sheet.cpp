#include "dialogs/worksheet_format/worksheet_sheet.h"

#include <commctrl.h>

#include "dialogs/controls/dialog_opening.h"
#include "dialogs/worksheet_format/view_format_choices.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"
#include "services/settings/global_options.h"
#include "services/ui_services/window_transparency.h"

CWorksheetPropSheet::CWorksheetPropSheet(WorksheetFormatHost* host)
    : CDialogImpl(IDD_WORKSHEET_FORMAT), m_host(host) {
  InitWorksheetViewFormat(&m_format);
}

bool ShowPropSheetModeless(CWorksheetPropSheet* sheet) {
  if (sheet->m_hWnd != nullptr) ::DestroyWindow(sheet->m_hWnd);
  sheet->ForgetPage();
  if (sheet->Create(sheet->Host()->HostWindow()) == nullptr) return false;
  sheet->ShowWindow(SW_SHOW);
  return true;
}

HWND CWorksheetPropSheet::PageWindow() const { return m_shown != nullptr ? m_shown->m_hWnd : nullptr; }

int CWorksheetPropSheet::ShownPage() const {
  return m_shown == &m_gridlines ? kGridlinesPage : kBackgroundPage;
}

WorksheetViewFormat& CWorksheetPropSheet::BeginPageChange() {
  m_host->ActiveWorksheetFormat(&m_format);
  return m_format;
}

void CWorksheetPropSheet::CommitPageChange() { m_host->ApplyWorksheetFormat(m_format); }

bool CWorksheetPropSheet::PreTranslateMessage(MSG* msg) {
  if (m_hWnd == nullptr) return false;
  if (IsUserInputMessage(msg->message)) m_host->StampActivityClocks();
  return CDialogImpl::PreTranslateMessage(msg);
}

LRESULT CWorksheetPropSheet::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lp);
      if (header->hwndFrom != m_tabs || header->code != TCN_SELCHANGE) break;
      ShowPage(static_cast<int>(::SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0)));
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wp) != IDCANCEL) break;
      ::DestroyWindow(m_hWnd);
      Options.WorksheetFormatVisible = 0;
      m_host->SheetClosed();
      return 0;
    case WM_DESTROY: {
      const RECT r = GetWindowRect();
      Options.WorksheetFormatRect = OptionsRect{r.left, r.top, r.right, r.bottom};
      m_shown = nullptr;
      handled = false;
      return 0;
    }
  }
  handled = false;
  return 0;
}

LRESULT CWorksheetPropSheet::OnInitDialog() {
  m_tabs = GetDlgItem(IDC_SHEET_TABS);
  TabInsertItem(m_tabs, kBackgroundPage, "Background");
  TabInsertItem(m_tabs, kGridlinesPage, "Gridlines");
  const int page = Options.WorksheetFormatPage == kGridlinesPage ? kGridlinesPage : kBackgroundPage;
  ::SendMessageA(m_tabs, TCM_SETCURSEL, page, 0);
  ShowPage(page);
  PlaceToolWindow(m_hWnd, Options.WorksheetFormatRect);
  SetWindowTransparency(m_hWnd, Options.Opacity);
  return TRUE;
}

void CWorksheetPropSheet::ShowPage(int page) {
  if (m_shown != nullptr && m_shown->m_hWnd != nullptr) ::DestroyWindow(m_shown->m_hWnd);
  m_shown = page == kGridlinesPage ? static_cast<CDialogImpl*>(&m_gridlines) : &m_background;
  if (CreateTabPage(*m_shown, m_tabs) == nullptr) {
    m_shown = nullptr;
    return;
  }
  Options.WorksheetFormatPage = static_cast<uint8_t>(page);
  // The page shows what the worksheet holds now.
  m_host->ActiveWorksheetFormat(&m_format);
  m_shown->ShowWindow(SW_SHOW);
  if (page == kGridlinesPage)
    m_gridlines.Load();
  else
    m_background.Load();
}
