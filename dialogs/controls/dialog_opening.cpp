#include "dialogs/controls/dialog_opening.h"

#include <cstdio>

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

void EnableTabPageTheme(HWND page) {
  // Looked up at run time, once, and kept loaded: the library is missing on
  // older systems.
  using EnableTexture = HRESULT(WINAPI*)(HWND, DWORD);
  constexpr DWORD kEnableTabTexture = 6;  // ETDT_ENABLETAB
  static const EnableTexture enable = [] {
    HMODULE themes = ::LoadLibraryA("UxTheme.dll");
    return themes != nullptr ? reinterpret_cast<EnableTexture>(reinterpret_cast<void*>(
                                   ::GetProcAddress(themes, "EnableThemeDialogTexture")))
                             : nullptr;
  }();
  if (enable != nullptr) enable(page, kEnableTabTexture);
}

void ShowDialogHelp(int topic) { ShowHelpTopic(topic); }

void GetDefaultDocumentFolder(char* out, size_t size) {
  if (size > 0) std::snprintf(out, size, "%s", Options.Folder);
}
