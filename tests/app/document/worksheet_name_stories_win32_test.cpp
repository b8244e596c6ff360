// Stories of a user who names, copies and drags worksheets in the tree,
// told through the real document window with its keys and its tree: no
// command leaves two items of one folder with the same name, every name
// the tree takes can be written in a formula and read back, every formula
// keeps naming the worksheet it named, and Ctrl+Z gives each formula its
// text back letter for letter. F2 in the tree edits an item's name, never
// a cell.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/workbook/item_names.h"
#include "numerics/numeric_function_table.h"
#include "services/messages/error_text.h"
#include "tests/app/document/document_window_fixture.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

class NameStories : public DocumentEditingTest {
 protected:
  void NewShownDocument() {
    doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    if (!doc->Workbook()->panes.treePaneVisible) Command(doc, ID_VIEW_TREE);
    doc->m_splitOuter.SetSplitterPos(200);
    Pump();
  }
  CTreeItem* Item(const char* path) { return doc->Workbook()->FindItemByPath(path); }
  HTREEITEM Handle(const char* path) { return doc->FindTreeItem(nullptr, Item(path)); }
  // The item selected in the tree, which takes the focus.
  void SelectItem(const char* path) {
    HTREEITEM item = Handle(path);
    ASSERT_NE(item, nullptr) << path;
    ::SetFocus(doc->m_tree);
    doc->m_tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    Pump();
  }
  HWND LabelEdit() { return doc->m_tree.LabelEdit(); }
  std::string LabelText() {
    char text[256] = {};
    if (HWND edit = LabelEdit()) ::GetWindowTextA(edit, text, sizeof text);
    return text;
  }
  // The open name's text replaced by the one typed, then Enter.
  void TypeIntoName(const char* typed) {
    ASSERT_NE(LabelEdit(), nullptr);
    Key('A', VK_CONTROL);
    Key(VK_DELETE);
    Type(typed);
    Key(VK_RETURN);
  }
  // The item selected in the tree, F2, a name typed, Enter.
  void Rename(const char* path, const char* typed) {
    SelectItem(path);
    Key(VK_F2);
    TypeIntoName(typed);
  }
  // A new worksheet or folder, given its name in the edit the command opens.
  void NewItem(UINT command, const char* name) {
    Command(doc, command);
    TypeIntoName(name);
  }
  // Typed into a cell of the worksheet, shown by selecting it in the tree.
  void TypeInto(const char* path, uint32_t row, uint32_t column, const char* text) {
    SelectItem(path);
    FocusCell(doc, row, column);
    Type(text);
    Key(VK_RETURN);
  }
  void Drag(const char* from, const char* to) { DragTreeItem(doc, Handle(from), Handle(to)); }
  // The same drag near the start of each label.
  void DragByLabelStarts(const char* from, const char* to) { DragTreeItem(doc, Handle(from), Handle(to), true); }
  // Ctrl+Z or Ctrl+Y from the grid.
  void UndoKey(UINT key) {
    FocusCell(doc, 0, 0);
    Key(key, VK_CONTROL);
  }
  std::string FormulaAt(const char* path, uint32_t row, uint16_t column) {
    CWorkSheet* sheet = CWorkSheet::FromItem(Item(path));
    const CellRecord* cell = sheet ? sheet->cells.GetCell(row, column) : nullptr;
    return cell && cell->IsFormula() ? std::string(cell->FormulaText(), cell->FormulaLength()) : "-";
  }
  // The text F2 opens a cell's editor with, which stays open.
  std::string ShownInEditor(const char* path, uint32_t row, uint16_t column) {
    SelectItem(path);
    FocusCell(doc, row, column);
    Key(VK_F2);
    char text[kFormulaTextCapacity + 2] = {};
    doc->m_view[0].m_editor.GetWindowText(text, sizeof text);
    return text;
  }
  double ValueAt(const char* path, uint32_t row, uint16_t column) {
    CWorkSheet* sheet = CWorkSheet::FromItem(Item(path));
    const CellRecord* cell = sheet ? sheet->cells.GetCell(row, column) : nullptr;
    if (!cell || cell->ErrorCode()) return -1;
    return cell->IsFormula() ? cell->CachedNumber() : cell->Number();
  }
  // The items as "name:depth" words.
  std::string Items() {
    std::string out;
    for (CTreeItem* item = doc->Workbook()->firstItem; item; item = item->next)
      out += std::string(out.empty() ? "" : " ") + item->name + ":" + std::to_string(item->depth);
    return out;
  }
  bool SiblingsNamedApart() {
    for (CTreeItem* item = doc->Workbook()->firstItem; item; item = item->next)
      if (FindSiblingNamed(item, item->name) != nullptr) return false;
    return true;
  }
  // Worksheet1 to Worksheet3, named as offered, with 2 and 99 in the A1 of
  // the last two and the formula typed into Worksheet1's row 1 at the
  // column, which reads the value. Its text as stored, and the steps taken.
  void Worksheet1Reads(uint32_t column, const char* formula, double value) {
    NewShownDocument();
    NewItem(ID_NEW_WORKSHEET, "Worksheet2");
    NewItem(ID_NEW_WORKSHEET, "Worksheet3");
    TypeInto("\\Worksheet2", 0, 0, "2");
    TypeInto("\\Worksheet3", 0, 0, "99");
    TypeInto("\\Worksheet1", 0, column, formula);
    ASSERT_EQ(ValueAt("\\Worksheet1", 0, uint16_t(column)), value);
    typed = FormulaAt("\\Worksheet1", 0, uint16_t(column));
    typedColumn = uint16_t(column);
    typedValue = value;
    steps = doc->Workbook()->undoHistory.Current();
  }
  // The three worksheets as they were named, no step kept since, and the
  // formula as typed, reading its value.
  void ExpectAsTyped() {
    EXPECT_EQ(Items(), "Worksheet1:1 Worksheet2:1 Worksheet3:1");
    EXPECT_EQ(doc->Workbook()->undoHistory.Current(), steps);
    EXPECT_EQ(FormulaAt("\\Worksheet1", 0, typedColumn), typed);
    EXPECT_EQ(ValueAt("\\Worksheet1", 0, typedColumn), typedValue);
  }
  std::vector<std::string> Boxes(std::initializer_list<uint8_t> codes) {
    std::vector<std::string> texts;
    for (uint8_t code : codes) texts.push_back(GetErrorText(code));
    return texts;
  }

