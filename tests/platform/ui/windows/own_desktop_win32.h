#ifndef TALVERO_TESTS_PLATFORM_UI_WINDOWS_OWN_DESKTOP_WIN32_H
#define TALVERO_TESTS_PLATFORM_UI_WINDOWS_OWN_DESKTOP_WIN32_H

// A window test program's own desktop, entered before its first window.
//
// The test programs run side by side on one virtual display and one Wine
// server. On a shared desktop the program that shows or focuses a window
// last becomes the foreground, and every other one loses its active window
// and its focus whenever it next reads its queue: a key posted to the focus
// then goes nowhere, and a test that asks where the focus is finds none. A
// desktop of its own keeps a program's foreground its own. The desktop is a
// virtual one (a window of the display, as large as the display): Wine gives
// the display's focus changes to it as a whole, so the other programs'
// windows taking the display's focus do not deactivate the program either.

#include <windows.h>

#include <cstdio>
#include <cstring>

inline bool EnterOwnDesktop() {
  char name[64];
  std::snprintf(name, sizeof name, "talvero-test-%lu", GetCurrentProcessId());
  char size[32];
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  std::snprintf(size, sizeof size, "%dx%d", width, height);
  // Wine makes a desktop virtual when the size for its name is set here at
  // the time its window is made; the entry is of no use afterwards.
  const char* sizes = "Software\\Wine\\Explorer\\Desktops";
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, sizes, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(size), static_cast<DWORD>(std::strlen(size) + 1));
  HDESK desktop = CreateDesktopA(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  const bool entered = desktop != nullptr && SetThreadDesktop(desktop);
  RECT area{};
  if (entered) GetWindowRect(GetDesktopWindow(), &area);  // made now, with the size above
  RegDeleteValueA(key, name);
  RegCloseKey(key);
  const bool own = entered && area.right - area.left == width && area.bottom - area.top == height;
  if (!own) std::fprintf(stderr, "The tests' windows share the desktop of every other test program.\n");
  return own;
}

// Entered once per program, before main and so before any window or hook of
// the thread that runs the tests (a thread with one cannot change desktops).
// A program whose tests hand the clipboard to another program stays on the
// shared desktop: Wine's clipboard does not carry a copy from a desktop of
// one's own to a program on the shared one.
#ifndef TALVERO_TEST_ON_SHARED_DESKTOP
inline const bool g_inOwnDesktop = EnterOwnDesktop();
#endif

#endif
