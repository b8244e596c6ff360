// Start-up of the program, timed from outside step by step: the program is
// started N times (100 by default) on a 3 x 3 workbook, and for each start
// the bench notes when the process was created, when its frame window
// existed, when it was shown, when its title named the file (the file is
// open), and when the process had exited after WM_CLOSE. Every wait is
// bounded: a start that shows no frame within 60 s counts as lost.
// Usage: startup_win32_bench.exe PROGRAM [STARTS]

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/cells/cell_record.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"

namespace {

constexpr DWORD kPoll = 2;               // ms between looks at the windows
constexpr int kPollsPerStep = 60000 / 2;  // 60 s at most for one step

enum Step { kCreated, kWindow, kShown, kTitled, kExited, kSteps };
const char* const kStepNames[kSteps] = {"process created", "frame exists", "frame shown", "file in title",
                                        "exited after close"};

struct Search {
  DWORD process;
  HWND frame;
};

BOOL CALLBACK FindFrame(HWND window, LPARAM context) {
  Search* search = reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char type[64] = {};
  GetClassNameA(window, type, sizeof type);
  if (owner != search->process || std::strcmp(type, "TalveroMainFrame") != 0) return TRUE;
  search->frame = window;
  return FALSE;
}

HWND FrameOf(DWORD process) {
  Search search = {process, nullptr};
  EnumWindows(FindFrame, reinterpret_cast<LPARAM>(&search));
  return search.frame;
}

bool TitleNames(HWND frame, const char* name) {
  char title[512] = {};
  GetWindowTextA(frame, title, sizeof title);
  return std::strstr(title, name) != nullptr;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A 3 x 3 workbook of numbers in the program's binary format.
bool WriteSmallWorkbook(const char* path) {
  CWorkBook book;
  CWorkSheet* sheet = NewWorksheet("Sheet", 1);
  if (sheet == nullptr) return false;
  book.InsertItems(sheet, nullptr);
  book.activeWorksheet = sheet;
  for (uint32_t row = 0; row < 3; ++row)
    for (uint16_t column = 0; column < 3; ++column) {
      uint8_t record[64];
      const uint32_t size = BuildNumberCell(record, sizeof record, row, column, row * 3.0 + column, 0);
      if (size == 0 || !sheet->cells.InsertCell(AsCellRecord(record), nullptr)) return false;
    }
  if (!book.bufferedFile.Open(path, "w+b")) return false;
  const bool saved = book.SaveBinary();
  book.bufferedFile.Close();
  return saved;
}

// One start: the times of the steps from the call to CreateProcess, -1 for
// a step never reached.
void TimeOneStart(const std::string& command, const char* fileName, double* times) {
  for (int i = 0; i < kSteps; ++i) times[i] = -1;
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return;
  QueryPerformanceCounter(&now);
  times[kCreated] = Milliseconds(start, now, frequency);
  HWND frame = nullptr;
  for (int poll = 0; poll < kPollsPerStep && frame == nullptr; ++poll) {
    frame = FrameOf(process.dwProcessId);
    if (frame == nullptr) Sleep(kPoll);
  }
  if (frame != nullptr) {
    QueryPerformanceCounter(&now);
    times[kWindow] = Milliseconds(start, now, frequency);
    for (int poll = 0; poll < kPollsPerStep; ++poll, Sleep(kPoll)) {
      QueryPerformanceCounter(&now);
      if (times[kShown] < 0 && IsWindowVisible(frame)) times[kShown] = Milliseconds(start, now, frequency);
      if (TitleNames(frame, fileName)) {
        times[kTitled] = Milliseconds(start, now, frequency);
        break;
      }
    }
    PostMessageA(frame, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
    QueryPerformanceCounter(&now);
    times[kExited] = Milliseconds(start, now, frequency);
  } else {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 10000);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5)];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: startup_win32_bench PROGRAM [STARTS]\n");
    return 2;
  }
  const int starts = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100;
  char path[MAX_PATH];
  GetFullPathNameA("startup-3x3.tlv", sizeof path, path, nullptr);
  if (!WriteSmallWorkbook(path)) {
    std::fprintf(stderr, "cannot write %s\n", path);
    return 1;
  }
  const std::string command = std::string("\"") + argv[1] + "\" \"" + path + "\"";
  std::vector<double> steps[kSteps];
  std::vector<double> windowToTitle;
  int lost = 0;
  for (int i = 0; i < starts; ++i) {
    double times[kSteps];
    TimeOneStart(command, "startup-3x3.tlv", times);
    std::printf("start %3d:", i + 1);
    for (int s = 0; s < kSteps; ++s) {
      std::printf(" %8.1f", times[s]);
      if (times[s] >= 0) steps[s].push_back(times[s]);
    }
    std::printf("\n");
    std::fflush(stdout);
    if (times[kWindow] < 0) ++lost;
    if (times[kWindow] >= 0 && times[kTitled] >= 0) windowToTitle.push_back(times[kTitled] - times[kWindow]);
  }
  std::printf("\n%-20s %8s %8s %8s %8s  (ms from CreateProcess, %d starts)\n", "step", "min", "median", "p95", "max",
              starts);
  for (int s = 0; s < kSteps; ++s)
    std::printf("%-20s %8.1f %8.1f %8.1f %8.1f\n", kStepNames[s], Percentile(steps[s], 0), Percentile(steps[s], 0.5),
                Percentile(steps[s], 0.95), Percentile(steps[s], 1));
  std::printf("%-20s %8.1f %8.1f %8.1f %8.1f\n", "window to title", Percentile(windowToTitle, 0),
              Percentile(windowToTitle, 0.5), Percentile(windowToTitle, 0.95), Percentile(windowToTitle, 1));
  std::printf("starts without a frame within 60 s: %d\n", lost);
  DeleteFileA(path);
  return 0;
}
