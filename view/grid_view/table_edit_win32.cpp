#include "view/grid_view/table_edit.h"

#include "view/grid_view/talver_view.h"

namespace {

bool KeyDown(int key) { return ::GetKeyState(key) < 0; }

}  // namespace

LRESULT CTableEdit::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  switch (msg) {
    case WM_KEYDOWN:
      return OnKeyDown(wp, handled);
    case WM_CHAR:
      // Enter and Tab ended the edit on their key-down; Esc cancelled it.
      if (wp == '\r' || wp == '\t' || wp == 0x1B)
        return 0;
      // Placed again once the control has taken the character.
      if (wp != '\b')
        ::PostMessageA(m_view->m_hWnd, WM_COMMAND, kCommandPlaceEditor, 0);
      break;
  }
  handled = false;
  return 0;
}

LRESULT CTableEdit::OnKeyDown(WPARAM key, bool& handled) {
  DWORD start = 0, end = 0;
  SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const bool nothingSelected = start == end;
  const LRESULT line = SendMessage(EM_LINEFROMCHAR, end);
  switch (key) {
    case VK_TAB:
      m_view->EndEdit(KeyDown(VK_SHIFT) ? kMoveLeft : kMoveRight);
      return 0;
    case VK_RETURN:
      if (KeyDown(VK_CONTROL))
        break;
      // Shift+Enter stores the text as typed, unparsed.
      m_view->EndEdit(kMoveByEnterOption, KeyDown(VK_SHIFT));
      return 0;
    case VK_ESCAPE:
      m_view->CancelEdit();
      return 0;
    case 'A':
      // The EDIT control has no key of its own that selects all its text.
      if (KeyDown(VK_CONTROL) && !KeyDown(VK_SHIFT) && !KeyDown(VK_MENU)) {
        SendMessage(EM_SETSEL, 0, -1);
        return 0;
      }
      break;
    case VK_PRIOR:
      m_view->EndEdit(kMoveUp);
      return 0;
    case VK_NEXT:
      m_view->EndEdit(kMoveDown);
      return 0;
    case VK_LEFT:
      if (nothingSelected && end == 0) {
        m_view->EndEdit(kMoveLeft);
        return 0;
      }
      break;
    case VK_UP:
      if (nothingSelected && line == 0) {
        m_view->EndEdit(kMoveUp);
        return 0;
      }
      break;
    case VK_RIGHT: {
      const LRESULT lineStart = SendMessage(EM_LINEINDEX, line);
      const LRESULT lineLength = SendMessage(EM_LINELENGTH, lineStart);
      if (nothingSelected && static_cast<LRESULT>(end) == lineStart + lineLength) {
        m_view->EndEdit(kMoveRight);
        return 0;
      }
      break;
    }
    case VK_DOWN:
      if (nothingSelected && line == SendMessage(EM_GETLINECOUNT) - 1) {
        if (m_view->m_listNumber && m_view->m_list.IsWindowVisible())
          m_view->m_list.SetFocus();
        else
          m_view->EndEdit(kMoveDown);
        return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CDropDownList::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_KEYDOWN:
      return OnKeyDown(wp, handled);
    case WM_LBUTTONUP:
      return OnLButtonUp(msg, wp, lp);
  }
  handled = false;
  return 0;
}

LRESULT CDropDownList::OnKeyDown(WPARAM key, bool& handled) {
  const LRESULT selected = SendMessage(LB_GETCURSEL);
  switch (key) {
    case VK_TAB:
      m_view->EndEdit(KeyDown(VK_SHIFT) ? kMoveLeft : kMoveRight);
      return 0;
    case VK_RETURN:
      if (selected != LB_ERR) {
        m_view->TakeListItem(static_cast<int>(selected));
        m_view->EndEdit(kMoveByEnterOption);
      }
      return 0;
    case VK_ESCAPE:
      m_view->CancelEdit();
      return 0;
    case VK_LEFT:
      m_view->EndEdit(kMoveLeft);
      return 0;
    case VK_RIGHT:
      m_view->EndEdit(kMoveRight);
      return 0;
    case VK_UP:
      if (selected == LB_ERR || selected == 0) {
        m_view->m_editor.SetFocus();
        return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CDropDownList::OnLButtonUp(UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT result = DefWindowProc(msg, wp, lp);
  const LRESULT selected = SendMessage(LB_GETCURSEL);
  if (selected != LB_ERR) {
    m_view->TakeListItem(static_cast<int>(selected));
    m_view->EndEdit(kMoveNone);
  }
  return result;
}
