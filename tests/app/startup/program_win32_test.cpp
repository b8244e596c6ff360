// Starts the program itself as a separate process and drives it from outside,
// as a user or the system would.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/startup/program_process.h"
#include "resources/resource_ids.h"

namespace {

using namespace program_process;

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

// Closes the frame as its close box does; the program must end with 0.
void CloseAndExpectCleanExit(HWND frame, const PROCESS_INFORMATION& process) {
  PostMessageA(frame, WM_CLOSE, 0, 0);
  DWORD exitCode = 99;
  EXPECT_TRUE(WaitForExit(process, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  Release(process);
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
  CloseAndExpectCleanExit(frame, started.process);
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
  CloseAndExpectCleanExit(frame, started.process);

  const std::string written = ReadFile(profile);
  EXPECT_EQ(written.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<Profile>\r\n", 0), 0u) << written;
  EXPECT_NE(written.find("\t<UndoLevel>42</UndoLevel>\r\n"), std::string::npos);
  // The frame's placement as it closed.
  EXPECT_NE(written.find("<ApplicationWindow Position=\"60 40 700 500\""), std::string::npos);
  EXPECT_NE(written.find("\t<RecentFile>c:\\book.tlv</RecentFile>\r\n</Profile>\r\n"), std::string::npos);
  DeleteFileA(profile.c_str());
}

BOOL CALLBACK FindGridView(HWND hwnd, LPARAM lp) {
  char className[64] = {};
  GetClassNameA(hwnd, className, sizeof className);
  if (lstrcmpA(className, "CTalverView") != 0 || !IsWindowVisible(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(lp) = hwnd;
  return FALSE;
}

HWND WaitForGridView(const PROCESS_INFORMATION& process, HWND frame) {
  for (int poll = 0; poll < kMaxPolls; ++poll) {
    HWND view = nullptr;
    EnumChildWindows(frame, FindGridView, reinterpret_cast<LPARAM>(&view));
    if (view != nullptr) return view;
    if (WaitForSingleObject(process.hProcess, kPollMilliseconds) == WAIT_OBJECT_0) return nullptr;
  }
  return nullptr;
}

// The program itself installs the built-in functions: formulas typed into
// its grid view, then saved into the workbook it opened, keep their results.
TEST(Program, TypedFormulasCallTheBuiltInFunctions) {
  const std::string profile = ProfileBesideProgram();
  DeleteFileA(profile.c_str());
  char book[MAX_PATH];
  GetFullPathNameA("program_typed_formulas.tlv", sizeof book, book, nullptr);
  std::FILE* file = std::fopen(book, "wb");
  ASSERT_NE(file, nullptr) << book;
  std::fputs("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Workbook><Worksheet Name=\"Sheet\"></Worksheet></Workbook>",
             file);
  std::fclose(file);

  Started started = StartProgram(std::string(" ") + book);
  ASSERT_TRUE(started.ok);
  HWND frame = WaitForFrame(started.process);
  ASSERT_NE(frame, nullptr);
  HWND view = WaitForGridView(started.process, frame);
  ASSERT_NE(view, nullptr);
  HWND editor = FindWindowExA(view, nullptr, "Edit", nullptr);
  ASSERT_NE(editor, nullptr);
  // The first character opens the in-cell editor, which takes the rest;
  // the program's one thread takes the keys in the order they were sent.
  // With the default options Enter stays in the cell: Down moves on.
  // A1 and A2 are formulas of their own; A3:A5 hold the numbers the range
  // formulas below them read (the file keeps references in R1C1 form).
  // A10 is arithmetic on cells alone, the target of the root search in A12
  // over the number in A11, which the search gives back when it ends.
  for (const char* text : {"=SUM(1,2,3)", "=NORMSDIST(0)", "3", "1", "2", "=MEDIAN(A3:A5)", "=LARGE(A3:A5,1)",
                           "=MATCH(1,A3:A5,0)", "=NPV(0,A3:A5)", "=A11*A11-2", "5", "=ROOT(A10,A11,0,10,)"}) {
    PostMessageA(view, WM_CHAR, static_cast<unsigned char>(text[0]), 1);
    for (const char* c = text + 1; *c; ++c) PostMessageA(editor, WM_CHAR, static_cast<unsigned char>(*c), 1);
    PostMessageA(editor, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(view, WM_KEYDOWN, VK_DOWN, 1);
  }
  PostMessageA(frame, WM_COMMAND, ID_FILE_SAVE, 0);
  CloseAndExpectCleanExit(frame, started.process);

  const std::string saved = ReadFile(book);
  EXPECT_NE(saved.find("<F>=SUM(1,2,3)</F><N>6</N>"), std::string::npos) << saved;
  EXPECT_NE(saved.find("<F>=NORMSDIST(0)</F><N>0.5</N>"), std::string::npos) << saved;
  EXPECT_NE(saved.find("<F>=MEDIAN(R[-3]C:R[-1]C)</F><N>2</N>"), std::string::npos) << saved;
  EXPECT_NE(saved.find("<F>=LARGE(R[-4]C:R[-2]C,1)</F><N>3</N>"), std::string::npos) << saved;
  EXPECT_NE(saved.find("<F>=MATCH(1,R[-5]C:R[-3]C,0)</F><N>2</N>"), std::string::npos) << saved;
  EXPECT_NE(saved.find("<F>=NPV(0,R[-6]C:R[-4]C)</F><N>6</N>"), std::string::npos) << saved;
  EXPECT_NE(saved.find("<F>=R[1]C*R[1]C-2</F><N>23</N>"), std::string::npos) << saved;
  EXPECT_NE(saved.find("<F>=ROOT(R[-2]C,R[-1]C,0,10,)</F><N>1.414213562"), std::string::npos) << saved;
  DeleteFileA(book);
  DeleteFileA(profile.c_str());
}

// Alt+F opens the File menu and X, its key for Exit, ends the program.
TEST(Program, AltFThenXExits) {
  DeleteFileA(ProfileBesideProgram().c_str());
  Started started = StartProgram("");
  ASSERT_TRUE(started.ok);
  HWND frame = WaitForFrame(started.process);
  ASSERT_NE(frame, nullptr);
  HWND view = WaitForGridView(started.process, frame);
  ASSERT_NE(view, nullptr);
  constexpr LPARAM kAltHeld = 1 << 29;
  PostMessageA(view, WM_SYSCHAR, 'f', kAltHeld | 1);
  // The system's pop-up menu window.
  ASSERT_NE(WaitForShownWindow(started.process, "#32768"), nullptr);
  // The menu's own loop reads the keys of the program's thread.
  PostMessageA(frame, WM_CHAR, 'x', 1);
  DWORD exitCode = 99;
  EXPECT_TRUE(WaitForExit(started.process, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  Release(started.process);
  DeleteFileA(ProfileBesideProgram().c_str());
}

TEST(Program, RegistrationSwitchExitsWithoutAWindowAndReportsSuccess) {
  Started started = StartProgram(" /regserver");
  ASSERT_TRUE(started.ok);
  DWORD exitCode = 99;
  EXPECT_TRUE(WaitForExit(started.process, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  Release(started.process);
}

}  // namespace
