// The frame's message and command map.

#include "app/frame/active_document.h"
#include "app/frame/frame_layout.h"
#include "app/frame/frame_only_commands.h"
#include "app/frame/main_frame.h"
#include "app/frame/owned_windows_win32.h"
#include "app/frame/unbuilt_commands.h"
#include "services/settings/global_options.h"
#include "resources/resource_ids.h"

LRESULT CMainFrame::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_CREATE:
      return OnCreate();
    case WM_CLOSE:
      return OnClose();
    case WM_DESTROY:
      return OnDestroy();
    case WM_INITMENUPOPUP:
      OnInitMenuPopup(reinterpret_cast<HMENU>(wp));
      handled = false;
      return 0;
    case WM_SIZE:
      return OnSize(wp);
    case WM_MOUSEWHEEL:
      return OnMouseWheel(wp, lp, handled);
    case WM_TIMER:
      OnTimer(wp);
      return 0;
    case WM_SETTINGCHANGE:
      OnSettingChange();
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lp), handled);
    case WM_SETFOCUS:
      // The frame's default hands the focus to the active document window,
      // which the preview hides: whatever gives the frame the focus back
      // (a closed dialog, a return from another program) gives it to the
      // preview then.
      if (m_preview.m_hWnd == nullptr) break;
      m_preview.SetFocus();
      return 0;
    case WM_COMMAND: {
      // While the preview is shown only its own commands run, whatever
      // sends them (the keys of the frame's accelerators above all).
      if (m_preview.m_hWnd != nullptr && !RunsWhilePreviewing(LOWORD(wp)) && LOWORD(wp) != kPreviewPageComboId)
        return 0;
      // While the preview is shown, the keys of the next and previous
      // worksheet turn its pages.
      if ((LOWORD(wp) == ID_NEXT_WORKSHEET || LOWORD(wp) == ID_PREVIOUS_WORKSHEET) && Preview() != nullptr &&
          m_preview.IsWindowVisible()) {
        PostMessage(WM_COMMAND, LOWORD(wp) == ID_NEXT_WORKSHEET ? ID_PREVIEW_NEXT : ID_PREVIEW_PREVIOUS);
        CountHandledCommand();
        return 0;
      }
      // A disabled command that still arrives, from its key, does nothing.
      if (IsCommandUnbuilt(LOWORD(wp))) return 0;
      LRESULT result = 0;
      if (OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp), &result)) {
        CountHandledCommand();
        return result;
      }
      // The window list of the Window menu and the document's system menu
      // belong to the MDI frame's own handling.
      if (LOWORD(wp) >= kFirstChildId) {
        CountHandledCommand();
        break;
      }
      ForwardToActiveDocument(wp, lp);
      return 0;
    }
  }
  handled = false;
  return 0;
}

LRESULT CMainFrame::OnSize(WPARAM kind) {
  if (kind != SIZE_MINIMIZED) {
    UpdateLayout();
    LayoutSecondaryBar();
    LayoutStatusBar();
  }
  // The placement the next start opens with.
  if (IsWindowVisible()) {
    if (kind == SIZE_MAXIMIZED) {
      Options.FrameShowState = kShowStateMaximized;
    } else if (kind == SIZE_MINIMIZED) {
      Options.FrameShowState = kShowStateMinimized;
    } else {
      const RECT r = GetWindowRect();
      Options.FrameShowState = kShowStateNormal;
      Options.FrameRect = {r.left, r.top, r.right, r.bottom};
    }
  }
  return 0;
}

