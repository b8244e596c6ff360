#include "platform/ui/window.h"

#include "platform/ui/centre_rect.h"

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

bool CWindow::CenterWindow(HWND centreOn) {
  if (centreOn == nullptr) {
    centreOn = (GetStyle() & WS_CHILD) != 0 ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
  }
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  HMONITOR hmon = MonitorFromWindow(centreOn != nullptr ? centreOn : m_hWnd, MONITOR_DEFAULTTONEAREST);
  if (!GetMonitorInfoA(hmon, &monitor)) return false;
  RECT owner = monitor.rcWork;
  if (centreOn != nullptr && ::IsWindowVisible(centreOn) && !::IsIconic(centreOn)) ::GetWindowRect(centreOn, &owner);
  RECT area = monitor.rcWork;
  RECT self = GetWindowRect();
  if ((GetStyle() & WS_CHILD) != 0) {
    // A child is placed in its parent's client coordinates.
    HWND parent = ::GetParent(m_hWnd);
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&owner), 2);
    ::GetClientRect(parent, &area);
  }
  UiRect r = CentreRect(self.right - self.left, self.bottom - self.top,
                        UiRect{owner.left, owner.top, owner.right, owner.bottom},
                        UiRect{area.left, area.top, area.right, area.bottom});
  return ::SetWindowPos(m_hWnd, nullptr, r.left, r.top, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != 0;
}
