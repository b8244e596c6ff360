// The program's entry point: the process from its first instruction to its
// exit code.

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/document/child_frame.h"
#include "app/document/document_opening.h"
#include "app/frame/main_frame.h"
#include "services/settings/frame_placement.h"
#include "services/settings/global_options.h"
#include "services/settings/grid_view_options_copy.h"
#include "services/settings/settings_path.h"
#include "services/settings/settings_profile.h"
#include "app/startup/command_line.h"
#include "app/startup/image_encoders.h"
#include "core/numfmt/regional_settings.h"
#include "numerics/numeric_function_table.h"
#include "platform/os_files.h"
#include "platform/ui/common_controls.h"
#include "platform/ui/message_loop.h"

namespace {

constexpr UINT kFileNewCommand = 57600;

void RegisterCommonControls() {
  INITCOMMONCONTROLSEX init = {sizeof init, ICC_LISTVIEW_CLASSES | ICC_USEREX_CLASSES};
  InitCommonControlsEx(&init);
  init.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
  InitCommonControlsEx(&init);
}

int Run(const CommandLineAction& action, int showCommand) {
  CMessageLoop loop;
  CMainFrame frame;
  InstallDocumentWindowServices();
  // A frame last seen restored reopens where it was; maximised and
  // minimised ones open at the default place in their state.
  OptionsRect stored;
  const bool atStoredPlace = FrameCreateRect(Options, &stored);
  const RECT rect = {stored.left, stored.top, stored.right, stored.bottom};
  if (frame.CreateFrame(atStoredPlace ? &rect : nullptr) == nullptr) return 0;
  ShowWindow(frame.m_hWnd, FrameShowCommand(Options, showCommand));
  UpdateWindow(frame.m_hWnd);
  if (action.openPath) {
    OpenCommandLineFile(&frame, action.path);
  } else {
    PostMessageA(frame.m_hWnd, WM_COMMAND, kFileNewCommand, 0);
  }
  const int exitCode = loop.Run();
  if (IsWindow(frame.m_hWnd)) DestroyWindow(frame.m_hWnd);
  return exitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int showCommand) {
  // The function table is the program's static data: every handler is in
  // place before anything can evaluate a formula.
  InstallFunctionLibrary();
  CoInitialize(nullptr);
  RegisterCommonControls();
  LoadRichEdit20();

  InstallImageEncoders();
  const CommandLineAction action = ScanCommandLine(GetCommandLineA(), arguments);
  int exitCode = 0;
  if (action.switchWord != CommandLineSwitch::kNone) {
    // The automation server is not part of this program yet: registration
    // and automation requests fail rather than report a success.
    exitCode = 1;
  } else {
    ChooseSettingsPathOfSystem();
    // A missing profile is no error: the defaults stay.
    if (OsFileExists(SettingsPath)) ReadProfile(SettingsPath, true);
    CopyOptionsToGridViews(Options);
    ApplyRegionalSettings(Options.Region, true);
    exitCode = Run(action, showCommand);
    WriteProfileAtExit(SettingsPath);
  }
  CoUninitialize();
  return exitCode;
}
