#include "platform/ui/window.h"

RECT CWindow::GetRectInParent() const {
  RECT r = GetWindowRect();
  HWND parent = ::GetParent(m_hWnd);
  if (parent != nullptr && (GetStyle() & WS_CHILD) != 0) {
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  return r;
}

bool CWindow::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
  DWORD style = GetStyle();
  DWORD changed = (style & ~remove) | add;
  if (changed == style) return false;
  ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(changed));
  if (swpFlags != 0) {
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
  }
  return true;
}
