// Stories of a user whose document is of a kind that keeps less than a
// workbook holds (a text file, an xBase table, an Excel 2003 XML file),
// told through the real program with its keys, its tree, its commands and
// its dialogs: whatever the path of the save (Ctrl+S, Save As into the
// same kind, File > Close or File > Exit with Yes, an automatic save), the
// file never silently keeps less than the document; the question names
// what it will not keep, Cancel is its default, and Cancel or Esc writes
// nothing and leaves the document modified. A document the kind holds
// whole is saved without a word.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "files/dispatch/native_kind.h"
#include "tests/app/document/document_window_fixture.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

std::vector<UINT> g_boxTypes;

int AnswerNotingType(HWND owner, const char* text, const char* caption, UINT type) {
  g_boxTypes.push_back(type);
  return AnswerBox(owner, text, caption, type);
}

// The real message box, answered by Esc pressed in it.
bool g_escapeBox = false;

LRESULT CALLBACK PressEscapeInBox(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE && g_escapeBox) {
    const HWND box = reinterpret_cast<HWND>(wp);
    char name[16] = {};
    GetClassNameA(box, name, sizeof name);
    if (std::strcmp(name, "#32770") == 0) {
      PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 1);
      // Should the key go astray, the box still ends, with an answer no
      // story expects, rather than waiting for a person.
      PostMessageA(box, WM_COMMAND, IDABORT, 0);
      g_escapeBox = false;
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

std::vector<int> g_realAnswers;

int RealBoxAnsweredByEscape(HWND owner, const char* text, const char* caption, UINT type) {
  g_boxes.push_back(text);
  g_escapeBox = true;
  const HHOOK hook = SetWindowsHookExA(WH_CBT, PressEscapeInBox, nullptr, GetCurrentThreadId());
  const int answer = MessageBoxA(owner, text, caption, type);
  UnhookWindowsHookEx(hook);
  g_realAnswers.push_back(answer);
  return answer;
}

int64_t g_now = 0;
int64_t TestClock() { return g_now; }

const char kQuestionEnd[] =
    "\n\nChoose OK to save all the same, or Cancel to keep the workbook as it is and save nothing.";

std::string FileQuestion(const char* kind, const std::string& lines) {
  return std::string("Saving as ") + kind + " keeps less than this workbook holds. The file will not keep:" + lines +
         kQuestionEnd;
}

std::string ReadBackQuestion(const char* kind, const std::string& lines) {
  return std::string("Saving as ") + kind +
         " keeps less than this workbook holds, and the workbook is then read back from the new file. This will be "
         "lost:" +
         lines + kQuestionEnd;
}

class ForeignSaveStories : public DocumentEditingTest {
 protected:
  void SetUp() override {
    DocumentEditingTest::SetUp();
    SetMessageBoxFunction(AnswerNotingType);
    g_boxTypes.clear();
    g_realAnswers.clear();
    g_now = 2000000;
    SetActivityClockForTesting(TestClock);
  }
  void TearDown() override {
    SetDialogScripts(nullptr, 0);
    DocumentEditingTest::TearDown();
  }

  CChildFrame* NewShownDocument() {
    doc = NewDocument();
    if (doc != nullptr && !doc->Workbook()->panes.treePaneVisible) Command(doc, ID_VIEW_TREE);
    return doc;
  }
  CTreeItem* Item(const char* path) { return doc->Workbook()->FindItemByPath(path); }
  void SelectItem(const char* path) {
    HTREEITEM item = doc->FindTreeItem(nullptr, Item(path));
    ASSERT_NE(item, nullptr) << path;
    ::SetFocus(doc->m_tree);
    doc->m_tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    Pump();
  }
  // A new worksheet or folder, given its name in the edit the command opens.
  void NewItem(UINT command, const char* name) {
    Command(doc, command);
    ASSERT_NE(doc->m_tree.LabelEdit(), nullptr);
    Key('A', VK_CONTROL);
    Key(VK_DELETE);
    Type(name);
    Key(VK_RETURN);
  }
  void TypeInto(const char* path, uint32_t row, uint32_t column, const char* text) {
    SelectItem(path);
    FocusCell(doc, row, column);
    Type(text);
    Key(VK_RETURN);
  }
  void CtrlS() {
    FocusCell(doc, 0, 0);
    Key('S', VK_CONTROL);
  }
  // Save As into the filter's kind, its text or table dialog taken as
  // offered.
  void SaveAs(const std::string& path, DWORD filter) {
    DialogScript options = {filter == 2 ? IDD_SAVE_TEXT_FILE : IDD_XBASE_FILE, kOk, 1, false, false, 0};
    SaveAsWithDialog(doc, path, filter, &options);
  }
  static std::string NewPath(const char* name) {
    const std::string path = FullPath(name);
    std::remove(path.c_str());
    return path;
  }
  static bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  // The boxes since the last look, and none kept.
  std::vector<std::string> Boxes() {
    std::vector<std::string> boxes;
    boxes.swap(g_boxes);
    return boxes;
  }
  std::string SaveChanges() { return "Save changes to " + std::string(doc->Workbook()->bufferedFile.path) + "?"; }

  static constexpr DialogScriptStep kOk[] = {{IDOK, DialogAction::kPress, nullptr, 0}};
  CChildFrame* doc = nullptr;
};

// A plain table saved as s1.csv, edited and saved again: nothing is asked.
// A second worksheet with a formula, then Ctrl+S: the question names the
// sheet the file will not keep and the formula, Cancel the default; Cancel
// and Esc write nothing, the title keeps its " *". File > Close > Yes, and
// Cancel on the question: the window stays. Save As s1b.csv asks the same
// (the file will not keep them); Cancel makes no file, OK writes it and the
// document keeps both sheets. File > Exit > Yes asks again; Cancel keeps
// the program running and the file as it was, OK saves and exits.
TEST_F(ForeignSaveStories, ATextDocumentAsksBeforeEverySaveThatDropsAWorksheet) {
  ASSERT_NE(NewShownDocument(), nullptr);
  CWorkBook& book = *doc->Workbook();
  TypeInto("\\Worksheet1", 0, 0, "1");
  TypeInto("\\Worksheet1", 1, 0, "2");
  TypeInto("\\Worksheet1", 2, 0, "3");
  const std::string path = NewPath("w32_s1.csv");
  SaveAs(path, 2);
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
  EXPECT_EQ(book.sourceFormat, kFormatText);
  TypeInto("\\Worksheet1", 0, 0, "5");
  CtrlS();
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
  EXPECT_FALSE(doc->IsModified());
  book.bufferedFile.Close();
  EXPECT_EQ(ReadAll(path), "5\r\n2\r\n3");
  book.bufferedFile.Open(path.c_str(), "r+b");

  NewItem(ID_NEW_WORKSHEET, "Second");
  TypeInto("\\Second", 0, 0, "99");
  TypeInto("\\Second", 1, 0, "=A1*2");
  const std::string lines =
      "\n- 1 other worksheet(s): only the active worksheet, \\Second, is saved"
      "\n- the formulas: only their values are saved";
  const std::string question = FileQuestion("text", lines);
  const auto fileAsItWas = [&] {
    book.bufferedFile.Close();
    EXPECT_EQ(ReadAll(path), "5\r\n2\r\n3");
    book.bufferedFile.Open(path.c_str(), "r+b");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(Title(doc->m_hWnd), path + " - \\Second *");
  };
  g_answers = {IDCANCEL};
  CtrlS();
  EXPECT_EQ(Boxes(), std::vector<std::string>{question});
  ASSERT_EQ(g_boxTypes.size(), 1u);
  EXPECT_EQ(g_boxTypes[0] & (MB_TYPEMASK | MB_DEFMASK), UINT(MB_OKCANCEL | MB_DEFBUTTON2));
  fileAsItWas();

  SetMessageBoxFunction(RealBoxAnsweredByEscape);
  CtrlS();
  EXPECT_EQ(Boxes(), std::vector<std::string>{question});
  EXPECT_EQ(g_realAnswers, std::vector<int>{IDCANCEL});
  fileAsItWas();
  SetMessageBoxFunction(AnswerNotingType);

  g_answers = {IDYES, IDCANCEL};
  Command(doc, ID_FILE_CLOSE);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{SaveChanges(), question}));
  EXPECT_EQ(CountOpenDocuments(), 1u);
  fileAsItWas();

  const std::string other = NewPath("w32_s1b.csv");
  g_answers = {IDCANCEL};
  SaveAs(other, 2);
  EXPECT_EQ(Boxes(), std::vector<std::string>{question});
  EXPECT_FALSE(FileExists(other));
  fileAsItWas();
  g_answers = {IDOK};
  SaveAs(other, 2);
  EXPECT_EQ(Boxes(), std::vector<std::string>{question});
  EXPECT_EQ(book.worksheetCount, 2u);
  EXPECT_FALSE(doc->IsModified());
  book.bufferedFile.Close();
  EXPECT_EQ(ReadAll(other), "99\r\n198");
  book.bufferedFile.Open(other.c_str(), "r+b");

  TypeInto("\\Second", 2, 0, "7");
  g_answers = {IDYES, IDCANCEL};
  frame.SendMessage(WM_COMMAND, ID_APP_EXIT, 0);
  Pump();
  EXPECT_EQ(Boxes(), (std::vector<std::string>{SaveChanges(), question}));
  ASSERT_TRUE(frame.IsWindow());
  book.bufferedFile.Close();
  EXPECT_EQ(ReadAll(other), "99\r\n198");
  book.bufferedFile.Open(other.c_str(), "r+b");
  EXPECT_TRUE(doc->IsModified());
  g_answers = {IDYES, IDOK};
  frame.SendMessage(WM_COMMAND, ID_APP_EXIT, 0);
  Pump();
  EXPECT_EQ(Boxes().size(), 2u);
  EXPECT_FALSE(frame.IsWindow());
  EXPECT_EQ(ReadAll(other), "99\r\n198\r\n7");
  EXPECT_EQ(ReadAll(path), "5\r\n2\r\n3");
}