bool CMainFrame::OnCommand(UINT command, UINT code, HWND control, LRESULT* result) {
  *result = 0;
  // Notifications of the name box and the preview's page box: only a chosen
  // entry is a command.
  if (control != nullptr && command == kPreviewPageComboId) {
    if (code == CBN_SELENDOK) OnPreviewPageSelected();
    return code == CBN_SELENDOK;
  }
  if (control != nullptr && command == kNameBoxId) {
    if (code != CBN_SELENDOK) return false;
    OnGoTo(true);
    return true;
  }
  if (command >= ID_RECENT_DATA_FIRST && command < ID_RECENT_DATA_FIRST + kRecentCellTextsShown) {
    ShowRecentCellText(static_cast<int>(command - ID_RECENT_DATA_FIRST));
    return true;
  }
  if (RunFrameFileCommand(this, command) || OnWindowCommand(command) || OnToolWindowCommand(command) ||
      OnPrintCommand(command) || OnSettingsCommand(command))
    return true;
  switch (command) {
    case ID_APP_EXIT:
      PostMessage(WM_CLOSE);
      return true;
    case ID_REGISTER_SERVER:
      OnRegisterServer();
      return true;
    case ID_UNREGISTER_SERVER:
      OnUnregisterServer();
      return true;
    case ID_WINDOW_CASCADE:
      MDICascade();
      return true;
    case ID_WINDOW_TILE_HORZ:
      MDITile(true);
      return true;
    case ID_WINDOW_ARRANGE:
      MDIIconArrange();
      return true;
    case ID_EDIT_FIND:
      // A shown find bar leaves the command to the document window.
      if (::IsWindowVisible(m_findToolBar)) return false;
      ShowFindBar(true);
      if (m_findCombo != nullptr) ::SetFocus(m_findCombo);
      return true;
    case ID_FIND_BAR_CLOSE:
      ShowFindBar(false);
      return true;
    case ID_GO:
      OnGoTo(false);
      return true;
    case ID_ADD_BOOKMARK:
      OnAddBookmark();
      return true;
    case ID_PREVIEW_GO_TO:
      // The label of the page box.
      return true;
    case ID_MATCH_CASE:
    case ID_MATCH_WHOLE_CELLS:
      // Check buttons of the find bar: they keep their own state, which the
      // search reads.
      return true;
    case ID_FORMAT_CELLS:
      OnCellFormatWindow();
      return true;
    case ID_FONT_BOLD:
    case ID_FONT_ITALIC:
    case ID_FONT_UNDERLINE:
    case ID_FONT_STRIKEOUT:
      OnFontStyle(command);
      return true;
    case ID_NEXT_WORKSHEET:
    case ID_PREVIOUS_WORKSHEET:
      // Pages of the preview while it is shown; there is no preview window.
      return false;
  }
  return false;
}

void CMainFrame::ShowRecentCellText(int index) {
  const ProfileLists* lists = Options.Lists;
  if (lists == nullptr || index >= lists->recentCellTextCount) return;
  ::SetWindowTextA(m_formulaBar.m_hWnd, lists->recentCellTexts[index]);
}

void CMainFrame::ForwardToActiveDocument(WPARAM wp, LPARAM lp) {
  if (HWND child = MDIGetActive()) ::SendMessageA(child, WM_COMMAND, wp, lp);
}

LRESULT CMainFrame::OnNotify(NMHDR* header, bool& handled) {
  if (header == nullptr) {
    handled = false;
    return 0;
  }
  switch (header->code) {
    case TBN_DROPDOWN:
      return OnToolbarDropDown(reinterpret_cast<NMTOOLBARA*>(header));
    case RBN_CHEVRONPUSHED:
      return OnChevronPushed(reinterpret_cast<NMREBARCHEVRON*>(header));
    case TTN_GETDISPINFOA:
      if (OnTooltipText(reinterpret_cast<NMTTDISPINFOA*>(header))) return 0;
      break;
    case CPrintPreviewWindow::kZoomModeEndedCode:
      m_previewZoomIn = 0;
      return 0;
  }
  handled = false;
  return 0;
}

bool CMainFrame::OnTooltipText(NMTTDISPINFOA* info) {
  if ((info->uFlags & TTF_IDISHWND) != 0) return false;
  char resource[256];
  if (LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(info->hdr.idFrom), resource, sizeof resource) <= 0)
    resource[0] = '\0';
  TooltipOfPrompt(resource, info->szText, sizeof info->szText);
  info->lpszText = info->szText;
  info->hinst = nullptr;
  return true;
}

namespace {

// Whether top-level window a stands above b.
bool StandsAbove(HWND a, HWND b) {
  for (HWND w = ::GetWindow(b, GW_HWNDPREV); w != nullptr; w = ::GetWindow(w, GW_HWNDPREV))
    if (w == a) return true;
  return false;
}

}  // namespace

void CMainFrame::KeepToolWindowsAbove() {
  HWND frame = m_hWnd;
  ForEachVisibleOwnedWindow(frame, [frame](HWND window) {
    if ((::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0 && !StandsAbove(window, frame))
      ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  });
}
