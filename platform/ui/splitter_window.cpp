#include "platform/ui/splitter_window.h"

#include "platform/ui/capture_loop.h"

namespace {

const WindowClass& SplitterClass() {
  static WindowClass cls{};
  if (cls.atom == 0) {
    RegisterOwnClass("TalveroSplitter", CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1),
                     &cls);
  }
  return cls;
}

UiRect ToUi(const RECT& r) { return UiRect{r.left, r.top, r.right, r.bottom}; }

}  // namespace

HWND CSplitterWindow::Create(HWND parent, const RECT& rect, UINT id, DWORD style, DWORD exStyle) {
  return CWindowImpl::Create(SplitterClass(), parent, rect, nullptr, style, exStyle, id);
}

int CSplitterWindow::Extent() const {
  RECT r = GetClientRect();
  return m_vertical ? r.right - r.left : r.bottom - r.top;
}

void CSplitterWindow::SetSplitterPanes(HWND first, HWND second, bool update) {
  SetSplitterPane(0, first, false);
  SetSplitterPane(1, second, update);
}

bool CSplitterWindow::SetSplitterPane(int pane, HWND hwnd, bool update) {
  if (pane != 0 && pane != 1) return false;
  m_panes[pane] = hwnd;
  if (update) UpdateSplitterLayout();
  return true;
}

HWND CSplitterWindow::GetSplitterPane(int pane) const {
  return pane == 0 || pane == 1 ? m_panes[pane] : nullptr;
}

void CSplitterWindow::SetSplitterPos(int position, bool update) {
  int extent = Extent();
  if (extent <= 0) {
    // Not laid out yet: the first size decides (-1 stays "the middle").
    m_position = position;
    m_extent = 0;
    return;
  }
  m_position = position < 0 ? MiddleSplitterPosition(extent, kBarWidth)
                            : ClampSplitterPosition(position, extent, kBarWidth, m_minPane);
  m_extent = extent;
  if (update) UpdateSplitterLayout();
}

bool CSplitterWindow::SetSinglePaneMode(int pane) {
  if (pane != kSplitterBothPanes && pane != 0 && pane != 1) return false;
  m_singlePane = pane;
  if (pane != kSplitterBothPanes) {
    // The focus never stays in a pane that is hidden.
    HWND hidden = m_panes[1 - pane];
    HWND focus = ::GetFocus();
    if (hidden != nullptr && (focus == hidden || ::IsChild(hidden, focus)) && m_panes[pane] != nullptr) {
      ::SetFocus(m_panes[pane]);
    }
    m_activePane = pane;
  }
  UpdateSplitterLayout();
  return true;
}

int CSplitterWindow::GetActivePane() {
  HWND focus = ::GetFocus();
  for (int i = 0; i < 2; ++i) {
    if (m_panes[i] != nullptr && (focus == m_panes[i] || ::IsChild(m_panes[i], focus))) {
      m_activePane = i;
    }
  }
  return m_activePane;
}

void CSplitterWindow::SetActivePane(int pane) {
  if ((pane == 0 || pane == 1) && m_panes[pane] != nullptr) {
    m_activePane = pane;
    ::SetFocus(m_panes[pane]);
  }
}

RECT CSplitterWindow::GetSplitterBarRect() const {
  RECT client = GetClientRect();
  UiRect panes[2];
  UiRect bar;
  LayoutSplitter({m_vertical, m_position, kBarWidth, m_minPane, static_cast<int8_t>(m_singlePane)},
                 ToUi(client), panes, &bar);
  return RECT{bar.left, bar.top, bar.right, bar.bottom};
}