// An Excel 2003 XML document given folders X and Y, each holding a
// worksheet Jan, and formulas naming both: File > Exit > Yes asks, naming
// the folders, the worksheet the file must rename and each formula that
// would read another worksheet or #NAME? once the file is read back.
// Cancel keeps the program and the file; OK writes the flattened file.
TEST_F(ForeignSaveStories, AnExcelXmlDocumentAsksBeforeItsFoldersAndWorksheetNamesGo) {
  ASSERT_NE(NewShownDocument(), nullptr);
  CWorkBook& book = *doc->Workbook();
  TypeInto("\\Worksheet1", 0, 0, "1");
  const std::string path = NewPath("w32_folders.xml");
  SaveAs(path, 3);
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
  ASSERT_EQ(book.sourceFormat, kFormatExcelXml);
  book.bufferedFile.Close();
  const std::string before = ReadAll(path);
  book.bufferedFile.Open(path.c_str(), "r+b");

  NewItem(ID_NEW_FOLDER, "X");
  NewItem(ID_NEW_WORKSHEET, "Jan");
  SelectItem("\\Worksheet1");
  NewItem(ID_NEW_FOLDER, "Y");
  NewItem(ID_NEW_WORKSHEET, "Jan");
  TypeInto("\\X\\Jan", 0, 0, "111");
  TypeInto("\\Y\\Jan", 0, 0, "222");
  TypeInto("\\Worksheet1", 0, 1, "='\\X\\Jan'!A1");
  TypeInto("\\Worksheet1", 1, 1, "='\\Y\\Jan'!A1");
  const std::string question = FileQuestion(
      "Excel 2003 XML",
      "\n- the folders of the worksheet tree"
      "\n- the names of worksheets the file must rename: \\Y\\Jan as Jan(0)"
      "\n- 2 formula(s) naming a worksheet by its folder or by a name the file does not keep, which will read "
      "another worksheet or #NAME?: \\Worksheet1!B1 naming '\\X\\Jan', \\Worksheet1!B2 naming '\\Y\\Jan'");
  g_answers = {IDYES, IDCANCEL};
  frame.SendMessage(WM_COMMAND, ID_APP_EXIT, 0);
  Pump();
  EXPECT_EQ(Boxes(), (std::vector<std::string>{SaveChanges(), question}));
  ASSERT_TRUE(frame.IsWindow());
  EXPECT_TRUE(doc->IsModified());
  book.bufferedFile.Close();
  EXPECT_EQ(ReadAll(path), before);
  book.bufferedFile.Open(path.c_str(), "r+b");

  g_answers = {IDYES, IDOK};
  frame.SendMessage(WM_COMMAND, ID_APP_EXIT, 0);
  Pump();
  EXPECT_EQ(Boxes().size(), 2u);
  EXPECT_FALSE(frame.IsWindow());
  const std::string written = ReadAll(path);
  EXPECT_NE(written.find("ss:Name=\"Jan(0)\""), std::string::npos);
}

