#include "view/grid_view/talver_view.h"

// The in-cell editor as far as the grid view's own handlers need it: shown
// on the current cell with a text, placed again, hidden. Storing what was
// typed is the editor's own work.

bool CTalverView::BeginEdit(const char* text, int caret) {
  if (!m_editor.IsWindow())
    return false;
  m_editRange[0] = m_editRange[2] = m_selection.currentColumn;
  m_editRange[1] = m_editRange[3] = m_selection.currentRow;
  m_editor.SetWindowText(text ? text : "");
  m_host->EditState() = kEditInCell;
  PlaceEditor();
  m_editor.ShowWindow(SW_SHOW);
  m_editor.SetFocus();
  m_editor.SendMessage(EM_SETSEL, static_cast<WPARAM>(caret), caret);
  return true;
}

bool CTalverView::EndEdit(int) {
  if (m_host->EditState() != kEditInCell)
    return true;
  CancelEdit();
  return true;
}

void CTalverView::CancelEdit() {
  if (m_editor.IsWindow())
    m_editor.ShowWindow(SW_HIDE);
  if (m_list.IsWindow())
    m_list.ShowWindow(SW_HIDE);
  if (m_host->EditState() == kEditInCell)
    m_host->EditState() = kEditIdle;
  if (::GetFocus() != m_hWnd && IsWindowVisible())
    SetFocus();
}

void CTalverView::PlaceEditor() {
  if (!m_editor.IsWindow())
    return;
  const SelectionRange cell = {m_editRange[0], m_editRange[1], m_editRange[2], m_editRange[3]};
  const RECT r = GetRangeRect(cell);
  const RECT placed = {r.left + 1, r.top + 1, r.right, r.bottom};
  m_editor.MoveWindow(placed, true);
}
