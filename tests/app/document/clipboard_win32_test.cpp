// Copy and paste in document windows through the keys a user presses: the
// text another program reads back, text from another program pasted as
// typed cells, pastes with and without formats, and the paste ring.

// Another program reads this program's copies (see own_desktop_win32.h).
#define TALVERO_TEST_ON_SHARED_DESKTOP

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/clipboard/clipboard_format.h"
#include "app/clipboard/clipboard_ring.h"
#include "app/document/document_window_fixture.h"
#include "core/allocation_limit.h"
#include "numerics/numeric_function_table.h"
#include "platform/ui/popup_menu.h"
#include "services/messages/error_text.h"
#include "tests/thread_seconds_win32.h"

namespace {

class ClipboardTest : public DocumentEditingTest {
 protected:
  void SetUp() override {
    DocumentEditingTest::SetUp();
    // As the program does at start-up.
    ASSERT_TRUE(InstallFunctionLibrary());
    ClipboardRing().FreeAll();
    ClipboardRing().SetLevels(16);
    doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    book = doc->Workbook();
  }
  void Select(uint32_t firstColumn, uint32_t firstRow, uint32_t lastColumn, uint32_t lastRow) {
    CDocumentView* view = doc->GetActiveView();
    view->m_selection = GridSelection{firstColumn, firstRow, lastColumn, lastRow, 0, firstColumn, firstRow};
    view->SetFocus();
    Pump();
  }
  static void PutExternalText(HWND owner, const char* text) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
    std::strcpy(static_cast<char*>(GlobalLock(block)), text);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
  }
  static bool ClipboardHas(UINT format) {
    if (!OpenClipboard(nullptr)) return false;
    const bool has = IsClipboardFormatAvailable(format) != 0;
    CloseClipboard();
    return has;
  }
  CChildFrame* doc = nullptr;
  CWorkBook* book = nullptr;
};