  CChildFrame* doc = nullptr;
  std::string typed;
  uint16_t typedColumn = 0;
  double typedValue = 0;
  int32_t steps = -1;
};

// Worksheet2 renamed Worksheet3 beside a Worksheet3 that a formula reads:
// refused with a message, the name left open as typed; Esc keeps the old
// name and the formula its worksheet. A free name is followed by the
// formula, and Ctrl+Z gives it back its very text.
TEST_F(NameStories, ARenameToASiblingsNameIsRefusedAndTheNameStaysOpen) {
  Worksheet1Reads(0, "='\\Worksheet3'!A1", 99);

  Rename("\\Worksheet2", "Worksheet3");
  EXPECT_EQ(g_boxes, Boxes({kWorkbookNameTaken}));
  ASSERT_NE(LabelEdit(), nullptr);
  EXPECT_EQ(::GetFocus(), LabelEdit());
  EXPECT_EQ(LabelText(), "Worksheet3");
  TypeIntoName("worksheet3");  // letter case aside
  EXPECT_EQ(g_boxes, Boxes({kWorkbookNameTaken, kWorkbookNameTaken}));
  ASSERT_NE(LabelEdit(), nullptr);
  Key(VK_ESCAPE);
  EXPECT_EQ(LabelEdit(), nullptr);
  ExpectAsTyped();

  Rename("\\Worksheet3", "Data");
  EXPECT_EQ(Items(), "Worksheet1:1 Worksheet2:1 Data:1");
  EXPECT_EQ(ValueAt("\\Worksheet1", 0, 0), 99);
  const std::string renamed = FormulaAt("\\Worksheet1", 0, 0);
  EXPECT_NE(renamed.find("\\Data"), std::string::npos) << renamed;
  UndoKey('Z');
  ExpectAsTyped();
  UndoKey('Y');
  EXPECT_EQ(FormulaAt("\\Worksheet1", 0, 0), renamed);
  EXPECT_EQ(ValueAt("\\Worksheet1", 0, 0), 99);
  EXPECT_EQ(g_boxes.size(), 2u);
}

