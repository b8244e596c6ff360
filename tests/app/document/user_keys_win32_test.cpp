// What a user meets with the keys of a new workbook: each story types into
// the real document window through the frame's message filter and
// accelerators and looks at the workbook afterwards.

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/numfmt/regional_settings.h"
#include "services/ui_services/help_topics.h"
#include "tests/app/document/document_window_fixture.h"
#include "tests/platform/ui/windows/ui_test_support.h"

namespace {

class UserKeys : public DocumentEditingTest {};

// Cut is a copy and then a deletion, whichever way it is given.
TEST_F(UserKeys, ControlXCutsTheCell) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  CWorkBook& book = *doc->Workbook();
  FocusCell(doc, 0, 0);
  Type("7");
  Key(VK_RETURN);
  FocusCell(doc, 0, 0);
  Key('X', VK_CONTROL);
  EXPECT_EQ(book.activeWorksheet->cells.GetCell(0, 0), nullptr) << "the cut cell stays";
  FocusCell(doc, 1, 0);
  Key('V', VK_CONTROL);
  EXPECT_EQ(NumberAt(book, 1, 0), 7);
  EXPECT_TRUE(g_boxes.empty());
}

// F8 carries a series on from its two first cells; where it passes the
// largest number the cells hold the overflow error, never an infinity.
TEST_F(UserKeys, F8PastTheLargestNumberGivesTheOverflowError) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  CWorkBook& book = *doc->Workbook();
  const std::string second = std::string("1") + CurrentRegionalSettings().decimalSeparator + "5e308";
  FocusCell(doc, 0, 0);
  Type("1e308");
  Key(VK_RETURN);
  FocusCell(doc, 1, 0);
  Type(second.c_str());
  Key(VK_RETURN);
  // A1:A6 selected as the keyboard does it: Shift pressed, Down five
  // times, Shift let go.
  FocusCell(doc, 0, 0);
  Hold(VK_SHIFT);
  PostMessageA(GetFocus(), WM_KEYDOWN, VK_SHIFT, 1);
  Pump();
  for (int i = 0; i < 5; ++i) Key(VK_DOWN, VK_SHIFT);
  PostMessageA(GetFocus(), WM_KEYUP, VK_SHIFT, 0xC0000001);
  Pump();
  const SelectionRange selected = doc->GetActiveView()->Selection();
  ASSERT_EQ(selected.firstRow, 0u);
  ASSERT_EQ(selected.lastRow, 5u);
  Key(VK_F8);
  EXPECT_EQ(NumberAt(book, 0, 0), 1e308);
  EXPECT_EQ(NumberAt(book, 1, 0), 1.5e308);
  for (uint32_t row = 2; row < 6; ++row) {
    const CellRecord* cell = book.activeWorksheet->cells.GetCell(row, 0);
    ASSERT_NE(cell, nullptr) << row;
    EXPECT_EQ(cell->ErrorCode(), kErrorNum) << row;
    EXPECT_TRUE(std::isfinite(cell->Number())) << row;
  }
  EXPECT_TRUE(doc->IsModified());
  EXPECT_TRUE(g_boxes.empty());
}

// The panes of a new workbook open at a size to work with.
TEST_F(UserKeys, PanesOfANewWorkbookOpenWide) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  CWorkBook& book = *doc->Workbook();
  ASSERT_EQ(book.panes.treePaneWidth, 0);
  for (UINT command : {ID_VIEW_TREE, ID_VIEW_INSPECT}) {
    if ((command == ID_VIEW_TREE ? book.panes.treePaneVisible : book.panes.inspectPaneVisible) != 0)
      Command(doc, command);
    Command(doc, command);
  }
  RECT tree{};
  GetWindowRect(doc->m_paneTree, &tree);
  EXPECT_GE(tree.right - tree.left, 150);
  RECT inspect{};
  GetWindowRect(doc->m_paneInspect, &inspect);
  EXPECT_GE(inspect.bottom - inspect.top, 100);
  SaveClientScreenshot(frame.m_hWnd, "panes_of_a_new_workbook");
}

// F3 is the key of Find & Replace: with the find bar hidden it shows it,
// ready for the text; with the bar shown it finds the next cell.
TEST_F(UserKeys, F3ShowsTheFindBarThenFinds) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  PutText(*doc->Workbook(), 3, 0, "apple");
  ASSERT_FALSE(IsWindowVisible(frame.FindTextCombo()));
  FocusCell(doc, 0, 0);
  Key(VK_F3);
  EXPECT_TRUE(IsWindowVisible(frame.FindTextCombo()));
  SetWindowTextA(frame.FindTextCombo(), "apple");
  FocusCell(doc, 0, 0);
  Key(VK_F3);
  EXPECT_EQ(doc->GetActiveView()->m_selection.currentRow, 3u);
  EXPECT_TRUE(g_boxes.empty());
}

// No help file ships: asking for help says so, every time.
TEST_F(UserKeys, HelpSaysTheHelpFileIsMissing) {
  frame.SendMessage(WM_COMMAND, ID_HELP_CONTENTS, 0);
  Pump();
  frame.SendMessage(WM_COMMAND, ID_SUPPORT, 0);
  Pump();
  EXPECT_EQ(g_boxes, (std::vector<std::string>{kHelpFileMissing, kHelpFileMissing}));
}

// Without a document the commands that work on one are disabled; New and
// Open stay; a new document brings them back.
TEST_F(UserKeys, CommandsThatNeedADocumentAreDisabledWithoutOne) {
  const auto enabled = [&](UINT command) {
    const UpdateUIEntry* entry = frame.UITable().Find(static_cast<uint16_t>(command));
    return entry != nullptr && entry->disabled == 0;
  };
  Pump();
  for (UINT command : {ID_EDIT_CLEAR, ID_EDIT_SELECT_ALL, ID_TRANSPOSE, ID_CONVERT_FORMULAS, ID_INCREMENT_VALUE,
                       ID_FILE_SAVE, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FORMAT_CELLS})
    EXPECT_FALSE(enabled(command)) << command;
  EXPECT_TRUE(enabled(ID_FILE_NEW));
  EXPECT_TRUE(enabled(ID_OPTIONS));
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  Pump();
  EXPECT_TRUE(enabled(ID_EDIT_CLEAR));
  EXPECT_TRUE(enabled(ID_FILE_SAVE));
  Command(doc, ID_FILE_CLOSE);
  Pump();
  EXPECT_FALSE(enabled(ID_EDIT_CLEAR));
}

// A document window closed maximised leaves the next one maximised too.
TEST_F(UserKeys, TheNextDocumentOpensMaximisedAfterAMaximisedOneCloses) {
  Options.MaximizeDocWindow = 1;
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  ASSERT_TRUE(IsZoomed(doc->m_hWnd));
  Command(doc, ID_FILE_CLOSE);
  EXPECT_EQ(Options.MaximizeDocWindow, 1);
  CChildFrame* next = NewDocument();
  ASSERT_NE(next, nullptr);
  EXPECT_TRUE(IsZoomed(next->m_hWnd));
  EXPECT_NE(Title(frame.m_hWnd), "Talvero");
}

}  // namespace
