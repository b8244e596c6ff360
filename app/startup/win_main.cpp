// The program's entry point: the process from its first instruction to its
// exit code.

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/frame/main_frame.h"
#include "app/startup/command_line.h"
#include "core/numfmt/regional_settings.h"
#include "platform/ui/common_controls.h"
#include "platform/ui/message_loop.h"

namespace {

constexpr UINT kFileNewCommand = 57600;

// The region a profile holds until one is read: the user's default locale.
constexpr uint8_t kDefaultRegion = kRegionUserDefault;

void RegisterCommonControls() {
  INITCOMMONCONTROLSEX init = {sizeof init, ICC_LISTVIEW_CLASSES | ICC_USEREX_CLASSES};
  InitCommonControlsEx(&init);
  init.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
  InitCommonControlsEx(&init);
}

int Run(const CommandLineAction& action, int showCommand) {
  CMessageLoop loop;
  CMainFrame frame;
  if (frame.CreateFrame() == nullptr) return 0;
  ShowWindow(frame.m_hWnd, showCommand);
  UpdateWindow(frame.m_hWnd);
  // Opening a path and creating a workbook arrive with the document windows;
  // until then both leave the frame empty.
  if (!action.openPath) PostMessageA(frame.m_hWnd, WM_COMMAND, kFileNewCommand, 0);
  const int exitCode = loop.Run();
  if (IsWindow(frame.m_hWnd)) DestroyWindow(frame.m_hWnd);
  return exitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int showCommand) {
  CoInitialize(nullptr);
  RegisterCommonControls();
  LoadRichEdit20();

  const CommandLineAction action = ScanCommandLine(GetCommandLineA(), arguments);
  int exitCode = 0;
  if (action.switchWord != CommandLineSwitch::kNone) {
    // The automation server is not part of this program yet: registration
    // and automation requests fail rather than report a success.
    exitCode = 1;
  } else {
    ApplyRegionalSettings(kDefaultRegion, true);
    exitCode = Run(action, showCommand);
  }
  CoUninitialize();
  return exitCode;
}