// Root worksheet A dragged into folder F, which holds an A of its own: the
// dragged one is named A(1) there, each formula still reads the worksheet
// it read, and Ctrl+Z puts A back with every formula's text as typed.
TEST_F(NameStories, ADragIntoAFolderHoldingTheNameKeepsEveryFormulasWorksheet) {
  NewShownDocument();
  Rename("\\Worksheet1", "Report");
  NewItem(ID_NEW_WORKSHEET, "A");
  NewItem(ID_NEW_FOLDER, "F");
  NewItem(ID_NEW_WORKSHEET, "A");  // into the new folder, which is selected
  ASSERT_EQ(Items(), "Report:1 A:1 F:1 A:2");
  TypeInto("\\A", 0, 0, "1");
  TypeInto("\\F\\A", 0, 0, "2");
  TypeInto("\\Report", 0, 0, "='\\A'!A1");
  TypeInto("\\Report", 1, 0, "='\\F\\A'!A1");
  const std::string typed[] = {FormulaAt("\\Report", 0, 0), FormulaAt("\\Report", 1, 0)};

  Drag("\\A", "\\F");
  EXPECT_EQ(Items(), "Report:1 F:1 A:2 A(1):2");
  EXPECT_EQ(ValueAt("\\Report", 0, 0), 1);
  EXPECT_EQ(ValueAt("\\Report", 1, 0), 2);
  const std::string dragged = FormulaAt("\\Report", 0, 0);
  EXPECT_NE(dragged.find("\\F\\A(1)"), std::string::npos) << dragged;
  EXPECT_EQ(FormulaAt("\\Report", 1, 0), typed[1]);
  for (int round = 0; round < 2; ++round) {
    UndoKey('Z');
    EXPECT_EQ(Items(), "Report:1 A:1 F:1 A:2");
    EXPECT_EQ(FormulaAt("\\Report", 0, 0), typed[0]);
    EXPECT_EQ(FormulaAt("\\Report", 1, 0), typed[1]);
    EXPECT_EQ(ValueAt("\\Report", 0, 0), 1);
    EXPECT_EQ(ValueAt("\\Report", 1, 0), 2);
    UndoKey('Y');
    EXPECT_EQ(Items(), "Report:1 F:1 A:2 A(1):2");
    EXPECT_EQ(FormulaAt("\\Report", 0, 0), dragged);
    EXPECT_EQ(ValueAt("\\Report", 0, 0), 1);
  }
  EXPECT_TRUE(g_boxes.empty());
}

// A name holding both quote characters could never be written in a
// formula: refused with a message that says so. A name holding one of them
// is taken, the formula follows it and a formula typed with it reads it;
// Ctrl+Z gives the formula its text back. Blanks alone are no name.
TEST_F(NameStories, NamesAFormulaCannotCarryAreRefused) {
  Worksheet1Reads(1, "='\\Worksheet3'!A1+1", 100);

  Rename("\\Worksheet3", "it's \"x\"");
  EXPECT_EQ(g_boxes, Boxes({kWorkbookPathUnwritable}));
  EXPECT_EQ(LabelText(), "it's \"x\"");
  TypeIntoName("   ");
  EXPECT_EQ(LabelEdit(), nullptr);
  EXPECT_EQ(Items(), "Worksheet1:1 Worksheet2:1 Worksheet3:1");
  Rename("\\Worksheet3", "a\\b");
  EXPECT_EQ(g_boxes, Boxes({kWorkbookPathUnwritable, kWorkbookNameHoldsBackslash}));
  Key(VK_ESCAPE);
  ExpectAsTyped();

  // Blanks around a name are no part of it.
  Rename("\\Worksheet3", "  it's  ");
  EXPECT_EQ(Items(), "Worksheet1:1 Worksheet2:1 it's:1");
  EXPECT_EQ(ValueAt("\\Worksheet1", 0, 1), 100);
  TypeInto("\\Worksheet1", 0, 2, "=\"\\it's\"!A1*2");
  EXPECT_EQ(ValueAt("\\Worksheet1", 0, 2), 198);
  UndoKey('Z');
  UndoKey('Z');
  ExpectAsTyped();
  EXPECT_EQ(g_boxes.size(), 2u);
}

