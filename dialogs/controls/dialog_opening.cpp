#include "dialogs/controls/dialog_opening.h"

#include <cstdio>

#include <commctrl.h>

#include "dialogs/worksheet_format/view_format_choices.h"
#include "services/settings/global_options.h"
#include "services/ui_services/help_topics.h"
#include "services/ui_services/window_transparency.h"
#include "platform/ui/window.h"

void PlaceOpeningDialog(HWND dialog) {
  CWindow(dialog).CenterWindow();
  SetWindowTransparency(dialog, Options.Opacity);
}

void PlaceToolWindow(HWND window, const OptionsRect& stored) {
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  if (ToolWindowPositionFits(UiRect{stored.left, stored.top, stored.right, stored.bottom},
                             UiRect{work.left, work.top, work.right, work.bottom})) {
    ::MoveWindow(window, stored.left, stored.top, stored.right - stored.left, stored.bottom - stored.top, FALSE);
  } else {
    CWindow(window).CenterWindow();
  }
}

void EnableTabPageTexture(HWND page, bool enable) {
  // Looked up at run time: systems before themes have no such library.
  using EnableTexture = HRESULT(WINAPI*)(HWND, DWORD);
  constexpr DWORD kDisable = 0x1;
  constexpr DWORD kEnableTab = 0x6;
  static EnableTexture enableTexture = [] {
    HMODULE library = LoadLibraryA("UxTheme.dll");
    return library != nullptr
               ? reinterpret_cast<EnableTexture>(reinterpret_cast<void*>(GetProcAddress(library, "EnableThemeDialogTexture")))
               : nullptr;
  }();
  if (enableTexture != nullptr) enableTexture(page, enable ? kEnableTab : kDisable);
}

HWND CreateTabPage(CDialogImpl& page, HWND tabs) {
  if (page.Create(tabs) == nullptr) return nullptr;
  RECT display = CWindow(tabs).GetClientRect();
  ::SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  ::SetWindowPos(page.m_hWnd, HWND_TOP, display.left, display.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  return page.m_hWnd;
}

void ShowDialogHelp(int topic) { ShowHelpTopic(topic); }

void GetDefaultDocumentFolder(char* out, size_t size) {
  if (size > 0) std::snprintf(out, size, "%s", Options.Folder);
}