// Values a file gives back otherwise are named one by one: numbers a text
// file writes as shown, with fewer digits, and the empty cell under a
// table's number field, which a table gives back as 0.
TEST_F(ForeignSaveStories, NumbersWrittenAsShownAndEmptyNumberFieldsAreNamed) {
  ASSERT_NE(NewShownDocument(), nullptr);
  CWorkBook& book = *doc->Workbook();
  TypeInto("\\Worksheet1", 0, 0, "0.1234567890123456");
  TypeInto("\\Worksheet1", 1, 0, "123456789012345678");
  TypeInto("\\Worksheet1", 2, 0, "12.5");
  const std::string text = NewPath("w32_digits.csv");
  g_answers = {IDCANCEL};
  SaveAs(text, 2);
  EXPECT_EQ(Boxes(), std::vector<std::string>{ReadBackQuestion(
                         "text",
                         "\n- 2 number(s) written as shown that do not read back the same, such as A1: "
                         "0.1234567890123456 is written as 0.12345678901235")});
  EXPECT_FALSE(FileExists(text));
  EXPECT_EQ(book.sourceFormat, kFormatNative);

  ASSERT_NE(NewShownDocument(), nullptr);
  TypeInto("\\Worksheet1", 0, 0, "NAME");
  TypeInto("\\Worksheet1", 0, 1, "AMOUNT");
  const char* rows[][2] = {{"Ann", "5"}, {"Bob", ""}, {"Cy", "7"}};
  for (uint32_t row = 0; row < 3; ++row) {
    TypeInto("\\Worksheet1", row + 1, 0, rows[row][0]);
    if (rows[row][1][0] != '\0') TypeInto("\\Worksheet1", row + 1, 1, rows[row][1]);
  }
  const std::string table = NewPath("w32_blank.dbf");
  g_answers = {IDCANCEL};
  SaveAs(table, 5);
  EXPECT_EQ(Boxes(), std::vector<std::string>{ReadBackQuestion(
                         "dBase IV", "\n- 1 empty cell(s) of number fields, which read back as 0, such as B3")});
  EXPECT_FALSE(FileExists(table));
  EXPECT_TRUE(doc->IsModified());
}