// F2 with the focus in the tree edits the selected item's name, as Enter
// does there; the active cell keeps its text and no cell editor opens. On
// the root, which keeps its name, F2 does nothing.
TEST_F(NameStories, F2InTheTreeEditsTheItemsNameNeverACell) {
  NewShownDocument();
  TypeInto("\\Worksheet1", 0, 0, "keep");
  SelectItem("\\Worksheet1");
  ASSERT_EQ(::GetFocus(), doc->m_tree.m_hWnd);
  Key(VK_F2);
  ASSERT_NE(LabelEdit(), nullptr);
  EXPECT_EQ(::GetFocus(), LabelEdit());
  EXPECT_EQ(doc->m_editing, kEditIdle);
  Type("Sales");
  Key(VK_RETURN);
  EXPECT_EQ(Items(), "Sales:1");
  EXPECT_EQ(doc->m_editing, kEditIdle);
  EXPECT_EQ(TextAt(*doc->Workbook(), 0, 0), "keep");

  Key(VK_HOME);  // the root
  ASSERT_EQ(doc->m_tree.SelectedItem(),
            reinterpret_cast<HTREEITEM>(doc->m_tree.SendMessage(TVM_GETNEXTITEM, TVGN_ROOT, 0)));
  Key(VK_F2);
  EXPECT_EQ(LabelEdit(), nullptr);
  EXPECT_EQ(doc->m_editing, kEditIdle);
  Type("x");
  EXPECT_EQ(doc->m_editing, kEditIdle);
  EXPECT_EQ(TextAt(*doc->Workbook(), 0, 0), "keep");
  EXPECT_EQ(Items(), "Sales:1");
  EXPECT_TRUE(g_boxes.empty());
}

// Renames, a paste and drags among items of the same names, each undone
// and redone: after every step every formula reads the worksheet it read,
// no folder holds two items of one name, and each undo gives every formula
// the text it had before the step.
TEST_F(NameStories, RenamesPastesAndDragsAmongSameNamesKeepEveryFormula) {
  NewShownDocument();
  Rename("\\Worksheet1", "Report");
  NewItem(ID_NEW_WORKSHEET, "A");
  NewItem(ID_NEW_FOLDER, "F");
  NewItem(ID_NEW_WORKSHEET, "A");
  SelectItem("\\Report");
  NewItem(ID_NEW_WORKSHEET, "B");
  ASSERT_EQ(Items(), "Report:1 A:1 F:1 A:2 B:1");
  TypeInto("\\A", 0, 0, "1");
  TypeInto("\\F\\A", 0, 0, "2");
  TypeInto("\\B", 0, 0, "3");
  TypeInto("\\Report", 0, 0, "='\\A'!A1");
  TypeInto("\\Report", 1, 0, "='\\f\\a'!A1");
  TypeInto("\\Report", 2, 0, "='a'!A1+0");  // beside it, by its name alone
  TypeInto("\\Report", 3, 0, "='\\B'!A1");
  const double values[] = {1, 2, 1, 3};
  const auto texts = [&]() {
    std::vector<std::string> out;
    for (uint32_t row = 0; row < 4; ++row) out.push_back(FormulaAt("\\Report", row, 0));
    return out;
  };
  const auto expectSound = [&](const char* when) {
    SCOPED_TRACE(when);
    for (uint32_t row = 0; row < 4; ++row)
      EXPECT_EQ(ValueAt("\\Report", row, 0), values[row]) << FormulaAt("\\Report", row, 0);
    EXPECT_TRUE(SiblingsNamedApart()) << Items();
  };
  const auto step = [&](const char* what, const std::string& items, auto edit) {
    SCOPED_TRACE(what);
    const std::vector<std::string> before = texts();
    const std::string itemsBefore = Items();
    edit();
    EXPECT_EQ(Items(), items);
    expectSound("done");
    const std::vector<std::string> after = texts();
    UndoKey('Z');
    EXPECT_EQ(Items(), itemsBefore);
    EXPECT_EQ(texts(), before);
    expectSound("undone");
    UndoKey('Y');
    EXPECT_EQ(Items(), items);
    EXPECT_EQ(texts(), after);
    expectSound("redone");
  };
  const std::vector<std::string> typed = texts();
  expectSound("typed");

  step("B renamed G", "Report:1 A:1 F:1 A:2 G:1", [&] {
    Rename("\\B", "A");
    EXPECT_EQ(g_boxes, Boxes({kWorkbookNameTaken}));
    TypeIntoName("G");
  });
  step("F's A copied and pasted beside the root's A", "Report:1 A(1):1 A:1 F:1 A:2 G:1", [&] {
    SelectItem("\\F\\A");
    Key('C', VK_CONTROL);
    SelectItem("\\A");
    Key('V', VK_CONTROL);
  });
  step("the root's A dragged into F", "Report:1 A(1):1 F:1 A:2 A(1):2 G:1", [&] { Drag("\\A", "\\F"); });
  step("the pasted A(1) dragged into F", "Report:1 F:1 A:2 A(1):2 A(2):2 G:1",
       [&] { Drag("\\A(1)", "\\F"); });
  step("F's A(1) renamed C", "Report:1 F:1 A:2 C:2 A(2):2 G:1", [&] {
    Rename("\\F\\A(1)", "a(2)");
    EXPECT_EQ(g_boxes.size(), 2u);
    TypeIntoName("C");
  });
  EXPECT_NE(texts()[0].find("\\F\\C"), std::string::npos) << texts()[0];
  for (int undo = 0; undo < 5; ++undo) UndoKey('Z');
  EXPECT_EQ(Items(), "Report:1 A:1 F:1 A:2 B:1");
  EXPECT_EQ(texts(), typed);
  expectSound("all undone");
  EXPECT_EQ(g_boxes, Boxes({kWorkbookNameTaken, kWorkbookNameTaken}));
}

