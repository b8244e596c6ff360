// Stories of a user whose Save As would read the workbook back from a kind
// that keeps less than it holds, told through the real program with its
// keys, its tree and its save dialog: a name typed with the native
// extension is saved natively whatever type the dialog remembers; before
// anything is lost the program asks, naming what; Esc, Cancel and Enter
// keep the workbook as it is and write nothing; OK saves as before.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "files/dispatch/native_kind.h"
#include "tests/app/document/document_window_fixture.h"

namespace {

// The save dialog as a user meets it: the file type it offers is kept
// unless the test chooses another (g_saveFilter not 0).
DWORD g_offeredFilter = 0;

BOOL WINAPI AnswerKeepingOfferedType(OPENFILENAMEA* record) {
  ++g_saveDialogs;
  g_offeredFilter = record->nFilterIndex;
  if (g_savePath.empty()) return FALSE;
  std::snprintf(record->lpstrFile, record->nMaxFile, "%s", g_savePath.c_str());
  if (g_saveFilter != 0) record->nFilterIndex = g_saveFilter;
  return TRUE;
}

std::vector<UINT> g_boxTypes;

int AnswerNotingType(HWND owner, const char* text, const char* caption, UINT type) {
  g_boxTypes.push_back(type);
  return AnswerBox(owner, text, caption, type);
}

// The real message box, answered by a key the user presses in it.
WPARAM g_keyForBox = 0;
std::vector<int> g_realAnswers;

LRESULT CALLBACK PressKeyInBox(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE && g_keyForBox != 0) {
    const HWND box = reinterpret_cast<HWND>(wp);
    char name[16] = {};
    GetClassNameA(box, name, sizeof name);
    if (std::strcmp(name, "#32770") == 0) {
      PostMessageA(box, WM_KEYDOWN, g_keyForBox, 1);
      // Should the key go astray, the box still ends, with an answer no
      // story expects, rather than waiting for a person.
      PostMessageA(box, WM_COMMAND, IDABORT, 0);
      g_keyForBox = 0;
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

int RealBoxAnsweredByKey(HWND owner, const char* text, const char* caption, UINT type) {
  g_boxes.push_back(text);
  const HHOOK hook = SetWindowsHookExA(WH_CBT, PressKeyInBox, nullptr, GetCurrentThreadId());
  const int answer = MessageBoxA(owner, text, caption, type);
  UnhookWindowsHookEx(hook);
  g_realAnswers.push_back(answer);
  return answer;
}

const char kQuestionEnd[] =
    "\n\nChoose OK to save all the same, or Cancel to keep the workbook as it is and save nothing.";

class SaveAsLossStories : public DocumentEditingTest {
 protected:
  void SetUp() override {
    DocumentEditingTest::SetUp();
    CFileDlg::SetCommonDialogFunctions(AnswerOpenDialog, AnswerKeepingOfferedType);
    SetMessageBoxFunction(AnswerNotingType);
    g_boxTypes.clear();
    g_realAnswers.clear();
    g_saveFilter = 0;
  }
  void TearDown() override {
    SetDialogScripts(nullptr, 0);
    DocumentEditingTest::TearDown();
  }

  void TypeInto(CChildFrame* doc, uint32_t row, uint32_t column, const char* text) {
    FocusCell(doc, row, column);
    Type(text);
    Key(VK_RETURN);
  }
  // The name being edited in the tree replaced by the one typed.
  void NameTyped(const char* name) {
    Key('A', VK_CONTROL);
    Type(name);
    Key(VK_RETURN);
  }
  // The workbook, made with Ctrl+N, the tree and the keyboard:
  // alpha holds 5, beta 6, gamma 7; gamma is active.
  CChildFrame* ThreeSheets() {
    Key('N', VK_CONTROL);
    CChildFrame* doc = frame.GetActiveChildFrame();
    if (doc == nullptr) return nullptr;
    frame.SendMessage(WM_COMMAND, ID_RENAME, 0);
    Pump();
    NameTyped("alpha");
    TypeInto(doc, 0, 0, "5");
    const char* names[] = {"beta", "gamma"};
    const char* values[] = {"6", "7"};
    for (int i = 0; i < 2; ++i) {
      frame.SendMessage(WM_COMMAND, ID_NEW_WORKSHEET, 0);
      Pump();
      NameTyped(names[i]);
      TypeInto(doc, 0, 0, values[i]);
    }
    return doc;
  }
  // The worksheets of the workbook with the number in A1 of each:
  // "alpha=5 beta=6".
  std::string Sheets(CWorkBook& book) {
    std::string text;
    for (CWorkSheetTree::CTreeItem* item = book.firstItem; item != nullptr; item = item->next) {
      CWorkSheet* sheet = CWorkSheet::FromItem(item);
      if (sheet == nullptr) continue;
      const CellRecord* cell = sheet->cells.GetCell(0, 0);
      char value[32] = "";
      if (cell != nullptr && cell->IsNumber()) std::snprintf(value, sizeof value, "=%g", cell->Number());
      if (cell != nullptr && cell->IsText()) std::snprintf(value, sizeof value, "=%.*s", cell->TextLength(), cell->Text());
      text += (text.empty() ? "" : " ") + std::string(sheet->name) + value;
    }
    return text;
  }
  static bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
  // The full path of a name no file holds yet.
  static std::string NewPath(const char* name) {
    const std::string path = FullPath(name);
    std::remove(path.c_str());
    return path;
  }
  // Save As with the file type at the filter, a table's description taken
  // as offered (OK); whether the description was shown.
  bool SaveAsTable(CChildFrame* doc, const std::string& path, DWORD filter) {
    DialogScript description = {IDD_XBASE_FILE, kOk, 1, false, false, 0};
    SaveAsWithDialog(doc, path, filter, &description);
    return description.ran;
  }
  static constexpr DialogScriptStep kOk[] = {{IDOK, DialogAction::kPress, nullptr, 0}};
};

// After a document was once saved as a dBase III+ table, the save dialog
// keeps offering that type. A new workbook of three sheets, Ctrl+S, the
// name trap.tlv typed and Enter: the name says the native kind, so the
// workbook is written natively with every sheet, no table description is
// asked for and nothing is read back.
TEST_F(SaveAsLossStories, ANameTypedWithTheNativeExtensionIsSavedNativelyWithEverySheet) {
  CChildFrame* first = NewDocument();
  ASSERT_NE(first, nullptr);
  TypeInto(first, 0, 0, "NAME");
  TypeInto(first, 1, 0, "Ann");
  ASSERT_TRUE(SaveAsTable(first, NewPath("w32_trap_first.dbf"), 4));
  ASSERT_TRUE(g_boxes.empty()) << g_boxes.front();
  ASSERT_EQ(first->Workbook()->sourceFormat, kFormatXBaseFirst);
  g_saveFilter = 0;

  CChildFrame* doc = ThreeSheets();
  ASSERT_NE(doc, nullptr);
  ASSERT_NE(doc, first);
  CWorkBook& book = *doc->Workbook();
  ASSERT_EQ(Sheets(book), "alpha=5 beta=6 gamma=7");
  const std::string path = NewPath("w32_trap.tlv");
  g_savePath = path;
  DialogScript description = {IDD_XBASE_FILE, kOk, 1, false, false, 0};
  SetDialogScripts(&description, 1);
  FocusCell(doc, 0, 0);
  const int dialogs = g_saveDialogs;
  Key('S', VK_CONTROL);
  SetDialogScripts(nullptr, 0);
  EXPECT_EQ(g_saveDialogs, dialogs + 1);
  EXPECT_EQ(g_offeredFilter, 4u);  // the dialog offered the dBase III+ type
  EXPECT_FALSE(description.ran);
  EXPECT_TRUE(g_boxes.empty()) << g_boxes.front();
  EXPECT_EQ(book.sourceFormat, kFormatNative);
  EXPECT_EQ(Sheets(book), "alpha=5 beta=6 gamma=7");
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(Title(doc->m_hWnd), path + " - \\gamma");

  // The next Save As offers the type just written.
  g_savePath.clear();
  Command(doc, ID_FILE_SAVE_AS);
  EXPECT_EQ(g_offeredFilter, 1u);

  // The file holds the three sheets.
  Command(doc, ID_FILE_CLOSE);
  EXPECT_EQ(ReadAll(path).compare(0, 2, "\x1F\x8B"), 0);
  g_openPath = path;
  frame.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
  Pump();
  CChildFrame* reopened = frame.GetActiveChildFrame();
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(Sheets(*reopened->Workbook()), "alpha=5 beta=6 gamma=7");
  EXPECT_TRUE(g_boxes.empty()) << g_boxes.front();
}

// A sheet whose first row holds numbers, saved as a dBase IV table: the
// question comes before the first row becomes field names, with Cancel the
// default; Cancel writes nothing and leaves the workbook as it was; OK then
// saves and reads the table back as before.
TEST_F(SaveAsLossStories, NumbersInTheFirstRowAreAskedAboutBeforeTheyBecomeFieldNames) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  CWorkBook& book = *doc->Workbook();
  TypeInto(doc, 0, 0, "10");
  TypeInto(doc, 0, 1, "20");
  TypeInto(doc, 1, 0, "30");
  const std::string path = NewPath("w32_first_row.dbf");
  g_answers = {IDCANCEL};
  ASSERT_TRUE(SaveAsTable(doc, path, 5));
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0],
            std::string("Saving as dBase IV keeps less than this workbook holds, and the workbook is then read back "
                        "from the new file. This will be lost:\n"
                        "- the values of the first row, which becomes the field names") +
                kQuestionEnd);
  EXPECT_EQ(g_boxTypes[0] & (MB_TYPEMASK | MB_DEFMASK), UINT(MB_OKCANCEL | MB_DEFBUTTON2));
  EXPECT_FALSE(FileExists(path));
  EXPECT_EQ(book.bufferedFile.file, nullptr);
  EXPECT_EQ(book.sourceFormat, kFormatNative);
  EXPECT_EQ(XBaseFieldCount(book.xbaseTable), 0u);
  EXPECT_EQ(NumberAt(book, 0, 0), 10);
  EXPECT_EQ(NumberAt(book, 0, 1), 20);
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(Title(doc->m_hWnd), "New Workbook - \\Worksheet1 *");

