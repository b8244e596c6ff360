// Starts the program itself as a separate process and drives it from outside,
// as a user or the system would.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
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

// The program lies outside the programs' folder, so it keeps its settings
// beside itself.
std::string ProfileBesideProgram() {
  const std::string path = ProgramPath();
  return path.substr(0, path.rfind('\\') + 1) + "settings.xml";
}

std::string ReadFile(const std::string& path) {
  std::string bytes;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    std::fclose(file);
  }
  return bytes;
}

void Release(const PROCESS_INFORMATION& process) {
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

TEST(Program, ShowsItsMainWindowAndExitsCleanlyWhenClosed) {
  DeleteFileA(ProfileBesideProgram().c_str());
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

TEST(Program, ReadsItsProfileAtStartAndWritesItAtExit) {
  const std::string profile = ProfileBesideProgram();
  std::FILE* file = std::fopen(profile.c_str(), "wb");
  ASSERT_NE(file, nullptr) << profile;
  std::fputs("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Profile>\r\n<UndoLevel>42</UndoLevel>\r\n"
             "<ApplicationWindow Position=\"60 40 700 500\"/>\r\n<RecentFile>c:\\book.tlv</RecentFile>\r\n"
             "</Profile>\r\n",
             file);
  std::fclose(file);

  Started started = StartProgram("");
  ASSERT_TRUE(started.ok);
  HWND frame = WaitForFrame(started.process);
  ASSERT_NE(frame, nullptr);
  RECT rect = {};
  GetWindowRect(frame, &rect);
  EXPECT_EQ(rect.left, 60);
  EXPECT_EQ(rect.top, 40);
  EXPECT_EQ(rect.right, 700);
  EXPECT_EQ(rect.bottom, 500);
  PostMessageA(frame, WM_CLOSE, 0, 0);
  DWORD exitCode = 99;
  EXPECT_TRUE(WaitForExit(started.process, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  Release(started.process);

  const std::string written = ReadFile(profile);
  EXPECT_EQ(written.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<Profile>\r\n", 0), 0u) << written;
  EXPECT_NE(written.find("\t<UndoLevel>42</UndoLevel>\r\n"), std::string::npos);
  // The frame's placement as it closed.
  EXPECT_NE(written.find("<ApplicationWindow Position=\"60 40 700 500\""), std::string::npos);
  EXPECT_NE(written.find("\t<RecentFile>c:\\book.tlv</RecentFile>\r\n</Profile>\r\n"), std::string::npos);
  DeleteFileA(profile.c_str());
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