// Auto-save after a pause: a text document that now holds a second
// worksheet is held back (no question waits for a user who is away, no
// file loses a sheet) and stays modified, and so is a protected one, whose
// file would lose its protection; the native document after them is saved
// all the same; auto-close then closes none.
TEST_F(ForeignSaveStories, AnAutomaticSaveHoldsBackADocumentItWouldShortenAndSavesTheOthers) {
  ASSERT_NE(NewShownDocument(), nullptr);
  CChildFrame* text = doc;
  TypeInto("\\Worksheet1", 0, 0, "1");
  const std::string textPath = NewPath("w32_auto.csv");
  SaveAs(textPath, 2);
  NewItem(ID_NEW_WORKSHEET, "Second");
  TypeInto("\\Second", 0, 0, "2");
  ASSERT_NE(NewShownDocument(), nullptr);
  CChildFrame* locked = doc;
  TypeInto("\\Worksheet1", 0, 0, "5");
  const std::string lockedPath = NewPath("w32_auto_locked.csv");
  SaveAs(lockedPath, 2);
  locked->Workbook()->protectionMode = 2;
  TypeInto("\\Worksheet1", 0, 0, "6");
  ASSERT_NE(NewShownDocument(), nullptr);
  CChildFrame* native = doc;
  TypeInto("\\Worksheet1", 0, 0, "3");
  const std::string nativePath = NewPath("w32_auto.tlv");
  g_savePath = nativePath;
  g_saveFilter = 1;
  Command(native, ID_FILE_SAVE_AS);
  TypeInto("\\Worksheet1", 0, 0, "4");
  ASSERT_TRUE(text->IsModified());
  ASSERT_TRUE(native->IsModified());
  EXPECT_EQ(Boxes(), std::vector<std::string>{});

  Options.AutoSave = 1;
  Options.AutoClose = 2;
  g_now += 61;
  frame.PostMessage(WM_TIMER, CMainFrame::kTimerId);
  Pump();
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
  EXPECT_TRUE(text->IsModified());
  EXPECT_TRUE(locked->IsModified());
  EXPECT_FALSE(native->IsModified());
  text->Workbook()->bufferedFile.Close();
  EXPECT_EQ(ReadAll(textPath), "1");
  text->Workbook()->bufferedFile.Open(textPath.c_str(), "r+b");
  locked->Workbook()->bufferedFile.Close();
  EXPECT_EQ(ReadAll(lockedPath), "5");
  locked->Workbook()->bufferedFile.Open(lockedPath.c_str(), "r+b");

  g_now += 61;
  frame.PostMessage(WM_TIMER, CMainFrame::kTimerId);
  Pump();
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
  EXPECT_EQ(CountOpenDocuments(), 3u);
  EXPECT_TRUE(text->IsModified());
}

