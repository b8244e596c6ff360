#include <windows.h>

#include "services/ui_services/help_topics.h"
#include "platform/ui/message_box.h"

namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
constexpr UINT kHelpDisplayTopic = 0;

HMODULE helpLibrary = nullptr;
HtmlHelpFunction htmlHelp = nullptr;

void ShowLastSystemError() {
  char text[512] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(), 0, text,
                 sizeof text, nullptr);
  ShowMessageBox(nullptr, text, "Talvero", MB_ICONEXCLAMATION | MB_OK);
}

}  // namespace

bool LoadHtmlHelp() {
  if (htmlHelp) return true;
  helpLibrary = LoadLibraryA("HHCTRL.OCX");
  if (helpLibrary) htmlHelp = reinterpret_cast<HtmlHelpFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(helpLibrary, "HtmlHelpA")));
  if (htmlHelp) return true;
  ShowLastSystemError();
  if (helpLibrary) FreeLibrary(helpLibrary);
  helpLibrary = nullptr;
  return false;
}

void ShowHelpTopic(int topic) {
  char program[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
  if (length == 0 || length >= sizeof program) return;
  // The viewer says nothing of a file that is not there.
  char file[MAX_PATH + 64];
  if (!BuildHelpFilePath(program, file, sizeof file) || GetFileAttributesA(file) == INVALID_FILE_ATTRIBUTES) {
    ShowMessageBox(nullptr, kHelpFileMissing, "Talvero", MB_ICONINFORMATION | MB_OK);
    return;
  }
  if (!LoadHtmlHelp()) return;
  char path[MAX_PATH + 64];
  if (!BuildHelpTopicPath(program, topic, path, sizeof path)) return;
  htmlHelp(GetDesktopWindow(), path, kHelpDisplayTopic, 0);
}
