#include "dialogs/controls/location_combo.h"

#include <commctrl.h>

#include "resources/resource_ids.h"

LRESULT CLocationCombo::CLocationEdit::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  if (msg == WM_KEYDOWN && wp == VK_RETURN) {
    // To the window that owns the bar: the combo box would take the focus
    // back into its edit once the command had moved it to the cells.
    ::PostMessageA(::GetAncestor(m_combo, GA_ROOT), WM_COMMAND, ID_GO, 0);
    return 0;
  }
  // The Enter character itself would only beep in a one-line edit.
  if (msg == WM_CHAR && wp == '\r') return 0;
  handled = false;
  return 0;
}

bool CLocationCombo::Attach(HWND comboEx) {
  HWND edit = reinterpret_cast<HWND>(::SendMessageA(comboEx, CBEM_GETEDITCONTROL, 0, 0));
  if (edit == nullptr || !SubclassWindow(comboEx)) return false;
  m_edit.m_combo = comboEx;
  if (m_edit.SubclassWindow(edit)) return true;
  UnsubclassWindow();
  return false;
}