// A document of each foreign kind, saved once with a plain table, is
// given every kind of content (another worksheet, a folder, a formula
// naming a worksheet in it, long numbers, an empty number cell, a percent
// format, a chart box, and in a table columns without a field). Ctrl+S, Save As into the same kind, File > Close
// > Yes and File > Exit > Yes each put the same question, naming what that
// kind's file gives back otherwise; Cancel on each writes nothing.
TEST_F(ForeignSaveStories, EverySavePathOfEveryForeignKindAsksTheSameQuestion) {
  const std::string others =
      "\n- 2 other worksheet(s): only the active worksheet, @, is saved"
      "\n- the folders of the worksheet tree"
      "\n- the formulas: only their values are saved";
  const std::string kept = "\n- the formats of cells, rows and columns\n- the containers with their charts and images";
  // The table's fields are those of its first save: columns C and D
  // typed since have none.
  const std::string table = others + "\n- 2 column(s) that the table has no field for, from column C" + kept +
                            "\n- values that their fields cut short, round or cannot hold"
                            "\n- 2 empty cell(s) of number fields, which read back as 0, such as B4";
  const struct {
    DWORD filter;
    const char* file;
    std::string question;  // "@" for the active worksheet's path
  } kinds[] = {
      {2, "w32_every.csv",
       FileQuestion("text", others +
                                "\n- 3 number(s) written as shown that do not read back the same, such as B2: "
                                "0.1234567890123456 is written as 0.12345678901235" +
                                kept)},
      {3, "w32_every.xml",
       FileQuestion("Excel 2003 XML",
                    "\n- the folders of the worksheet tree"
                    "\n- 1 formula(s) naming a worksheet by its folder or by a name the file does not keep, which "
                    "will read another worksheet or #NAME?: @!D2 naming '\\F\\Jan'"
                    "\n- the containers with their charts and images")},
      {4, "w32_every3.dbf", FileQuestion("dBase III+", table)},
      {5, "w32_every4.dbf", FileQuestion("dBase IV", table)},
      {6, "w32_every5.dbf", FileQuestion("FoxPro 2.x", table)},
      {7, "w32_every6.dbf", FileQuestion("Clipper", table)},
  };
  for (const auto& k : kinds) {
    SCOPED_TRACE(k.file);
    doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    CWorkBook& book = *doc->Workbook();
    PutText(book, 0, 0, "NAME");
    PutText(book, 0, 1, "AMOUNT");
    PutText(book, 1, 0, "Ann");
    PutNumber(book, 1, 1, 5);
    PutText(book, 2, 0, "Bob");
    PutNumber(book, 2, 1, 6);
    doc->SetModified(true);
    const std::string path = NewPath(k.file);
    SaveAs(path, k.filter);
    ASSERT_EQ(Boxes(), std::vector<std::string>{});
    ASSERT_FALSE(doc->IsModified());

    PutNumber(book, 1, 1, 0.1234567890123456);
    // A table's whole-number field rounds 7.25; a number no field holds
    // would refuse the save before any question.
    PutNumber(book, 2, 1, k.filter >= 4 ? 7.25 : 123456789012345678);
    PutText(book, 4, 0, "Dee");
    book.InsertItems(NewWorksheet("Other", 1), nullptr);
    CTreeItem* folder = NewFolderItem("F", 1);
    book.InsertItems(folder, nullptr);
    CWorkSheet* jan = NewWorksheet("Jan", 1);
    book.InsertItems(jan, folder);
    auto* box = new ContainerRecord();
    ASSERT_TRUE(book.AssignContainerId(box));
    book.activeWorksheet->AddContainer(box);
    ASSERT_TRUE(doc->FillTree());
    FocusCell(doc, 1, 3);
    Type("='\\F\\Jan'!A1");
    Key(VK_RETURN);
    FocusCell(doc, 3, 2);
    Type("25%");
    Key(VK_RETURN);
    ASSERT_TRUE(doc->IsModified());
    char active[kTreePathCapacity];
    book.activeWorksheet->GetFullPath(active, sizeof active);
    std::string expected = k.question;
    for (size_t at; (at = expected.find('@')) != std::string::npos;) expected.replace(at, 1, active);
    book.bufferedFile.Close();
    const std::string before = ReadAll(path);
    book.bufferedFile.Open(path.c_str(), "r+b");

    std::vector<std::string> questions;
    g_answers = {IDCANCEL};
    CtrlS();
    questions.push_back(Boxes().back());
    const std::string other = NewPath("w32_every_other.any");
    g_answers = {IDCANCEL};
    SaveAs(other, k.filter);
    questions.push_back(Boxes().back());
    EXPECT_FALSE(FileExists(other));
    g_answers = {IDYES, IDCANCEL};
    Command(doc, ID_FILE_CLOSE);
    questions.push_back(Boxes().back());
    g_answers = {IDYES, IDCANCEL};
    frame.SendMessage(WM_COMMAND, ID_APP_EXIT, 0);
    Pump();
    questions.push_back(Boxes().back());
    ASSERT_TRUE(frame.IsWindow());
    for (const std::string& question : questions) EXPECT_EQ(question, expected);
    EXPECT_TRUE(doc->IsModified());
    book.bufferedFile.Close();
    EXPECT_EQ(ReadAll(path), before);
    doc->SetModified(false);
    Command(doc, ID_FILE_CLOSE);
  }
}

