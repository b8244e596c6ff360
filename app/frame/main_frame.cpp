#include "app/frame/main_frame.h"

#include "platform/ui/window_class.h"
#include "resources/resource_ids.h"

CMainFrame::~CMainFrame() {
  if (m_accelerators != nullptr) DestroyAcceleratorTable(m_accelerators);
}

HWND CMainFrame::CreateFrame() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WindowClass cls;
  if (!RegisterOwnClass("TalveroMainFrame", CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW),
                        reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1), &cls))
    return nullptr;
  char title[128];
  if (LoadStringA(instance, IDR_MAINFRAME, title, sizeof title) <= 0) lstrcpynA(title, "Talvero", sizeof title);
  HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
  HWND hwnd = Create(cls, nullptr, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, title,
                     WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, reinterpret_cast<UINT_PTR>(menu));
  if (hwnd == nullptr) {
    if (menu != nullptr) DestroyMenu(menu);
    return nullptr;
  }
  HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
  if (icon != nullptr) ::SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  m_accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
  return hwnd;
}

LRESULT CMainFrame::ProcessWindowMessage(UINT msg, WPARAM, LPARAM, bool& handled) {
  switch (msg) {
    case WM_DESTROY:
      return OnDestroy();
  }
  handled = false;
  return 0;
}

// The frame holds the only claim on the process while no automation client
// exists, so its end is the end of the loop.
LRESULT CMainFrame::OnDestroy() {
  PostQuitMessage(0);
  return 0;
}