// Worksheet1's B7 names \A eight times. Renaming A to 127 Ms would make
// that formula longer than a formula may be: refused with a message, the
// name left open as typed; Esc keeps A and B7 its text and value. So is a
// drag of A into a folder of a long name. A name that leaves the formula
// room is taken, and Ctrl+Z gives the formula its text back.
TEST_F(NameStories, ARenameOrDragAFormulaCouldNotFollowIsRefused) {
  NewShownDocument();
  NewItem(ID_NEW_WORKSHEET, "A");
  const std::string longFolder(127, 'F');
  NewItem(ID_NEW_FOLDER, longFolder.c_str());
  ASSERT_EQ(Items(), "Worksheet1:1 A:1 " + longFolder + ":1");
  TypeInto("\\A", 0, 0, "3");
  TypeInto("\\Worksheet1", 6, 1, "=\\A!A1+\\A!A1+\\A!A1+\\A!A1+\\A!A1+\\A!A1+\\A!A1+\\A!A1");
  ASSERT_EQ(ValueAt("\\Worksheet1", 6, 1), 24);
  const std::string typed = FormulaAt("\\Worksheet1", 6, 1);
  const int32_t before = doc->Workbook()->undoHistory.Current();
  const auto expectAsTyped = [&]() {
    EXPECT_EQ(Items(), "Worksheet1:1 A:1 " + longFolder + ":1");
    EXPECT_EQ(FormulaAt("\\Worksheet1", 6, 1), typed);
    EXPECT_EQ(ValueAt("\\Worksheet1", 6, 1), 24);
    EXPECT_EQ(doc->Workbook()->undoHistory.Current(), before);
  };

  const std::string ms(127, 'M');
  Rename("\\A", ms.c_str());
  EXPECT_EQ(g_boxes, Boxes({kWorkbookFormulaTooLong}));
  ASSERT_NE(LabelEdit(), nullptr);
  EXPECT_EQ(::GetFocus(), LabelEdit());
  EXPECT_EQ(LabelText(), ms);
  Key(VK_ESCAPE);
  EXPECT_EQ(LabelEdit(), nullptr);
  expectAsTyped();

  DragByLabelStarts("\\A", ("\\" + longFolder).c_str());
  EXPECT_EQ(g_boxes, Boxes({kWorkbookFormulaTooLong, kWorkbookFormulaTooLong}));
  expectAsTyped();

  const std::string shorter(100, 'M');
  Rename("\\A", shorter.c_str());
  EXPECT_EQ(Items(), "Worksheet1:1 " + shorter + ":1 " + longFolder + ":1");
  EXPECT_EQ(ValueAt("\\Worksheet1", 6, 1), 24);
  EXPECT_NE(FormulaAt("\\Worksheet1", 6, 1).find("\\" + shorter + "!"), std::string::npos);
  UndoKey('Z');
  expectAsTyped();
  EXPECT_EQ(g_boxes.size(), 2u);
}

