// Starts the program itself as a separate process and drives it from outside,
// as a user or the system would.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// Bounds on the waits, counted in polls of kPollMilliseconds.
constexpr int kPollMilliseconds = 50;
constexpr int kMaxPolls = 600;

std::string ProgramPath() {
  std::string path = TALVERO_PROGRAM_PATH;
  if (!path.empty() && path[0] == '/') {
    path = "Z:" + path;  // Wine's drive for the Unix root
    for (char& c : path)
      if (c == '/') c = '\\';
  }
  return path;
}

struct Started {
  PROCESS_INFORMATION process;
  bool ok;
};

Started StartProgram(const std::string& arguments) {
  const std::string path = ProgramPath();
  std::string commandLine = "\"" + path + "\"" + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  Started started = {};
  started.ok = CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &started.process) != 0;
  return started;
}

struct FrameSearch {
  DWORD processId;
  HWND frame;
};

BOOL CALLBACK FindFrameOfProcess(HWND hwnd, LPARAM lp) {
  FrameSearch* search = reinterpret_cast<FrameSearch*>(lp);
  DWORD processId = 0;
  GetWindowThreadProcessId(hwnd, &processId);
  char className[64] = {};
  GetClassNameA(hwnd, className, sizeof className);
  if (processId == search->processId && lstrcmpA(className, "TalveroMainFrame") == 0 && IsWindowVisible(hwnd)) {
    search->frame = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForFrame(const PROCESS_INFORMATION& process) {
  for (int poll = 0; poll < kMaxPolls; ++poll) {
    FrameSearch search = {process.dwProcessId, nullptr};
    EnumWindows(FindFrameOfProcess, reinterpret_cast<LPARAM>(&search));
    if (search.frame != nullptr) return search.frame;
    if (WaitForSingleObject(process.hProcess, kPollMilliseconds) == WAIT_OBJECT_0) return nullptr;
  }
  return nullptr;
}

bool WaitForExit(const PROCESS_INFORMATION& process, DWORD* exitCode) {
  for (int poll = 0; poll < kMaxPolls; ++poll) {
    if (WaitForSingleObject(process.hProcess, kPollMilliseconds) == WAIT_OBJECT_0)
      return GetExitCodeProcess(process.hProcess, exitCode) != 0;
  }
  TerminateProcess(process.hProcess, 99);
  return false;
}

void Release(const PROCESS_INFORMATION& process) {
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

TEST(Program, ShowsItsMainWindowAndExitsCleanlyWhenClosed) {
  Started started = StartProgram("");
  ASSERT_TRUE(started.ok) << ProgramPath();
  HWND frame = WaitForFrame(started.process);
  ASSERT_NE(frame, nullptr);
  char title[64] = {};
  GetWindowTextA(frame, title, sizeof title);
  EXPECT_STREQ(title, "Talvero");
  // The menu is drawn by the command bar in the frame's rebar.
  EXPECT_NE(GetDlgItem(frame, 59392), nullptr);
  PostMessageA(frame, WM_CLOSE, 0, 0);
  DWORD exitCode = 99;
  EXPECT_TRUE(WaitForExit(started.process, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  Release(started.process);
}

TEST(Program, RegistrationSwitchExitsWithoutAWindowAndReportsItIsNotAvailable) {
  Started started = StartProgram(" /regserver");
  ASSERT_TRUE(started.ok);
  DWORD exitCode = 99;
  EXPECT_TRUE(WaitForExit(started.process, &exitCode));
  EXPECT_EQ(exitCode, 1u);
  Release(started.process);
}

}  // namespace