void CSplitterWindow::UpdateSplitterLayout() {
  if (m_hWnd == nullptr) return;
  if (m_position < 0 || m_extent <= 0) SetSplitterPos(m_position, false);
  RECT client = GetClientRect();
  UiRect panes[2];
  UiRect bar;
  LayoutSplitter({m_vertical, m_position, kBarWidth, m_minPane, static_cast<int8_t>(m_singlePane)},
                 ToUi(client), panes, &bar);
  for (int i = 0; i < 2; ++i) {
    if (m_panes[i] == nullptr) continue;
    bool shown = m_singlePane == kSplitterBothPanes || m_singlePane == i;
    ::SetWindowPos(m_panes[i], nullptr, panes[i].left, panes[i].top, panes[i].Width(),
                   panes[i].Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  }
  RECT barRect{bar.left, bar.top, bar.right, bar.bottom};
  ::InvalidateRect(m_hWnd, &barRect, TRUE);
}

LRESULT CSplitterWindow::OnSize() {
  int extent = Extent();
  if (extent > 0) {
    if (m_position < 0 || m_extent <= 0) {
      // The position asked for before the splitter had a size.
      SetSplitterPos(m_position, false);
    } else if (extent != m_extent) {
      m_position = ClampSplitterPosition(ScaleSplitterPosition(m_position, m_extent, extent), extent,
                                         kBarWidth, m_minPane);
      m_extent = extent;
    }
  }
  UpdateSplitterLayout();
  return 0;
}

LRESULT CSplitterWindow::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  if (m_singlePane == kSplitterBothPanes) {
    RECT bar = GetSplitterBarRect();
    FillRect(dc, &bar, GetSysColorBrush(COLOR_3DFACE));
  }
  EndPaint(m_hWnd, &ps);
  return 0;
}

bool CSplitterWindow::OnSetCursor() {
  if (m_singlePane != kSplitterBothPanes) return false;
  POINT pt;
  GetCursorPos(&pt);
  ScreenToClient(m_hWnd, &pt);
  RECT bar = GetSplitterBarRect();
  if (!PtInRect(&bar, pt)) return false;
  SetCursor(LoadCursorA(nullptr, m_vertical ? IDC_SIZEWE : IDC_SIZENS));
  return true;
}

void CSplitterWindow::TrackBar(POINT start) {
  int offset = (m_vertical ? start.x : start.y) - m_position;
  SetCapture(m_hWnd);
  MSG msg;
  CaptureEnd end;
  while (NextCaptureMessage(m_hWnd, &msg, &end)) {
    if (msg.message == WM_MOUSEMOVE) {
      POINT pt = PointFromLParam(msg.lParam);
      if (msg.hwnd != m_hWnd) {
        ::MapWindowPoints(msg.hwnd, m_hWnd, &pt, 1);
      }
      SetSplitterPos((m_vertical ? pt.x : pt.y) - offset);
    } else if (msg.message == WM_LBUTTONUP ||
               (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) {
      break;
    }
  }
  if (GetCapture() == m_hWnd) ReleaseCapture();
}

LRESULT CSplitterWindow::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_SIZE:
      return OnSize();
    case WM_PAINT:
      return OnPaint();
    case WM_ERASEBKGND:
      return 1;  // the panes cover everything but the bar, which WM_PAINT fills
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == m_hWnd && LOWORD(lp) == HTCLIENT && OnSetCursor()) return TRUE;
      break;
    case WM_LBUTTONDOWN: {
      POINT pt = PointFromLParam(lp);
      RECT bar = GetSplitterBarRect();
      if (m_singlePane == kSplitterBothPanes && PtInRect(&bar, pt)) TrackBar(pt);
      return 0;
    }
    case WM_SETFOCUS: {
      int pane = GetActivePane();
      if (pane < 0) pane = m_singlePane == 1 ? 1 : 0;
      if (m_panes[pane] != nullptr) ::SetFocus(m_panes[pane]);
      return 0;
    }
    case WM_MOUSEACTIVATE:
    case WM_PARENTNOTIFY:
      // A click in a pane may move the focus there.
      GetActivePane();
      break;
    case WM_COMMAND:
    case WM_NOTIFY:
      return ::SendMessageA(GetParent(), msg, wp, lp);
    case WM_CLOSE:
      // A multi-line edit pane in a dialog asks its parent to close on
      // Escape; the window to close is the one around the splitter, never
      // the splitter with its panes.
      ::PostMessageA(GetParent(), WM_CLOSE, 0, 0);
      return 0;
  }
  handled = false;
  return 0;
}
