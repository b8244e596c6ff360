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

void ShowDialogHelp(int topic) { ShowHelpTopic(topic); }

void GetDefaultDocumentFolder(char* out, size_t size) {
  if (size > 0) std::snprintf(out, size, "%s", Options.Folder);
}
