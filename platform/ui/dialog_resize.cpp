#include "platform/ui/dialog_resize.h"

namespace {

UiRect ToUi(const RECT& r) { return UiRect{r.left, r.top, r.right, r.bottom}; }

UiRect RectInParent(HWND hwnd, HWND parent) {
  RECT r;
  GetWindowRect(hwnd, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return ToUi(r);
}

}  // namespace

bool CDialogResize::Init(HWND dialog, const ResizeAnchor* anchors, int count, bool sizeGrip) {
  if (count > kMaxControls) return false;
  m_dialog = dialog;
  m_count = 0;
  LONG style = GetWindowLongA(dialog, GWL_STYLE);
  if ((style & WS_THICKFRAME) == 0) {
    SetWindowLongA(dialog, GWL_STYLE, style | WS_THICKFRAME);
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  RECT client;
  GetClientRect(dialog, &client);
  m_initialClient = SIZE{client.right, client.bottom};
  RECT window;
  GetWindowRect(dialog, &window);
  m_minTrack = POINT{window.right - window.left, window.bottom - window.top};
  for (int i = 0; i < count; ++i) {
    HWND control = GetDlgItem(dialog, anchors[i].controlId);
    if (control == nullptr) return false;
    m_items[m_count++] = Item{control, RectInParent(control, dialog), anchors[i].anchors};
  }
  if (sizeGrip) {
    int cx = GetSystemMetrics(SM_CXVSCROLL);
    int cy = GetSystemMetrics(SM_CYHSCROLL);
    m_grip = CreateWindowExA(0, "SCROLLBAR", "",
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_SIZEGRIP |
                                 SBS_SIZEBOXBOTTOMRIGHTALIGN,
                             client.right - cx, client.bottom - cy, cx, cy, dialog,
                             reinterpret_cast<HMENU>(kSizeGripId), GetModuleHandleA(nullptr),
                             nullptr);
    if (m_grip != nullptr) {
      m_items[m_count++] = Item{m_grip, RectInParent(m_grip, dialog), kAnchorMoveX | kAnchorMoveY};
    }
  }
  return true;
}

void CDialogResize::Layout(int width, int height) {
  int dx = width - m_initialClient.cx;
  int dy = height - m_initialClient.cy;
  HDWP batch = BeginDeferWindowPos(m_count);
  for (int i = 0; i < m_count && batch != nullptr; ++i) {
    UiRect r = AnchorRect(m_items[i].initial, dx, dy, m_items[i].anchors);
    batch = DeferWindowPos(batch, m_items[i].hwnd, nullptr, r.left, r.top, r.Width(), r.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (batch != nullptr) EndDeferWindowPos(batch);
  InvalidateRect(m_dialog, nullptr, TRUE);
}

bool CDialogResize::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (m_dialog == nullptr) return false;
  switch (msg) {
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      info->ptMinTrackSize = m_minTrack;
      return true;
    }
    case WM_SIZE:
      // A maximised dialog cannot be sized from its corner.
      if (m_grip != nullptr) ShowWindow(m_grip, wp == SIZE_MAXIMIZED ? SW_HIDE : SW_SHOW);
      if (wp != SIZE_MINIMIZED) Layout(LOWORD(lp), HIWORD(lp));
      return true;
  }
  return false;
}
