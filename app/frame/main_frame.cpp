#include "app/frame/main_frame.h"

#include "platform/ui/window_class.h"
#include "resources/resource_ids.h"

CMainFrame::~CMainFrame() {
  if (m_accelerators != nullptr) DestroyAcceleratorTable(m_accelerators);
  if (m_menu != nullptr) DestroyMenu(m_menu);
  if (m_devMode != nullptr) GlobalFree(m_devMode);
}

HWND CMainFrame::CreateFrame(const RECT* rect) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WindowClass cls;
  if (!RegisterOwnClass("TalveroMainFrame", CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW),
                        reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1), &cls))
    return nullptr;
  char title[128];
  if (LoadStringA(instance, IDR_MAINFRAME, title, sizeof title) <= 0) lstrcpynA(title, "Talvero", sizeof title);
  m_menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
  m_accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  HWND hwnd = rect != nullptr
                  ? Create(cls, nullptr, *rect, title, style, 0, reinterpret_cast<UINT_PTR>(m_menu))
                  : Create(cls, nullptr, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, title, style, 0,
                           reinterpret_cast<UINT_PTR>(m_menu));
  if (hwnd == nullptr) return nullptr;
  HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
  if (icon != nullptr) SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  return hwnd;
}

HFONT CMainFrame::BarFont() const {
  HFONT font = m_commandBar.GetFont();
  return font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}
