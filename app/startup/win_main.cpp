// The program's entry point: the process from its first instruction to its
// exit code.

#include <windows.h>

#include <commctrl.h>
#include <cstring>
#include <objbase.h>

#include "app/document/child_frame.h"
#include "app/document/document_opening.h"
#include "app/frame/main_frame.h"
#include "services/messages/error_text.h"
#include "services/settings/frame_placement.h"
#include "services/settings/global_options.h"
#include "services/settings/grid_view_options_copy.h"
#include "services/settings/settings_path.h"
#include "services/settings/settings_profile.h"
#include "app/startup/command_line.h"
#include "app/startup/image_encoders.h"
#include "charts/containers/chart_painters.h"
#include "charts/containers/container_painter.h"
#include "automation/server/class_objects_win32.h"
#include "automation/server/server_module_win32.h"
#include "automation/server/server_registration_win32.h"
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
  frame.HoldServerLock();
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

// Automation mode: no window; the loop runs until the server's last object
// is released.
int RunAutomation() {
  CMessageLoop loop;
  return loop.Run();
}

// Interactive and automation modes, between reading and writing the profile.
int Serve(const CommandLineAction& action, int showCommand) {
  ChooseSettingsPathOfSystem();
  // A missing profile is no error: the defaults stay.
  if (OsFileExists(SettingsPath)) ReadProfile(SettingsPath, true);
  CopyOptionsToGridViews(Options);
  ApplyRegionalSettings(Options.Region, true);
  ServerModule().StartMonitor();
  RegisterClassObjects();
  int exitCode = action.switchWord == CommandLineSwitch::kAutomation ? RunAutomation() : Run(action, showCommand);
  RevokeClassObjects();
  // An object created while the process was stopping keeps it serving,
  // without its frame, until that object too is released.
  while (ServerModule().ServeCallsOnTheirWay()) {
    ServerModule().SetTimeOut(CExeModule::kDefaultTimeOut);
    ServerModule().SetPause(CExeModule::kDefaultPause);
    ServerModule().StartMonitor();
    RegisterClassObjects();
    exitCode = RunAutomation();
    RevokeClassObjects();
  }
  WriteProfileAtExit(SettingsPath);
  return exitCode;
}

// The exit code of registration: 0, or the system's code of the failure.
int RegistrationExitCode(bool done, DWORD systemError) {
  if (done) return 0;
  return systemError != 0 ? static_cast<int>(systemError) : 1;
}

// Windows 2000 and later delete the folder at the next restart, once it is
// empty.
void ScheduleProgramFolderRemoval() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (GetVersionExA(&version) && version.dwMajorVersion < 5) return;
  char folder[MAX_PATH];
  if (!GetProgramFolder(folder, sizeof folder)) return;
  const size_t length = std::strlen(folder);
  if (length > 0 && folder[length - 1] == '\\') folder[length - 1] = '\0';
  MoveFileExA(folder, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int showCommand) {
  // The function table and the chart painters are the program's static
  // data: in place before anything can evaluate a formula or paint.
  InstallFunctionLibrary();
  InstallChartPainters();
  // A chart that cannot be drawn says why in its place.
  SetChartErrorText(&GetErrorText);
  CoInitialize(nullptr);
  RegisterCommonControls();
  LoadRichEdit20();
  ServerModule().Init(GetCurrentThreadId());

  InstallImageEncoders();
  const CommandLineAction action = ScanCommandLine(GetCommandLineA(), arguments);
  int exitCode = 0;
  DWORD systemError = 0;
  switch (action.switchWord) {
    case CommandLineSwitch::kUnregServer:
    case CommandLineSwitch::kUninstall: {
      const bool done = UnregisterServer(&systemError);
      if (action.switchWord == CommandLineSwitch::kUninstall) ScheduleProgramFolderRemoval();
      exitCode = RegistrationExitCode(done, systemError);
      break;
    }
    case CommandLineSwitch::kRegServer:
      exitCode = RegistrationExitCode(RegisterServer(&systemError), systemError);
      break;
    default:
      exitCode = Serve(action, showCommand);
      break;
  }
  ServerModule().Term();
  CoUninitialize();
  return exitCode;
}
