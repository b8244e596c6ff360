#include "view/grid_view/autoscroll_window.h"

#include "platform/ui/window_class.h"
#include "view/grid_view/autoscroll_steps.h"

namespace {

const WindowClass* IndicatorClass() {
  static WindowClass cls = {};
  static bool registered = false;
  if (!registered)
    registered = RegisterOwnClass("CMouseWheelWnd", 0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), &cls);
  return registered ? &cls : nullptr;
}

}  // namespace

CMouseWheelWnd::~CMouseWheelWnd() { Stop(); }

bool CMouseWheelWnd::Start(HWND owner, POINT centre) {
  Stop();
  const WindowClass* cls = IndicatorClass();
  if (!cls)
    return false;
  m_owner = owner;
  m_centre = centre;
  m_paused = false;
  const RECT rect = {centre.x - m_width / 2, centre.y - m_height / 2, centre.x - m_width / 2 + m_width,
                     centre.y - m_height / 2 + m_height};
  if (!Create(*cls, owner, rect, "", WS_POPUP | WS_VISIBLE))
    return false;
  ::SetFocus(m_hWnd);
  ::SetTimer(m_hWnd, kAutoscrollTimer, kAutoscrollInterval, nullptr);
  return true;
}

void CMouseWheelWnd::Stop() {
  if (!m_hWnd)
    return;
  ::KillTimer(m_hWnd, kAutoscrollTimer);
  DestroyWindow();
}

void CMouseWheelWnd::Tick(POINT pointer, uint32_t now) {
  if (m_paused && static_cast<int32_t>(now - m_resumeAt) < 0)
    return;
  m_paused = false;
  const int32_t dx = pointer.x - m_centre.x, dy = pointer.y - m_centre.y;
  static const LPCSTR cursors[9] = {IDC_SIZENWSE, IDC_SIZENS, IDC_SIZENESW, IDC_SIZEWE,  IDC_SIZEALL,
                                    IDC_SIZEWE,   IDC_SIZENESW, IDC_SIZENS, IDC_SIZENWSE};
  ::SetCursor(::LoadCursorA(nullptr, cursors[AutoscrollDirection(dx, dy, m_width / 2, m_height / 2)]));
  const AutoscrollStep h = AutoscrollStepFor(dx, m_width / 2);
  const AutoscrollStep v = AutoscrollStepFor(dy, m_height / 2);
  if (h.code >= 0)
    ::SendMessageA(m_owner, WM_HSCROLL, static_cast<WPARAM>(h.code), 0);
  if (v.code >= 0)
    ::SendMessageA(m_owner, WM_VSCROLL, static_cast<WPARAM>(v.code), 0);
  if (h.code < 0 && v.code < 0)
    return;
  uint32_t pause = h.code >= 0 ? h.pause : v.pause;
  if (v.code >= 0 && v.pause < pause)
    pause = v.pause;
  if (pause > 0) {
    m_paused = true;
    m_resumeAt = now + pause;
  }
}

LRESULT CMouseWheelWnd::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  switch (msg) {
    case WM_PAINT:
      return OnPaint();
    case WM_TIMER:
      if (wp == kAutoscrollTimer) {
        POINT pointer;
        ::GetCursorPos(&pointer);
        Tick(pointer, ::GetTickCount());
        return 0;
      }
      break;
    // Any press ends it, not only a lost focus.
    case WM_KILLFOCUS:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      Stop();
      return 0;
  }
  handled = false;
  return 0;
}

LRESULT CMouseWheelWnd::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  const RECT client = GetClientRect();
  const HGDIOBJ pen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
  const HGDIOBJ brush = ::SelectObject(dc, ::GetStockObject(HOLLOW_BRUSH));
  ::Rectangle(dc, client.left, client.top, client.right, client.bottom);
  const int cx = client.right / 2, cy = client.bottom / 2;
  ::Ellipse(dc, cx - 3, cy - 3, cx + 4, cy + 4);
  const POINT up[3] = {{cx, 3}, {cx - 4, 8}, {cx + 4, 8}};
  const POINT down[3] = {{cx, client.bottom - 4}, {cx - 4, client.bottom - 9}, {cx + 4, client.bottom - 9}};
  ::SelectObject(dc, ::GetStockObject(BLACK_BRUSH));
  ::Polygon(dc, up, 3);
  ::Polygon(dc, down, 3);
  ::SelectObject(dc, brush);
  ::SelectObject(dc, pen);
  ::EndPaint(m_hWnd, &ps);
  return 0;
}
