#include "app/tree/tree_view_ctrl.h"

#include <cstring>

#include "platform/ui/popup_menu.h"
#include "resources/resource_ids.h"

LRESULT CTreeViewCtrlEx2::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_RBUTTONDOWN:
      return OnRButtonDown(PointFromLParam(lp));
    case WM_CONTEXTMENU:
      return OnContextMenu(PointFromLParam(lp));
    case WM_SYSKEYDOWN:
      // Keys with Alt are the window system's (Alt+F4 closes the program);
      // the control would take them for its own and keep them.
      return ::DefWindowProcA(m_hWnd, msg, wp, lp);
  }
  handled = false;
  return 0;
}

HTREEITEM CTreeViewCtrlEx2::SelectedItem() const {
  return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, TVGN_CARET, 0));
}

LPARAM CTreeViewCtrlEx2::ItemData(HTREEITEM item) const {
  TVITEMA data{};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  if (item == nullptr || !SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) return 0;
  return data.lParam;
}

HTREEITEM CTreeViewCtrlEx2::ItemAt(POINT client) const {
  TVHITTESTINFO hit{};
  hit.pt = client;
  HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return (hit.flags & TVHT_ONITEM) != 0 ? item : nullptr;
}

HWND CTreeViewCtrlEx2::LabelEdit() const { return reinterpret_cast<HWND>(SendMessage(TVM_GETEDITCONTROL, 0, 0)); }

void CTreeViewCtrlEx2::EndLabelEdit(bool cancel) const {
  if (LabelEdit() != nullptr) SendMessage(TVM_ENDEDITLABELNOW, cancel ? TRUE : FALSE, 0);
}

void CTreeViewCtrlEx2::AdoptLabelEdit() {
  const HWND edit = LabelEdit();
  if (edit == nullptr || edit == m_labelEdit.m_hWnd) return;
  m_labelEdit.UnsubclassWindow();
  m_labelEdit.SubclassWindow(edit);
}

LRESULT CTreeLabelEdit::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  const auto held = [](int key) { return ::GetKeyState(key) < 0; };
  switch (msg) {
    case WM_KEYDOWN:
      if (wp == 'A' && held(VK_CONTROL) && !held(VK_SHIFT) && !held(VK_MENU)) {
        SendMessage(EM_SETSEL, 0, -1);
        return 0;
      }
      break;
    case WM_DESTROY: {
      // The tree gives the edit its own procedure back as it goes, past
      // this map: the map steps aside first.
      const HWND edit = m_hWnd;
      const WNDPROC base = m_baseProc;
      UnsubclassWindow();
      return ::CallWindowProcA(base, edit, msg, wp, lp);
    }
  }
  handled = false;
  return 0;
}

bool IsTreeLabelEdit(HWND window) {
  const HWND tree = window != nullptr ? ::GetParent(window) : nullptr;
  char name[32] = {};
  if (tree == nullptr || ::GetClassNameA(tree, name, sizeof name) == 0 || ::lstrcmpiA(name, WC_TREEVIEWA) != 0)
    return false;
  return reinterpret_cast<HWND>(::SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0)) == window;
}

// The press selects and goes no further, so the control starts no drag of
// its own; the menu comes with WM_CONTEXTMENU. It takes the focus, as the
// menu's clipboard and Delete commands act on the tree only while it has it.
LRESULT CTreeViewCtrlEx2::OnRButtonDown(POINT client) {
  EndLabelEdit(false);
  if (::GetFocus() != m_hWnd) ::SetFocus(m_hWnd);
  HTREEITEM item = ItemAt(client);
  if (item != nullptr && item != SelectedItem()) SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  return 0;
}

LRESULT CTreeViewCtrlEx2::OnContextMenu(POINT screen) {
  EndLabelEdit(false);
  // A menu called up from the keyboard opens at the selected item.
  if (screen.x == -1 && screen.y == -1) {
    // The control reads the item's handle from the rectangle it fills.
    HTREEITEM selected = SelectedItem();
    RECT r{};
    std::memcpy(&r, &selected, sizeof selected);
    if (selected == nullptr || !SendMessage(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) r = RECT{};
    screen = POINT{r.left, r.bottom};
    ::ClientToScreen(m_hWnd, &screen);
  }
  HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MENU_TREE_CONTEXT));
  if (menu == nullptr) return 0;
  const HWND owner = menuOwner != nullptr ? menuOwner : GetParent();
  const UINT command =
      TrackPopupMenuCommand(::GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, owner);
  ::DestroyMenu(menu);
  if (command != 0) ::SendMessageA(owner, WM_COMMAND, command, 0);
  return 0;
}