// The text as another program reads it, run as a second process.
std::string ClipboardTextOfAnotherProgram() {
  std::string reader = TALVERO_CLIPBOARD_READER_PATH;
  if (!reader.empty() && reader[0] == '/') {
    reader = "Z:" + reader;  // Wine's drive for the Unix root
    for (char& c : reader) c = c == '/' ? '\\' : c;
  }
  const std::string out = FullPath("w32_clipboard_read.txt");
  std::remove(out.c_str());
  std::string commandLine = "\"" + reader + "\" \"" + out + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(reader.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return "<not started>";
  // The program keeps handling its messages while the other one reads, as
  // it does when a user pastes elsewhere: a clipboard owner that stops
  // answering makes the system give the reader nothing after a while.
  DWORD code = STILL_ACTIVE;
  for (int quiet = 0, wakes = 0; quiet < 600 && wakes < 100000 && code == STILL_ACTIVE; ++wakes) {
    const DWORD woken = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 50, QS_ALLINPUT);
    if (woken == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    if (woken == WAIT_TIMEOUT) ++quiet;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  if (code == STILL_ACTIVE) TerminateProcess(process.hProcess, 3);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code == 0 ? ReadAll(out) : "<exit " + std::to_string(code) + ">";
}

TEST_F(ClipboardTest, CopiedRangeIsReadByAnotherProgramAsText) {
  PutNumber(*book, 0, 0, 1.5);
  PutText(*book, 0, 1, "a\tb");
  PutText(*book, 1, 2, "say \"hi\"");
  Select(0, 0, 2, 1);
  Key('C', VK_CONTROL);
  EXPECT_TRUE(ClipboardHas(PrivateClipboardFormat()));
  EXPECT_EQ(ClipboardTextOfAnotherProgram(), "1.5\t\"a\tb\"\t\r\n\t\t\"say \"\"hi\"\"\"");
  EXPECT_EQ(ClipboardRing().Current(), 0);
  EXPECT_TRUE(g_boxes.empty());
}

// Text from another program is typed input even while the ring holds the
// program's own copies; one step takes the whole paste back.
TEST_F(ClipboardTest, TextOfAnotherProgramIsPastedAsTypedCells) {
  PutNumber(*book, 0, 0, 2);
  PutNumber(*book, 0, 1, 3);
  Select(0, 0, 0, 0);
  Key('C', VK_CONTROL);
  ASSERT_EQ(ClipboardRing().Current(), 0);
  PutExternalText(frame.m_hWnd, "7\t\tx\r\n=A1+B1\n8");
  Select(2, 2, 2, 2);
  const int32_t steps = book->undoHistory.Current();
  Key('V', VK_CONTROL);
  EXPECT_EQ(NumberAt(*book, 2, 2), 7);
  EXPECT_EQ(TextAt(*book, 2, 4), "x");
  const CellRecord* formula = book->activeWorksheet->cells.GetCell(3, 2);
  ASSERT_NE(formula, nullptr);
  EXPECT_EQ(formula->CachedNumber(), 5);  // the cells it names typed at C4
  EXPECT_EQ(NumberAt(*book, 4, 2), 8);
  EXPECT_EQ(book->undoHistory.Current(), steps + 1);
  ASSERT_TRUE(book->UndoStep());
  EXPECT_EQ(book->activeWorksheet->cells.GetCell(2, 2), nullptr);
  EXPECT_EQ(book->activeWorksheet->cells.GetCell(4, 2), nullptr);
}

// A table of another program's text pasted, then a summary typed beside
// it with the keys: whole-column criteria, MAX and an exact lookup over the
// long table answer, and answer again after an amount is typed over.
TEST_F(ClipboardTest, SummaryTypedBesideAPastedLongTableAnswers) {
  std::string table;
  for (uint32_t row = 0; row < 1200; ++row)
    table += "c" + std::to_string(row % 3) + "\t" + std::to_string(row % 5) + "\t" + std::to_string(row) + "\r\n";
  PutExternalText(frame.m_hWnd, table.c_str());
  Select(0, 0, 0, 0);
  Key('V', VK_CONTROL);
  ASSERT_EQ(NumberAt(*book, 1199, 2), 1199);
  const char* const kSummary[] = {"=SUMIF(A:A,\"c1\",B:B)", "=COUNTIF(A:A,\"c1\")", "=SUMIF(A:A,\"c1\",B:B)",
                                  "=MAX(C:C)", "=VLOOKUP(600,C1:C1200,1,0)"};
  for (uint32_t row = 0; row < 5; ++row) {
    FocusCell(doc, row, 4);
    Type(kSummary[row]);
    Key(VK_RETURN);
  }
  const auto result = [&](uint32_t row) {
    const CellRecord* cell = book->activeWorksheet->cells.GetCell(row, 4);
    return cell != nullptr && cell->IsFormula() && cell->ErrorCode() == 0 ? cell->CachedNumber() : -1.0;
  };
  // Rows 1, 4, ... 1198 hold "c1"; their amounts run 1 4 2 0 3 over and over.
  EXPECT_EQ(result(0), 800);
  EXPECT_EQ(result(1), 400);
  EXPECT_EQ(result(2), 800);
  EXPECT_EQ(result(3), 1199);
  EXPECT_EQ(result(4), 600);
  EXPECT_GT(book->evaluator.columnCells.BuildCount(), 0u);  // the criteria read the listed column
  FocusCell(doc, 1, 1);
  Type("9");
  Key(VK_RETURN);
  EXPECT_EQ(result(0), 808);
  EXPECT_EQ(result(2), 808);
  EXPECT_TRUE(g_boxes.empty());
}

// One cell of another program's text pasted into a whole column fills the
// column down to the grid's last row, as one undo step.
TEST_F(ClipboardTest, OneCellOfTextFillsAWholeColumnSelection) {
  PutExternalText(frame.m_hWnd, "z");
  Select(1, 0, 1, kMaxRow);
  const int32_t steps = book->undoHistory.Current();
  Key('V', VK_CONTROL);
  EXPECT_EQ(TextAt(*book, 0, 1), "z");
  EXPECT_EQ(TextAt(*book, 1000000, 1), "z");
  EXPECT_EQ(TextAt(*book, kMaxRow, 1), "z");
  EXPECT_EQ(book->activeWorksheet->cells.GetCell(0, 0), nullptr);
  EXPECT_EQ(book->undoHistory.Current(), steps + 1);
  ASSERT_TRUE(book->UndoStep());
  EXPECT_EQ(book->activeWorksheet->cells.GetCell(0, 1), nullptr);
  EXPECT_EQ(book->activeWorksheet->cells.GetCell(kMaxRow, 1), nullptr);
}

// A block of two texts from another program, pasted with Ctrl+V into the
// column Ctrl+Space selects, fills it by turns with every row's height
// measured through the real text measurer, and Ctrl+Z takes it back. Each
// ends: measured row by row such a paste took minutes; the bound is far
// above the few seconds it takes.
TEST_F(ClipboardTest, ABlockOfTextsFillsAWholeColumnAndUndoes) {
  constexpr double kBoundSeconds = 60;
  PutExternalText(frame.m_hWnd, "a\r\nb");
  FocusCell(doc, 0, 2);
  Key(VK_SPACE, VK_CONTROL);
  const SelectionRange column = doc->GetActiveView()->Selection();
  ASSERT_EQ(column.firstRow, 0u);
  ASSERT_EQ(column.lastRow, kMaxRow);
  const double beforePaste = ThreadSeconds();
  Key('V', VK_CONTROL);
  const double pasting = ThreadSeconds() - beforePaste;
  EXPECT_EQ(TextAt(*book, 0, 2), "a");
  EXPECT_EQ(TextAt(*book, 1, 2), "b");
  EXPECT_EQ(TextAt(*book, 1000000, 2), "a");
  EXPECT_EQ(TextAt(*book, kMaxRow, 2), "b");
  // The last row measured as the first: one line of text.
  const RowTable& rows = book->activeWorksheet->format.rows;
  ASSERT_GT(rows.Count(), kMaxRow);
  EXPECT_NE(*rows.At(kMaxRow) & RowTable::kHeightMask, 0);
  EXPECT_EQ(*rows.At(kMaxRow), *rows.At(0));
  EXPECT_LT(pasting, kBoundSeconds);

  const double beforeUndo = ThreadSeconds();
  Key('Z', VK_CONTROL);
  const double undoing = ThreadSeconds() - beforeUndo;
  EXPECT_EQ(book->activeWorksheet->cells.GetCell(0, 2), nullptr);
  EXPECT_EQ(book->activeWorksheet->cells.GetCell(kMaxRow, 2), nullptr);
  EXPECT_LT(undoing, kBoundSeconds);
  EXPECT_TRUE(g_boxes.empty());
}

// Ctrl+V brings the copied cells with their formats over a block grown from
// one cell; Shift+Insert brings the cells alone; Ctrl+Delete then takes the
// formats, Delete the cells.
TEST_F(ClipboardTest, PasteWithAndWithoutFormatsAndDelete) {
  CWorkSheet* sheet = book->activeWorksheet;
  PutNumber(*book, 0, 0, 0.5);
  PutNumber(*book, 1, 1, 0.25);
  StyleRecord percent = StyleRecord::Default();
  percent.numFormat.category = kNumFormatPercent;
  ASSERT_TRUE(book->ApplyFormatToRange(&book->styles, 0, 1, 0, 1, &sheet->format, kApplyNumberFormat, percent,
                                       book->styles.FontAt(0)));
  const auto percentAt = [&](uint32_t row, uint16_t column) {
    return book->styles.StyleAt(sheet->format.CellStyle(row, column)).numFormat.category == kNumFormatPercent;
  };
  Select(0, 0, 1, 1);
  Key('C', VK_CONTROL);
  Select(4, 4, 4, 4);
  Key('V', VK_CONTROL);
  EXPECT_EQ(NumberAt(*book, 4, 4), 0.5);
  EXPECT_EQ(NumberAt(*book, 5, 5), 0.25);
  EXPECT_TRUE(percentAt(5, 5));
  Select(7, 0, 7, 0);
  Key(VK_INSERT, VK_SHIFT);
  EXPECT_EQ(NumberAt(*book, 1, 8), 0.25);
  EXPECT_FALSE(percentAt(1, 8));

  Select(4, 4, 5, 5);
  Key(VK_DELETE, VK_CONTROL);
  EXPECT_FALSE(percentAt(5, 5));
  EXPECT_EQ(NumberAt(*book, 5, 5), 0.25);
  Key(VK_DELETE);
  EXPECT_EQ(sheet->cells.GetCell(5, 5), nullptr);
  ASSERT_TRUE(book->UndoStep());
  EXPECT_EQ(NumberAt(*book, 5, 5), 0.25);
  EXPECT_TRUE(g_boxes.empty());
}

// A copy the ring cannot take leaves the text alone on the clipboard, so the
// next Paste pastes what was just copied and not the ring's older block.
TEST_F(ClipboardTest, FailedCopyLeavesOnlyItsText) {
  PutNumber(*book, 0, 0, 1);
  PutNumber(*book, 0, 1, 2);
  Select(0, 0, 0, 0);
  Key('C', VK_CONTROL);
  Select(1, 0, 1, 0);
  {
    AllocationLimit limit(0);
    Key('C', VK_CONTROL);
  }
  EXPECT_EQ(g_boxes, std::vector<std::string>{GetErrorText(kWorkbookOutOfMemory)});
  EXPECT_FALSE(ClipboardHas(PrivateClipboardFormat()));
  Select(2, 0, 2, 0);
  Key('V', VK_CONTROL);
  EXPECT_EQ(NumberAt(*book, 0, 2), 2);
}

std::vector<std::string> g_ringTexts;
UINT ReadRingMenu(HMENU popup, UINT, int, int, HWND, const RECT*) {
  g_ringTexts.clear();
  for (int i = 0; i < GetMenuItemCount(popup); ++i) {
    char text[300] = {};
    GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
    g_ringTexts.push_back(std::to_string(GetMenuItemID(popup, i)) + " " + text);
  }
  return ID_PASTE_RING_FIRST;  // the oldest entry
}

// The Paste button's drop-down lists each copy; choosing one pastes it.
TEST_F(ClipboardTest, RingDropDownListsTheCopiesAndPastesTheChosenOne) {
  PutNumber(*book, 0, 0, 4);
  Select(0, 0, 1, 2);
  Key('C', VK_CONTROL);
  ::SetFocus(doc->m_tree);
  Pump();
  Key('C', VK_CONTROL);  // the selected worksheet with its contents
  Select(5, 5, 5, 5);
  SetTrackPopupMenuFunction(ReadRingMenu);
  NMTOOLBARA drop{};
  drop.hdr.hwndFrom = frame.MainToolBar();
  drop.hdr.code = TBN_DROPDOWN;
  drop.iItem = ID_EDIT_PASTE;
  frame.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&drop));
  Pump();
  SetTrackPopupMenuFunction(nullptr);
  EXPECT_EQ(g_ringTexts, (std::vector<std::string>{"32954 1.\tPaste  \\Worksheet1!$A$1:$B$3",
                                                   "32955 2.\tPaste  \\Worksheet1"}));
  EXPECT_EQ(NumberAt(*book, 5, 5), 4);
}

}  // namespace