  // OK: written and read back, as a table is.
  g_boxes.clear();
  g_answers = {IDOK};
  ASSERT_TRUE(SaveAsTable(doc, path, 5));
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(book.sourceFormat, kFormatXBaseFirst + 1);
  EXPECT_EQ(TextAt(book, 0, 0), "field_1");
  EXPECT_EQ(NumberAt(book, 1, 0), 30);
  EXPECT_FALSE(doc->IsModified());
  EXPECT_TRUE(FileExists(path));
}

// The workbook saved as a dBase III+ table on purpose: the real
// question names the two worksheets that would go. Esc, and Enter on the
// default button, keep the three sheets and write no file; OK saves the
// active sheet and reads it back, as before.
TEST_F(SaveAsLossStories, EscAndEnterOnTheQuestionKeepEverySheetAndWriteNothing) {
  CChildFrame* doc = ThreeSheets();
  ASSERT_NE(doc, nullptr);
  CWorkBook& book = *doc->Workbook();
  ASSERT_EQ(Sheets(book), "alpha=5 beta=6 gamma=7");
  // A formula in the active sheet goes too.
  TypeInto(doc, 1, 0, "=A1*2");
  const std::string path = NewPath("w32_three.dbf");
  const std::string question =
      std::string("Saving as dBase III+ keeps less than this workbook holds, and the workbook is then read back "
                  "from the new file. This will be lost:\n"
                  "- 2 other worksheet(s): only the active worksheet, \\gamma, is saved\n"
                  "- the formulas: only their values are saved\n"
                  "- the values of the first row, which becomes the field names") +
      kQuestionEnd;
  SetMessageBoxFunction(RealBoxAnsweredByKey);
  for (WPARAM key : {WPARAM(VK_ESCAPE), WPARAM(VK_RETURN)}) {
    SCOPED_TRACE(key == VK_ESCAPE ? "Esc" : "Enter");
    g_boxes.clear();
    g_realAnswers.clear();
    g_keyForBox = key;
    ASSERT_TRUE(SaveAsTable(doc, path, 4));
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0], question);
    ASSERT_EQ(g_realAnswers.size(), 1u);
    EXPECT_EQ(g_realAnswers[0], IDCANCEL);
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(Sheets(book), "alpha=5 beta=6 gamma=7");
    EXPECT_EQ(book.sourceFormat, kFormatNative);
    EXPECT_EQ(book.bufferedFile.file, nullptr);
    EXPECT_TRUE(doc->IsModified());
  }
  SetMessageBoxFunction(AnswerNotingType);
  g_boxes.clear();
  g_answers = {IDOK};
  ASSERT_TRUE(SaveAsTable(doc, path, 4));
  EXPECT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(book.sourceFormat, kFormatXBaseFirst);
  EXPECT_EQ(book.worksheetCount, 1u);
  EXPECT_EQ(NumberAt(book, 1, 0), 14);
  EXPECT_TRUE(FileExists(path));
}

}  // namespace
