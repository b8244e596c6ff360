#include "platform/ui/mdi_frame.h"

HWND CMDIFrameWindowImpl::CreateMDIClient(HMENU windowMenu, UINT id, UINT firstChildId) {
  CLIENTCREATESTRUCT ccs{windowMenu, firstChildId};
  m_hWndClient = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                                     WS_VSCROLL | WS_HSCROLL,
                                 0, 0, 0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                 GetModuleHandleA(nullptr), &ccs);
  if (m_hWndClient != nullptr) UpdateLayout();
  return m_hWndClient;
}

void CMDIFrameWindowImpl::UpdateLayout() {
  RECT client = GetClientRect();
  if (m_hWndToolBar != nullptr && ::IsWindowVisible(m_hWndToolBar)) {
    // Bars size themselves from their parent on WM_SIZE.
    ::SendMessageA(m_hWndToolBar, WM_SIZE, 0, 0);
    RECT bar;
    ::GetWindowRect(m_hWndToolBar, &bar);
    client.top += bar.bottom - bar.top;
  }
  if (m_hWndStatusBar != nullptr && ::IsWindowVisible(m_hWndStatusBar)) {
    ::SendMessageA(m_hWndStatusBar, WM_SIZE, 0, 0);
    RECT bar;
    ::GetWindowRect(m_hWndStatusBar, &bar);
    client.bottom -= bar.bottom - bar.top;
  }
  if (client.bottom < client.top) client.bottom = client.top;
  HWND laidOut = m_hWndClientStandIn != nullptr ? m_hWndClientStandIn : m_hWndClient;
  if (laidOut != nullptr) {
    ::SetWindowPos(laidOut, nullptr, client.left, client.top, client.right - client.left, client.bottom - client.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

HWND CMDIFrameWindowImpl::MDIGetActive(bool* maximized) const {
  BOOL max = FALSE;
  HWND active = m_hWndClient != nullptr
                    ? reinterpret_cast<HWND>(::SendMessageA(m_hWndClient, WM_MDIGETACTIVE, 0,
                                                            reinterpret_cast<LPARAM>(&max)))
                    : nullptr;
  if (maximized != nullptr) *maximized = active != nullptr && max;
  return active;
}

void CMDIFrameWindowImpl::MDIActivate(HWND child) const {
  ::SendMessageA(m_hWndClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
}

void CMDIFrameWindowImpl::MDICascade() const { ::SendMessageA(m_hWndClient, WM_MDICASCADE, 0, 0); }

void CMDIFrameWindowImpl::MDITile(bool horizontal) const {
  ::SendMessageA(m_hWndClient, WM_MDITILE, horizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL, 0);
}

void CMDIFrameWindowImpl::MDIIconArrange() const {
  ::SendMessageA(m_hWndClient, WM_MDIICONARRANGE, 0, 0);
}

HMENU CMDIFrameWindowImpl::MDISetMenu(HMENU frameMenu, HMENU windowMenu) {
  HMENU old = reinterpret_cast<HMENU>(::SendMessageA(m_hWndClient, WM_MDISETMENU,
                                                     reinterpret_cast<WPARAM>(frameMenu),
                                                     reinterpret_cast<LPARAM>(windowMenu)));
  ::DrawMenuBar(m_hWnd);
  return old;
}

bool CMDIFrameWindowImpl::TranslateForActiveChild(MSG* msg) {
  if (m_hWndClient == nullptr) return false;
  if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST &&
      TranslateMDISysAccel(m_hWndClient, msg)) {
    return true;
  }
  HWND child = MDIGetActive();
  return child != nullptr &&
         ::SendMessageA(child, WM_FORWARDMSG, 0, reinterpret_cast<LPARAM>(msg)) != 0;
}

LRESULT CMDIFrameWindowImpl::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SIZE && m_hWndClient != nullptr) {
    if (wp != SIZE_MINIMIZED) UpdateLayout();
    return 0;
  }
  return DefFrameProcA(m_hWnd, m_hWndClient, msg, wp, lp);
}