// Folders F (127 Fs) and G inside it, and a worksheet Deep inside G: the
// tree gives no path longer than a formula can name before any reference.
// G renamed to 117 Gs, or one G past the longest, is refused with a message
// that says why and the name stays open; so are a longer name for Deep, a
// worksheet dragged in with a longer name and a new worksheet there. At the
// longest path taken, a formula typed naming Deep reads it, shows the path
// in A1 and stays a formula through F2 and Enter; one typed naming a longer
// path is kept as text with a message that says why.
TEST_F(NameStories, NoPathIsLongerThanAFormulaCanName) {
  ASSERT_TRUE(InstallFunctionLibrary());  // as the program does at start-up
  NewShownDocument();
  NewItem(ID_NEW_WORKSHEET, "Outside name of twenty");
  const std::string f(127, 'F');
  const std::string g(kLongestNameablePath - 1 - f.size() - 1 - 1 - 4, 'G');  // Deep's path at the longest
  SelectItem("\\Worksheet1");
  NewItem(ID_NEW_FOLDER, f.c_str());
  NewItem(ID_NEW_FOLDER, "G");  // inside F, which is selected
  NewItem(ID_NEW_WORKSHEET, "Deep");
  ASSERT_EQ(Items(), "Worksheet1:1 Outside name of twenty:1 " + f + ":1 G:2 Deep:3");
  const std::string longG = std::string(117, 'G');
  Rename(("\\" + f + "\\G").c_str(), longG.c_str());
  EXPECT_EQ(g_boxes, Boxes({kWorkbookPathTooLong}));
  EXPECT_NE(std::string(g_boxes[0]).find(std::to_string(kLongestNameablePath)), std::string::npos);
  ASSERT_NE(LabelEdit(), nullptr);
  EXPECT_EQ(LabelText(), longG);
  TypeIntoName((g + "G").c_str());
  EXPECT_EQ(g_boxes, Boxes({kWorkbookPathTooLong, kWorkbookPathTooLong}));
  TypeIntoName(g.c_str());
  EXPECT_EQ(LabelEdit(), nullptr);
  const std::string folders = "\\" + f + "\\" + g;
  const std::string deep = folders + "\\Deep";
  ASSERT_EQ(deep.size(), kLongestNameablePath);
  const std::string items = "Worksheet1:1 Outside name of twenty:1 " + f + ":1 " + g + ":2 Deep:3";
  ASSERT_EQ(Items(), items);

  Rename(deep.c_str(), "Deeper");
  EXPECT_EQ(g_boxes.size(), 3u);
  Key(VK_ESCAPE);
  DragByLabelStarts("\\Outside name of twenty", folders.c_str());
  EXPECT_EQ(g_boxes.size(), 4u);
  SelectItem(folders.c_str());
  Command(doc, ID_NEW_WORKSHEET);
  EXPECT_EQ(LabelEdit(), nullptr);
  EXPECT_EQ(g_boxes, std::vector<std::string>(5, GetErrorText(kWorkbookPathTooLong)));
  EXPECT_EQ(Items(), items);

  TypeInto(deep.c_str(), 0, 0, "5");
  TypeInto(deep.c_str(), 1, 1, "7");
  TypeInto("\\Worksheet1", 3, 1, ("=SUM('" + deep + "'!A1:B2)").c_str());
  EXPECT_EQ(ValueAt("\\Worksheet1", 3, 1), 12) << FormulaAt("\\Worksheet1", 3, 1);
  const std::string stored = FormulaAt("\\Worksheet1", 3, 1);
  SelectItem("\\Worksheet1");
  FocusCell(doc, 3, 1);
  Key(VK_F2);
  char shown[kFormulaTextCapacity + 1] = {};
  doc->m_view[0].m_editor.GetWindowText(shown, sizeof shown);
  EXPECT_EQ(std::string(shown), "=SUM(\"" + deep + "\"!A1:B2)");
  Key(VK_RETURN);
  EXPECT_EQ(FormulaAt("\\Worksheet1", 3, 1), stored);
  EXPECT_EQ(ValueAt("\\Worksheet1", 3, 1), 12);
  EXPECT_EQ(g_boxes.size(), 5u);

  // A formula typed naming a path of 251 characters, which no formula can
  // hold before a reference, is kept as typed, and the user is told why.
  const std::string beyond = "='\\" + f + "\\" + longG + "\\Deep'!A1";
  TypeInto("\\Worksheet1", 5, 1, beyond.c_str());
  EXPECT_EQ(g_boxes.size(), 6u);
  EXPECT_EQ(g_boxes.back(), GetErrorText(kWorkbookQualifiedRefTooLong));
  EXPECT_EQ(FormulaAt("\\Worksheet1", 5, 1), "-");
  CWorkSheet* sheet = CWorkSheet::FromItem(Item("\\Worksheet1"));
  const CellRecord* kept = sheet->cells.GetCell(5, 1);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(std::string(kept->Text(), kept->TextLength()), beyond);
}

