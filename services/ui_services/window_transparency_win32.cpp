#include "services/ui_services/window_transparency.h"

namespace {

using SetLayeredFunction = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Windows 95, 98 and Me have no layered windows.
bool IsWindows9x() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const bool known = GetVersionExA(&version) != 0;
#pragma GCC diagnostic pop
  return known && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

}  // namespace

bool SetWindowTransparency(HWND window, int percent) {
  if (IsWindows9x()) return false;
  const LONG style = GetWindowLongA(window, GWL_EXSTYLE);
  if (percent == 100) {
    if (style & WS_EX_LAYERED) SetWindowLongA(window, GWL_EXSTYLE, style & ~WS_EX_LAYERED);
    return true;
  }
  HMODULE user32 = LoadLibraryA("User32.dll");
  if (!user32) return false;
  // Looked up when called: systems before Windows 2000 lack the function.
  auto setLayered = reinterpret_cast<SetLayeredFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
  SetWindowLongA(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
  if (setLayered) setLayered(window, 0, TransparencyAlpha(percent), LWA_ALPHA);
  FreeLibrary(user32);
  return true;
}