// A dBase IV table with the OEM character set chosen in the xBase dialog:
// "café" comes back, "5 €" and "Škoda" do not; Save As names them, Cancel
// writes nothing. OK writes the table, which is read back as "5 ?" and
// "Skoda"; a euro sign typed afterwards is named by Ctrl+S, as by File >
// Close > Yes and File > Exit > Yes.
TEST_F(ForeignSaveStories, AnOemTableNamesTheCharactersItCannotHold) {
  ASSERT_NE(NewShownDocument(), nullptr);
  CWorkBook& book = *doc->Workbook();
  PutText(book, 0, 0, "NAME");
  PutText(book, 1, 0, "caf\xE9");
  PutText(book, 2, 0, "5 \x80");
  PutText(book, 3, 0, "\x8Akoda");
  doc->SetModified(true);
  const std::string path = NewPath("w32_oem.dbf");
  static constexpr DialogScriptStep kOem[] = {{IDC_FIRST_RADIO, DialogAction::kSetCheck, nullptr, 0},
                                              {IDC_SECOND_RADIO, DialogAction::kSetCheck, nullptr, 1},
                                              {IDOK, DialogAction::kPress, nullptr, 0}};
  const std::string lost =
      "\n- 2 text(s) with characters the file cannot hold, which read back as others or not at all, such as A3";
  DialogScript options = {IDD_XBASE_FILE, kOem, 3, false, false, 0};
  g_answers = {IDCANCEL};
  SaveAsWithDialog(doc, path, 5, &options);
  EXPECT_EQ(Boxes(), std::vector<std::string>{ReadBackQuestion("dBase IV", lost)});
  EXPECT_FALSE(FileExists(path));

  options = {IDD_XBASE_FILE, kOem, 3, false, false, 0};
  g_answers = {IDOK};
  SaveAsWithDialog(doc, path, 5, &options);
  EXPECT_EQ(Boxes().size(), 1u);
  ASSERT_EQ(book.sourceFormat, kFormatXBaseFirst + 1);
  EXPECT_EQ(book.xbaseTable.codePage, kXBaseCodePageOem);
  const CellRecord* euro = book.activeWorksheet->cells.GetCell(2, 0);
  ASSERT_NE(euro, nullptr);
  EXPECT_EQ(std::string(euro->Text(), euro->TextLength()), "5 ?");

  PutText(book, 4, 0, "\x80");
  doc->SetModified(true);
  const std::string again = FileQuestion(
      "dBase IV",
      "\n- 1 text(s) with characters the file cannot hold, which read back as others or not at all, such as A5");
  g_answers = {IDCANCEL};
  CtrlS();
  EXPECT_EQ(Boxes(), std::vector<std::string>{again});
  g_answers = {IDYES, IDCANCEL};
  Command(doc, ID_FILE_CLOSE);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{SaveChanges(), again}));
  g_answers = {IDYES, IDCANCEL};
  frame.SendMessage(WM_COMMAND, ID_APP_EXIT, 0);
  Pump();
  EXPECT_EQ(Boxes(), (std::vector<std::string>{SaveChanges(), again}));
  ASSERT_TRUE(frame.IsWindow());
  EXPECT_TRUE(doc->IsModified());
  doc->SetModified(false);
  Command(doc, ID_FILE_CLOSE);
}

