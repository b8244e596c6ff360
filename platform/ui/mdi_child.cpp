#include "platform/ui/mdi_child.h"

HWND CMDIChildWindowImpl::CreateChild(const WindowClass& cls, HWND mdiClient, const char* title,
                                      const RECT* rect, DWORD style) {
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, cx = CW_USEDEFAULT, cy = CW_USEDEFAULT;
  if (rect != nullptr) {
    x = rect->left;
    y = rect->top;
    cx = rect->right - rect->left;
    cy = rect->bottom - rect->top;
  }
  return Create(cls, mdiClient, x, y, cx, cy, title, style | WS_CHILD, WS_EX_MDICHILD);
}

LRESULT CMDIChildWindowImpl::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_FORWARDMSG:
      return m_hAccel != nullptr &&
             TranslateAcceleratorA(m_hWnd, m_hAccel, reinterpret_cast<MSG*>(lp)) != 0;
    case WM_SIZE:
    case WM_MDIACTIVATE:
    case WM_DESTROY: {
      LRESULT r = CWindowImpl::DefWindowProc(msg, wp, lp);
      ::SendMessageA(::GetParent(m_hWnd), kMsgMDIStateChanged, msg, reinterpret_cast<LPARAM>(m_hWnd));
      return r;
    }
  }
  return CWindowImpl::DefWindowProc(msg, wp, lp);
}

bool RegisterMDIChildClass(const char* name, WindowClass* out) {
  return RegisterOwnClass(name, CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), out,
                          DefMDIChildProcA);
}
