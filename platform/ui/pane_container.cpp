#include "platform/ui/pane_container.h"

#include <cstring>

#include "platform/ui/caption_button.h"
#include "platform/ui/capture_loop.h"

namespace {

const WindowClass& PaneContainerClass() {
  static WindowClass cls{};
  if (cls.atom == 0) {
    RegisterOwnClass("TalveroPaneContainer", 0, nullptr, reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1),
                     &cls);
  }
  return cls;
}

HFONT TitleFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

}  // namespace

HWND CPaneContainer::Create(HWND parent, const char* title, UINT id, DWORD style) {
  SetTitle(title);
  RECT r{0, 0, 0, 0};
  return CWindowImpl::Create(PaneContainerClass(), parent, r, m_title, style, 0, id);
}

void CPaneContainer::SetClient(HWND client) {
  m_client = client;
  LayoutClient();
}

void CPaneContainer::SetTitle(const char* title) {
  strncpy(m_title, title != nullptr ? title : "", kMaxTitle - 1);
  m_title[kMaxTitle - 1] = '\0';
  if (m_hWnd != nullptr) {
    ::SetWindowTextA(m_hWnd, m_title);
    Invalidate();
  }
}

int CPaneContainer::TitleHeight() const {
  HDC dc = GetDC(m_hWnd);
  HGDIOBJ old = SelectObject(dc, TitleFont());
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(m_hWnd, dc);
  return tm.tmHeight + 6;
}

RECT CPaneContainer::GetCloseButtonRect() const {
  RECT client = GetClientRect();
  int title = TitleHeight();
  int side = title - 4;
  return RECT{client.right - 2 - side, 2, client.right - 2, 2 + side};
}

void CPaneContainer::LayoutClient() {
  if (m_hWnd == nullptr || m_client == nullptr) return;
  RECT r = GetClientRect();
  r.top += TitleHeight();
  if (r.bottom < r.top) r.bottom = r.top;
  ::SetWindowPos(m_client, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPaneContainer::DrawCloseButton(HDC dc, bool pressed) {
  RECT button = GetCloseButtonRect();
  DrawCaptionButton(dc, button, CaptionGlyph::kClose, pressed, true);
}

LRESULT CPaneContainer::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  RECT title = GetClientRect();
  title.bottom = TitleHeight();
  FillRect(dc, &title, GetSysColorBrush(COLOR_3DFACE));
  HGDIOBJ old = SelectObject(dc, TitleFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  RECT text = title;
  text.left += 4;
  text.right = GetCloseButtonRect().left - 2;
  DrawTextA(dc, m_title, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  SelectObject(dc, old);
  DrawCloseButton(dc, false);
  EndPaint(m_hWnd, &ps);
  return 0;
}

void CPaneContainer::TrackCloseButton() {
  RECT button = GetCloseButtonRect();
  bool inside = true;
  HDC dc = GetDC(m_hWnd);
  DrawCloseButton(dc, true);
  SetCapture(m_hWnd);
  MSG msg;
  CaptureEnd end;
  bool released = false;
  while (NextCaptureMessage(m_hWnd, &msg, &end)) {
    if (msg.message == WM_MOUSEMOVE) {
      POINT pt = PointFromLParam(msg.lParam);
      bool now = PtInRect(&button, pt) != 0;
      if (now != inside) DrawCloseButton(dc, now);
      inside = now;
    } else if (msg.message == WM_LBUTTONUP) {
      inside = PtInRect(&button, PointFromLParam(msg.lParam)) != 0;
      released = true;
      break;
    } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      break;
    }
  }
  if (GetCapture() == m_hWnd) ReleaseCapture();
  DrawCloseButton(dc, false);
  ReleaseDC(m_hWnd, dc);
  if (released && inside) {
    ::SendMessageA(GetParent(), WM_COMMAND, MAKEWPARAM(kPaneCloseCommand, 0),
                   reinterpret_cast<LPARAM>(m_hWnd));
  }
}

LRESULT CPaneContainer::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_SIZE:
      LayoutClient();
      Invalidate();
      return 0;
    case WM_PAINT:
      return OnPaint();
    case WM_LBUTTONDOWN: {
      POINT pt = PointFromLParam(lp);
      RECT button = GetCloseButtonRect();
      if (PtInRect(&button, pt)) TrackCloseButton();
      return 0;
    }
    case WM_SETFOCUS:
      if (m_client != nullptr) ::SetFocus(m_client);
      return 0;
    case WM_COMMAND:
    case WM_NOTIFY:
      return ::SendMessageA(GetParent(), msg, wp, lp);
  }
  handled = false;
  return 0;
}
