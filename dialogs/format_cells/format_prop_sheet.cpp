#include "dialogs/format_cells/format_prop_sheet.h"

#include <cstring>

#include <commctrl.h>

#include "dialogs/controls/dialog_opening.h"
#include "dialogs/format_cells/border_preview_rules.h"
#include "dialogs/format_cells/format_sheet_host.h"
#include "dialogs/format_cells/sheet_placement.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"
#include "services/settings/global_options.h"
#include "services/ui_services/window_transparency.h"
#include "view/draw_context/default_font.h"

namespace {

const char* const kTabTexts[CFormatPropSheet::kPageCount] = {"Style", "Font", "Alignment", "Border", "Background"};

}  // namespace

CFormatPropSheet::CFormatPropSheet(FormatSheetHost* host) : CDialogImpl(IDD_CELL_FORMAT), m_host(host) {}

LRESULT CFormatPropSheet::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lp);
      if (header->hwndFrom == m_tabs && header->code == TCN_SELCHANGE) {
        ShowPage(static_cast<int>(::SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0)));
        return 0;
      }
      break;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == IDCANCEL) {
        DestroyWindow();
        if (m_host != nullptr) m_host->FormatSheetClosed();
        return 0;
      }
      break;
    case WM_DESTROY:
      OnDestroy();
      break;
  }
  handled = false;
  return 0;
}

bool CFormatPropSheet::PreTranslateMessage(MSG* msg) { return FilterInput(msg) || CDialogImpl::PreTranslateMessage(msg); }

bool CFormatPropSheet::FilterInput(MSG* msg) {
  if (m_host != nullptr) m_host->NoteInput(*msg);
  if (msg->message != WM_KEYDOWN || ActivePage() != kBorder || borderPage.m_hWnd == nullptr) return false;
  const HWND target = msg->hwnd;
  if (target != m_hWnd && target != m_tabs && target != borderPage.m_hWnd && target != borderPage.Preview())
    return false;
  const uint8_t side = BorderDigitSide(static_cast<uint32_t>(msg->wParam));
  if (side == 0) return false;
  borderPage.ToggleSide(side);
  return true;
}

LRESULT CFormatPropSheet::OnInitDialog() {
  m_tabs = GetDlgItem(IDC_SHEET_TABS);
  for (int i = 0; i < kPageCount; ++i) TabInsertItem(m_tabs, i, kTabTexts[i]);
  const int page = Options.CellFormatPage < kPageCount ? int(Options.CellFormatPage) : int(kStyle);
  ::SendMessageA(m_tabs, TCM_SETCURSEL, page, 0);
  ShowPage(page);
  PlaceWindow();
  SetWindowTransparency(m_hWnd, Options.Opacity);
  return TRUE;
}

void CFormatPropSheet::PlaceWindow() {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const OptionsRect& stored = Options.CellFormatRect;
  if (RestoresStoredPlacement({stored.left, stored.top, stored.right, stored.bottom},
                              {work.left, work.top, work.right, work.bottom})) {
    MoveWindow(RECT{stored.left, stored.top, stored.right, stored.bottom});
  } else {
    CenterWindow();
  }
}

void CFormatPropSheet::OnDestroy() {
  const RECT r = GetWindowRect();
  Options.CellFormatRect = {r.left, r.top, r.right, r.bottom};
  m_shown = nullptr;
  m_tabs = nullptr;
}

void CFormatPropSheet::ShowPage(int index) {
  if (m_shown != nullptr && m_shown->Dialog().m_hWnd != nullptr) ::DestroyWindow(m_shown->Dialog().m_hWnd);
  m_shown = nullptr;
  CFormatPage* page = Page(index);
  if (page == nullptr) return;
  CDialogImpl& dialog = page->Dialog();
  if (CreateTabPage(dialog, m_tabs) == nullptr) return;
  EnableTabPageTexture(dialog.m_hWnd, true);
  Options.CellFormatPage = static_cast<uint8_t>(index);
  ::ShowWindow(dialog.m_hWnd, SW_SHOW);
  m_shown = page;
  page->RefreshPage(0);
}

int CFormatPropSheet::ActivePage() const {
  if (m_tabs == nullptr) return Options.CellFormatPage;
  return static_cast<int>(::SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0));
}

CFormatPage* CFormatPropSheet::Page(int index) {
  CFormatPage* const pages[kPageCount] = {&stylePage, &fontPage, &alignmentPage, &borderPage, &backgroundPage};
  return index >= 0 && index < kPageCount ? pages[index] : nullptr;
}

void CFormatPropSheet::SetCellFormat(const StyleRecord& style, const FontRecord& font) {
  stylePage.Params() = style.numFormat;
  FontRecord standard;
  CopyDefaultFont(&standard);
  FontWithColor shown = {font, style.fontColorSet, style.fontColor};
  if (shown.font.faceName[0] == '\0') std::memcpy(shown.font.faceName, standard.faceName, sizeof standard.faceName);
  if (shown.font.size == 0) shown.font.size = standard.size;
  fontPage.font = shown;
  alignmentPage.style = style;
  borderPage.style = style;
  backgroundPage.style = style;
  UpdateActivePage(0);
}

void CFormatPropSheet::UpdateActivePage(int direction) {
  if (m_hWnd == nullptr) return;
  CFormatPage* page = Page(ActivePage());
  if (page != nullptr && page->Dialog().m_hWnd != nullptr) page->RefreshPage(direction);
}

bool ShowPropSheetModeless(CFormatPropSheet* sheet) {
  if (sheet->m_hWnd != nullptr) sheet->DestroyWindow();
  if (sheet->Create(sheet->Host() != nullptr ? sheet->Host()->FrameWindow() : nullptr) == nullptr) return false;
  sheet->ShowWindow(SW_SHOW);
  return true;
}
