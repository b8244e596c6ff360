#ifndef TALVERO_PLATFORM_UI_WINDOW_H
#define TALVERO_PLATFORM_UI_WINDOW_H

// A window handle with the calls every window of the program makes on it.
// It owns nothing: copying it copies the handle, destroying it leaves the
// window alone.

#include <windows.h>

class CWindow {
 public:
  HWND m_hWnd = nullptr;

  CWindow() = default;
  explicit CWindow(HWND hwnd) : m_hWnd(hwnd) {}
  operator HWND() const { return m_hWnd; }
  bool IsWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }

  LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
    return ::SendMessageA(m_hWnd, msg, wp, lp);
  }
  bool PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
    return ::PostMessageA(m_hWnd, msg, wp, lp) != 0;
  }
  bool DestroyWindow() { return ::DestroyWindow(m_hWnd) != 0; }

  HWND GetParent() const { return ::GetParent(m_hWnd); }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  bool IsChild(HWND other) const { return ::IsChild(m_hWnd, other) != 0; }
  bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != 0; }
  bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != 0; }
  bool ShowWindow(int show) { return ::ShowWindow(m_hWnd, show) != 0; }
  bool EnableWindow(bool enable) { return ::EnableWindow(m_hWnd, enable) != 0; }
  HWND SetFocus() { return ::SetFocus(m_hWnd); }

  RECT GetClientRect() const {
    RECT r{};
    ::GetClientRect(m_hWnd, &r);
    return r;
  }
  RECT GetWindowRect() const {
    RECT r{};
    ::GetWindowRect(m_hWnd, &r);
    return r;
  }
  // The window's rectangle in its parent's client coordinates.
  RECT GetRectInParent() const;
  bool MoveWindow(const RECT& r, bool repaint = true) {
    return ::MoveWindow(m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, repaint) != 0;
  }
  bool SetWindowPos(HWND after, const RECT& r, UINT flags) {
    return ::SetWindowPos(m_hWnd, after, r.left, r.top, r.right - r.left, r.bottom - r.top, flags) != 0;
  }
  bool Invalidate(bool erase = true) { return ::InvalidateRect(m_hWnd, nullptr, erase) != 0; }
  bool InvalidateRect(const RECT& r, bool erase = true) {
    return ::InvalidateRect(m_hWnd, &r, erase) != 0;
  }
  bool UpdateWindow() { return ::UpdateWindow(m_hWnd) != 0; }

  bool SetWindowText(const char* text) { return ::SetWindowTextA(m_hWnd, text) != 0; }
  // Copies at most capacity - 1 characters and a NUL; returns the length copied.
  int GetWindowText(char* text, int capacity) const {
    return ::GetWindowTextA(m_hWnd, text, capacity);
  }
  int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }

  DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
  DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)); }
  bool ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);

  // Centres the window on its owner (the given window, else its owner or
  // parent, else the screen) inside the work area of the owner's monitor.
  bool CenterWindow(HWND centreOn = nullptr);

  HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
  void SetFont(HFONT font, bool redraw = true) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
  }
  HMENU GetMenu() const { return ::GetMenu(m_hWnd); }
  bool SetMenu(HMENU menu) { return ::SetMenu(m_hWnd, menu) != 0; }
};

// The x and y packed into a mouse message's parameter (signed, for positions
// left of or above the window on multi-monitor systems).
inline POINT PointFromLParam(LPARAM lp) {
  return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

#endif