// Renamed in the tree, Worksheet2 is named by its path in Worksheet1's
// formula, kept bare and shown quoted, with A1 references that may be
// longer than the R1C1 ones kept. A name that would make the formula show
// longer than 1024 characters, though it would be kept in fewer, is
// refused with a message, since F2 and Enter would turn the formula into a
// text; the name is left open as typed and Esc keeps the formula as typed.
// The longest name the formula leaves room for is taken, and the formula
// stays the same formula through F2 and Enter.
TEST_F(NameStories, ARenameAFormulaWouldShowTooLongForIsRefused) {
  const struct {
    const char* what;
    uint32_t row;
    uint16_t column;
    const char* first;  // typed, then each of the others
    const char* other;
    int others;
    int paths;  // the terms naming Worksheet2, whose A1 holds 3
    size_t longestName;
    size_t storedThen, shownThen;  // with a name one longer
  } cases[] = {
      // Quotes alone: 43 * (n + 5) kept, 43 * (n + 7) shown.
      {"43 paths", 0, 0, "=Worksheet2!A1", "+Worksheet2!A1", 42, 43, 16, 946, 1032},
      // B1000001 is kept as "R[1]C": 618 + n kept, 907 + n shown.
      {"one path", 999999, 1, "=Worksheet2!A1", "+B1000001", 100, 1, 117, 736, 1025},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    NewShownDocument();
    g_boxes.clear();
    NewItem(ID_NEW_WORKSHEET, "Worksheet2");
    TypeInto("\\Worksheet2", 0, 0, "3");
    std::string formula = c.first;
    for (int i = 0; i < c.others; ++i) formula += c.other;
    TypeInto("\\Worksheet1", c.row, c.column, formula.c_str());
    ASSERT_EQ(ValueAt("\\Worksheet1", c.row, c.column), 3 * c.paths);
    const std::string typed = FormulaAt("\\Worksheet1", c.row, c.column);
    const int32_t before = doc->Workbook()->undoHistory.Current();

    const std::string tooLong(c.longestName + 1, 'N');
    Rename("\\Worksheet2", tooLong.c_str());
    EXPECT_EQ(g_boxes, Boxes({kWorkbookFormulaTooLong}));
    ASSERT_NE(LabelEdit(), nullptr);
    EXPECT_EQ(LabelText(), tooLong);
    Key(VK_ESCAPE);
    EXPECT_EQ(Items(), "Worksheet1:1 Worksheet2:1");
    EXPECT_EQ(FormulaAt("\\Worksheet1", c.row, c.column), typed);
    EXPECT_EQ(doc->Workbook()->undoHistory.Current(), before);

    const std::string longest(c.longestName, 'N');
    Rename("\\Worksheet2", longest.c_str());
    EXPECT_EQ(Items(), "Worksheet1:1 " + longest + ":1");
    const std::string kept = FormulaAt("\\Worksheet1", c.row, c.column);
    const std::string shown = ShownInEditor("\\Worksheet1", c.row, c.column);
    EXPECT_EQ(shown.rfind("=\"\\" + longest + "\"!A1+", 0), 0u) << shown;
    // A name one longer adds a character a path to either text.
    EXPECT_EQ(kept.size() + c.paths, c.storedThen);
    EXPECT_EQ(shown.size() + c.paths, c.shownThen);
    Key(VK_RETURN);
    EXPECT_NE(FormulaAt("\\Worksheet1", c.row, c.column), "-");
    EXPECT_EQ(ValueAt("\\Worksheet1", c.row, c.column), 3 * c.paths);
    EXPECT_EQ(ShownInEditor("\\Worksheet1", c.row, c.column), shown);
    Key(VK_ESCAPE);
    EXPECT_EQ(g_boxes.size(), 1u);
  }
}

}  // namespace
