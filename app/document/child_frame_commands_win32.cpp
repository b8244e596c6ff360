// The document window's message map and command table.

#include "app/document/child_frame.h"

#include "app/clipboard/ring_menu.h"

#include "app/frame/main_frame.h"
#include "app/frame/open_documents.h"
#include "app/frame/unbuilt_commands.h"
#include "services/settings/global_options.h"
#include "platform/ui/popup_menu.h"
#include "resources/resource_ids.h"

void CChildFrame::RememberMaximised() {
  if (m_ownsItself) Options.MaximizeDocWindow = ::IsZoomed(m_hWnd) ? 1 : 0;
  m_maximisedRemembered = true;
}

LRESULT CChildFrame::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_CREATE:
      if (OnCreate() != 0) return -1;
      handled = false;
      return 0;
    case WM_SIZE:
      OnSize();
      handled = false;
      return 0;
    case WM_CLOSE:
      if (!QueryClose()) return 0;
      // Taken before the client closes it: a maximised window is restored
      // on its way out.
      RememberMaximised();
      handled = false;
      return 0;
    case WM_DESTROY:
      // A window that failed in its creation was never shown.
      if (!m_maximisedRemembered) RememberMaximised();
      if (m_chartEditor.m_hWnd != nullptr) ::DestroyWindow(m_chartEditor.m_hWnd);
      handled = false;
      return 0;
    case WM_MDIACTIVATE:
      if (reinterpret_cast<HWND>(lp) == m_hWnd) {
        UpdateTitle();
        if (m_owner != nullptr) m_owner->SetRefreshPending();
        RefreshFrameUI();
      }
      handled = false;
      return 0;
    case WM_SETFOCUS:
      // The focus belongs in the active view, as it is after a click, or in
      // its editor while a text is open there.
      if (CDocumentView* view = GetActiveView())
        ::SetFocus(m_editing == kEditInCell ? view->m_editor.m_hWnd : view->m_hWnd);
      handled = false;
      return 0;
    case WM_CONTEXTMENU:
      OnContextMenu(PointFromLParam(lp));
      return 0;
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lp)->idFrom == kTreeId) return OnTreeNotify(reinterpret_cast<NMHDR*>(lp));
      break;
    case kMsgNameRefused:
      OnNameRefused();
      return 0;
    case WM_TIMER:
      if (wp == kTreeDragTimer) {
        OnTreeDragTick();
        return 0;
      }
      break;
    case WM_COMMAND:
      // A command chosen from a menu, by a key or with a button finds the
      // tree showing the workbook's names, and may remove or move the item
      // whose name is being edited: the edit ends first, taking the typed
      // name as Enter does. Controls' notifications pass.
      if (HIWORD(wp) == 0 || lp == 0) m_tree.EndLabelEdit(false);
      if (OnCommand(LOWORD(wp), reinterpret_cast<HWND>(lp), lp)) {
        CountHandledCommand();
        return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

bool CChildFrame::OnCommand(UINT command, HWND source, LPARAM lp) {
  if (OnSheetCommand(command)) return true;
  if (OnContainerCommand(command)) return true;
  switch (command) {
    case ID_FILE_CLOSE:
      PostMessage(WM_CLOSE);
      return true;
    case ID_FILE_SAVE:
      OnFileSave();
      return true;
    case ID_FILE_SAVE_AS:
      OnFileSaveAs();
      return true;
    case ID_RELOAD:
      OnFileReload();
      return true;
    case ID_VIEW_TREE:
      OnToggleTree();
      return true;
    case ID_VIEW_INSPECT:
      OnToggleInspect();
      return true;
    case ID_PANE_CLOSE:
      OnPaneClose(source);
      return true;
    case ID_SPLIT_HORIZONTALLY:
      OnSplit(false);
      return true;
    case ID_SPLIT_VERTICALLY:
      OnSplit(true);
      return true;
    case ID_NEXT_PANE:
    case ID_PREV_PANE:
      // Shift+F6 arrives as either command: the key decides the direction.
      OnNextPane((::GetKeyState(VK_SHIFT) & 0x8000) != 0);
      return true;
    case ID_EDIT_CELL:
      // F2 in the tree edits the selected item's name, as Enter there does;
      // the cells it would edit are out of sight of the user's keys.
      if (lp == 0 && FocusInTree()) {
        OnRename();
        return true;
      }
      OnBeginEdit(reinterpret_cast<const char*>(lp));
      return true;
    case ID_FORMULA_BAR_OK:
      OnEnterFormulaBar();
      return true;
    case ID_NEW_WORKSHEET:
    case ID_NEW_FOLDER:
      OnNewTreeItem(command == ID_NEW_FOLDER);
      return true;
    case ID_RENAME:
      OnRename();
      return true;
    case ID_NEXT_WORKSHEET:
    case ID_PREVIOUS_WORKSHEET:
      OnNextWorksheet(command == ID_PREVIOUS_WORKSHEET);
      return true;
    case ID_EDIT_COPY:
      OnEditCopy();
      return true;
    case ID_EDIT_CUT:
      OnEditCut();
      return true;
    case ID_EDIT_PASTE:
      OnEditPaste();
      return true;
    case ID_EDIT_CLEAR:
      OnEditDelete();
      return true;
  }
  if (command >= ID_PASTE_RING_FIRST && command < ID_PASTE_RING_FIRST + kRingMenuEntries) {
    OnPasteRingEntry(static_cast<int32_t>(command - ID_PASTE_RING_FIRST));
    return true;
  }
  return OnCellCommand(command);
}

void CChildFrame::OnContextMenu(POINT screen) {
  HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MENU_CELL_CONTEXT));
  if (menu == nullptr) return;
  // A menu called up from the keyboard comes at a point on no monitor: it
  // is brought into the nearest work area across, its height kept.
  if (::MonitorFromPoint(screen, MONITOR_DEFAULTTONULL) == nullptr) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoA(::MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST), &info)) {
      if (screen.x < info.rcWork.left) screen.x = info.rcWork.left;
      if (screen.x >= info.rcWork.right) screen.x = info.rcWork.right - 1;
    }
  }
  const HWND owner = m_owner != nullptr ? m_owner->m_hWnd : m_hWnd;
  const UINT command = TrackPopupMenuCommand(::GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x,
                                             screen.y, owner);
  ::DestroyMenu(menu);
  if (command != 0) ::SendMessageA(owner, WM_COMMAND, command, 0);
}

void CChildFrame::OnFinalMessage(HWND) {
  RemoveOpenDocument(this);
  if (m_ownsItself) delete this;
}

CChildFrame* DocumentWindowOfHandle(HWND window) {
  if (window == nullptr) return nullptr;
  for (const OpenDocument& slot : OpenDocuments().slots)
    if (slot.frame != nullptr && slot.frame->m_hWnd == window) return slot.frame;
  return nullptr;
}
