#include "platform/ui/update_ui.h"

#include <commctrl.h>

bool CUpdateUI::UIAddToolBar(HWND toolbar) {
  if (toolbar == nullptr || m_toolbarCount == kMaxToolBars) return false;
  m_toolbars[m_toolbarCount++] = toolbar;
  return true;
}

void CUpdateUI::UIUpdateMenu(HMENU popup) const {
  int count = GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    UINT id = GetMenuItemID(popup, i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators and sub-menus
    const UpdateUIEntry* e = m_table.Find(static_cast<uint16_t>(id));
    if (e == nullptr || (e->kinds & kUpdateUIMenu) == 0) continue;
    EnableMenuItem(popup, i, MF_BYPOSITION | (e->disabled ? MF_GRAYED : MF_ENABLED));
    CheckMenuItem(popup, i, MF_BYPOSITION | (e->checked ? MF_CHECKED : MF_UNCHECKED));
  }
}

void CUpdateUI::UIUpdateToolBars() {
  UpdateUIEntry changes[32];
  for (;;) {
    int n = m_table.TakeToolBarChanges(changes, 32);
    for (int i = 0; i < n; ++i) {
      for (int t = 0; t < m_toolbarCount; ++t) {
        HWND tb = m_toolbars[t];
        // A toolbar without the button answers -1 and is left alone.
        if (SendMessageA(tb, TB_COMMANDTOINDEX, changes[i].id, 0) < 0) continue;
        SendMessageA(tb, TB_ENABLEBUTTON, changes[i].id, MAKELPARAM(!changes[i].disabled, 0));
        SendMessageA(tb, TB_CHECKBUTTON, changes[i].id, MAKELPARAM(changes[i].checked == 1, 0));
        SendMessageA(tb, TB_INDETERMINATE, changes[i].id, MAKELPARAM(changes[i].checked == 2, 0));
      }
    }
    if (n < 32) break;
  }
}
