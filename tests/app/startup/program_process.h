#ifndef TALVERO_TESTS_PROGRAM_PROCESS_H
#define TALVERO_TESTS_PROGRAM_PROCESS_H

// Starting the program itself (or another program of the prefix) as a
// separate process and waiting on it, with every wait bounded by a count of
// polls. TALVERO_PROGRAM_PATH names the program file.

#include <windows.h>

#include <string>

namespace program_process {

// Bounds on the waits, counted in polls of kPollMilliseconds.
constexpr int kPollMilliseconds = 50;
constexpr int kMaxPolls = 600;

// A Unix path as Wine's drive for the Unix root shows it.
inline std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') {
    path = "Z:" + path;
    for (char& c : path)
      if (c == '/') c = '\\';
  }
  return path;
}

inline std::string ProgramPath() { return WindowsPath(TALVERO_PROGRAM_PATH); }

struct Started {
  PROCESS_INFORMATION process;
  bool ok;
};

// Runs a command line ("program" arguments) as Windows would from a shell.
inline Started StartCommand(std::string commandLine) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  Started started = {};
  started.ok = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &started.process) != 0;
  return started;
}

inline Started StartProgram(const std::string& arguments) {
  return StartCommand("\"" + ProgramPath() + "\"" + arguments);
}

inline bool WaitForExit(const PROCESS_INFORMATION& process, DWORD* exitCode) {
  for (int poll = 0; poll < kMaxPolls; ++poll) {
    if (WaitForSingleObject(process.hProcess, kPollMilliseconds) == WAIT_OBJECT_0)
      return GetExitCodeProcess(process.hProcess, exitCode) != 0;
  }
  TerminateProcess(process.hProcess, 99);
  return false;
}

inline void Release(const PROCESS_INFORMATION& process) {
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

// Runs the command to its end; its exit code, or 99 when it did not end.
inline DWORD RunCommand(const std::string& commandLine) {
  Started started = StartCommand(commandLine);
  if (!started.ok) return 98;
  DWORD exitCode = 99;
  WaitForExit(started.process, &exitCode);
  Release(started.process);
  return exitCode;
}

struct WindowSearch {
  DWORD processId;
  const char* className;
  HWND found;
};

inline BOOL CALLBACK FindShownWindowOfProcess(HWND hwnd, LPARAM lp) {
  WindowSearch* search = reinterpret_cast<WindowSearch*>(lp);
  DWORD processId = 0;
  GetWindowThreadProcessId(hwnd, &processId);
  char className[64] = {};
  GetClassNameA(hwnd, className, sizeof className);
  if (processId == search->processId && lstrcmpA(className, search->className) == 0 && IsWindowVisible(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// A visible top-level window of the class in the process, once it shows;
// null when the process ends first or it never shows.
inline HWND WaitForShownWindow(const PROCESS_INFORMATION& process, const char* className) {
  for (int poll = 0; poll < kMaxPolls; ++poll) {
    WindowSearch search = {process.dwProcessId, className, nullptr};
    EnumWindows(FindShownWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    if (WaitForSingleObject(process.hProcess, kPollMilliseconds) == WAIT_OBJECT_0) return nullptr;
  }
  return nullptr;
}

// The program's visible main frame.
inline HWND WaitForFrame(const PROCESS_INFORMATION& process) { return WaitForShownWindow(process, "TalveroMainFrame"); }

}  // namespace program_process

#endif