// A plain CSV table whose page setup was changed (landscape, a header and
// a footer, 50 %, a left margin of 40 mm, 2 x 2 pages per sheet, row 2
// excluded): Ctrl+S names each setting the text file drops; Save As Excel
// 2003 XML names those that file drops, its margins in inches among them.
TEST_F(ForeignSaveStories, PageSettingsAFileDropsAreNamedOneByOne) {
  ASSERT_NE(NewShownDocument(), nullptr);
  CWorkBook& book = *doc->Workbook();
  TypeInto("\\Worksheet1", 0, 0, "a");
  const std::string path = NewPath("w32_pages.csv");
  SaveAs(path, 2);
  ASSERT_EQ(Boxes(), std::vector<std::string>{});
  PageSettings& page = book.activeWorksheet->pageSettings;
  page.landscape = 1;
  std::snprintf(page.headerText, sizeof page.headerText, "My header");
  std::snprintf(page.footerText, sizeof page.footerText, "Page &P");
  page.scale = 50;
  page.marginLeft = 40;
  page.pagesPerSheetRows = 2;
  page.pagesPerSheetColumns = 2;
  std::snprintf(page.excludedRows, sizeof page.excludedRows, "2");
  doc->SetModified(true);
  g_answers = {IDCANCEL};
  CtrlS();
  EXPECT_EQ(Boxes(), std::vector<std::string>{FileQuestion(
                         "text",
                         "\n- the page settings: orientation, scale, excluded rows, header, footer, margins, pages "
                         "per sheet")});
  EXPECT_TRUE(doc->IsModified());
  const std::string xml = NewPath("w32_pages.xml");
  g_answers = {IDCANCEL};
  SaveAs(xml, 3);
  EXPECT_EQ(Boxes(), std::vector<std::string>{ReadBackQuestion(
                         "Excel 2003 XML", "\n- the page settings: excluded rows, margins, pages per sheet")});
  EXPECT_FALSE(FileExists(xml));
  doc->SetModified(false);
}

// Excel 2003 XML: a text holding a control character, a cell whose formula
// is hidden and one with a vertical indent are named; nothing else is.
TEST_F(ForeignSaveStories, ExcelXmlNamesControlCharactersAndTheFormatsItDrops) {
  ASSERT_NE(NewShownDocument(), nullptr);
  CWorkBook& book = *doc->Workbook();
  PutText(book, 0, 0, "a\x01" "b");
  const auto styled = [&](uint32_t row, void (*edit)(StyleRecord*)) {
    StyleRecord style = book.styles.StyleAt(0);
    edit(&style);
    uint16_t index = 0;
    ASSERT_TRUE(book.styles.FindOrAddStyle(style, &index));
    ASSERT_TRUE(book.activeWorksheet->format.runs.InsertRun(StyleRun{1, 1, row, index}, nullptr));
  };
  styled(1, [](StyleRecord* s) { s->hidden = 1; });
  styled(2, [](StyleRecord* s) { s->alignment.verticalIndent = 6; });
  doc->SetModified(true);
  const std::string path = NewPath("w32_controls.xml");
  g_answers = {IDCANCEL};
  SaveAs(path, 3);
  EXPECT_EQ(Boxes(), std::vector<std::string>{ReadBackQuestion(
                         "Excel 2003 XML",
                         "\n- 1 text(s) with characters the file cannot hold, which read back as others or not at "
                         "all, such as \\Worksheet1!A1\n- the formats of cells, rows and columns")});
  EXPECT_FALSE(FileExists(path));
  doc->SetModified(false);
}

// A table opened with the fields NAME and QTY, then C1 "NOTE" and C2
// "added later" typed: Ctrl+S names column C, which the table has no field
// for, and neither the first row nor the field values.
TEST_F(ForeignSaveStories, ColumnsATableHasNoFieldForAreNamed) {
  ASSERT_NE(NewShownDocument(), nullptr);
  TypeInto("\\Worksheet1", 0, 0, "NAME");
  TypeInto("\\Worksheet1", 0, 1, "QTY");
  TypeInto("\\Worksheet1", 1, 0, "Ann");
  TypeInto("\\Worksheet1", 1, 1, "5");
  const std::string path = NewPath("w32_fields.dbf");
  SaveAs(path, 5);
  ASSERT_EQ(Boxes(), std::vector<std::string>{});
  TypeInto("\\Worksheet1", 0, 2, "NOTE");
  TypeInto("\\Worksheet1", 1, 2, "added later");
  CWorkBook& book = *doc->Workbook();
  book.bufferedFile.Close();
  const std::string before = ReadAll(path);
  book.bufferedFile.Open(path.c_str(), "r+b");
  g_answers = {IDCANCEL};
  CtrlS();
  EXPECT_EQ(Boxes(), std::vector<std::string>{FileQuestion(
                         "dBase IV", "\n- 1 column(s) that the table has no field for, from column C")});
  EXPECT_TRUE(doc->IsModified());
  book.bufferedFile.Close();
  EXPECT_EQ(ReadAll(path), before);
  book.bufferedFile.Open(path.c_str(), "r+b");
  doc->SetModified(false);
}

// What a file gives back whole is not asked about: a text "=Jan!A1", which
// a text file reads back as the same text.
TEST_F(ForeignSaveStories, ATextLikeAFormulaThatReadsBackTheSameIsNotAsked) {
  ASSERT_NE(NewShownDocument(), nullptr);
  PutText(*doc->Workbook(), 0, 0, "=Jan!A1");
  doc->SetModified(true);
  const std::string path = NewPath("w32_formula_text.csv");
  SaveAs(path, 2);
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
  EXPECT_TRUE(FileExists(path));
  EXPECT_FALSE(doc->IsModified());
}

// dBase III+ and Clipper from a sheet holding 0.1234567890123456 and
// -123456789012345678: no field holds the second, so the save is refused
// before any question, naming its cell, and no file is made. An empty
// worksheet saved as a table would read back with "field_1" in A1: the
// question names the first row.
TEST_F(ForeignSaveStories, ASaveThatCannotBeMadeIsRefusedBeforeTheQuestion) {
  for (DWORD filter : {4u, 7u}) {
    SCOPED_TRACE(filter);
    ASSERT_NE(NewShownDocument(), nullptr);
    CWorkBook& book = *doc->Workbook();
    PutNumber(book, 1, 0, 0.1234567890123456);
    PutNumber(book, 2, 0, -123456789012345678.0);
    doc->SetModified(true);
    const std::string path = NewPath("w32_too_wide.dbf");
    g_answers = {IDOK};
    SaveAs(path, filter);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"A number is too wide for its database field: A3"});
    EXPECT_FALSE(FileExists(path));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(book.sourceFormat, kFormatNative);
    doc->SetModified(false);
  }

  ASSERT_NE(NewShownDocument(), nullptr);
  doc->SetModified(true);
  const std::string empty = NewPath("w32_empty.dbf");
  g_answers = {IDCANCEL};
  SaveAs(empty, 5);
  EXPECT_EQ(Boxes(), std::vector<std::string>{ReadBackQuestion(
                         "dBase IV", "\n- the values of the first row, which becomes the field names")});
  EXPECT_FALSE(FileExists(empty));
  doc->SetModified(false);
}

}  // namespace
