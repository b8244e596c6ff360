// The document window's cell commands driven as a user drives them: keys
// through the frame's message filter and accelerators, and menu commands
// through the frame, with the message boxes answered by the test.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/document/document_window_fixture.h"
#include "core/base/global_options.h"
#include "core/generic_locale_test.h"
#include "core/model/worksheet_view_state.h"
#include "core/sheet_bytes.h"
#include "core/workbook/workbook.h"
#include "platform/os_services.h"
#include "services/messages/error_text.h"
#include "view/draw_context/screen_measurer.h"

namespace {

class CellCommandsTest : public DocumentEditingTest {
 protected:
  void SetUp() override {
    DocumentEditingTest::SetUp();
    doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    book = doc->Workbook();
    OsSetClockForTesting(Clock2011);
  }
  void TearDown() override {
    OsSetClockForTesting(nullptr);
    ResetGlobalOptions();
    DocumentEditingTest::TearDown();
  }
  CWorkSheet* Sheet() { return book->activeWorksheet; }
  // The view focused with the range selected, its first cell current.
  void Select(uint32_t firstColumn, uint32_t firstRow, uint32_t lastColumn, uint32_t lastRow) {
    CDocumentView* view = doc->GetActiveView();
    view->m_selection = GridSelection{firstColumn, firstRow, lastColumn, lastRow, 0, firstColumn, firstRow};
    view->SetFocus();
    Pump();
  }
  SelectionRange Selected() { return doc->GetActiveView()->Selection(); }
  // A command as the menus send it: to the frame, which passes it on.
  void MenuCommand(UINT command) {
    frame.SendMessage(WM_COMMAND, command, 0);
    Pump();
  }
  void PutText(uint32_t row, uint16_t column, const char* text) {
    uint8_t record[256];
    ASSERT_NE(BuildTextCell(record, sizeof record, row, column, text, static_cast<uint16_t>(strlen(text))), 0u);
    ASSERT_TRUE(Sheet()->cells.InsertCell(AsCellRecord(record), nullptr));
  }
  void PutFormula(uint32_t row, uint16_t column, const char* stored, double cached) {
    FormulaCellFields fields;
    fields.formula = stored;
    fields.formulaLength = static_cast<uint16_t>(strlen(stored));
    fields.resultFlags = kResultCachedNumber;
    fields.cachedNumber = cached;
    uint8_t record[256];
    ASSERT_NE(BuildFormulaCell(record, sizeof record, row, column, fields), 0u);
    ASSERT_TRUE(Sheet()->cells.InsertCell(AsCellRecord(record), nullptr));
  }
  double CachedAt(CWorkSheet* sheet, uint32_t row, uint16_t column) {
    const CellRecord* cell = sheet->cells.GetCell(row, column);
    return cell != nullptr && cell->IsFormula() ? cell->CachedNumber() : -1;
  }
  // The rows of the used range fitted, as typing would leave them.
  void FitRows() {
    ScreenMeasurer screen;
    ASSERT_TRUE(CWorkSheet::AutoRowHeights(book, screen.Measurer(), Sheet(), 0, 12));
  }

  CChildFrame* doc = nullptr;
  CWorkBook* book = nullptr;
};

// Every command that changes the worksheet leaves one undo step, and Undo
// (Ctrl+Z) puts back every byte of the worksheet.
TEST_F(CellCommandsTest, EachCommandIsOneUndoStepThatUndoPutsBackWhole) {
  struct Case {
    const char* name;
    SelectionRange selection;
    std::function<void()> run;
  };
  const auto command = [&](UINT id) { return [this, id] { MenuCommand(id); }; };
  const auto key = [&](UINT k, int held, int alsoHeld = 0) { return [=] { Key(k, held, alsoHeld); }; };
  const Case cases[] = {
      {"increment", {0, 0, 2, 3}, command(ID_INCREMENT_VALUE)},
      {"decrement", {0, 0, 2, 3}, command(ID_DECREMENT_VALUE)},
      {"formulas to values", {0, 0, 2, 3}, command(ID_CONVERT_FORMULAS)},
      {"numbers to labels", {0, 0, 2, 3}, command(ID_CONVERT_NUMBERS_TO_LABELS)},
      {"uppercase", {0, 0, 2, 3}, command(ID_CONVERT_UPPERCASE)},
      {"first letters uppercase", {0, 0, 2, 3}, command(ID_CONVERT_FIRST_UPPERCASE)},
      {"transpose", {0, 0, 2, 1}, command(ID_TRANSPOSE)},
      {"insert columns", {1, 0, 2, 0}, key('L', VK_CONTROL)},
      {"remove columns", {1, 0, 1, 0}, key('L', VK_CONTROL, VK_SHIFT)},
      {"insert rows", {0, 1, 0, 2}, key('R', VK_CONTROL)},
      {"remove rows", {0, 3, 0, 3}, key('R', VK_CONTROL, VK_SHIFT)},
      {"auto row height", {0, 0, 0, 5}, command(ID_AUTO_ROW_HEIGHT)},
      {"auto column width", {0, 0, 2, 0}, command(ID_AUTO_COLUMN_WIDTH)},
      {"date", {3, 0, 4, 2}, key(VK_F5, 0)},
      {"next month", {3, 0, 3, 0}, command(ID_DATE_NEXT_MONTH)},
      {"data series", {0, 0, 0, 6}, key(VK_F8, 0)},
      {"quick sum", {0, 0, 3, 4}, command(ID_STAT_SUM)},
  };
  for (const Case& c : cases) {
    Sheet()->cells.DeleteRange(0, kMaxColumn, 0, kMaxRow, nullptr, true);
    PutNumber(*book, 0, 0, 1);
    PutNumber(*book, 1, 0, 3);
    PutText(0, 1, "two words");
    PutText(1, 1, "2011-03-09");
    PutFormula(2, 0, "=R[-2]C+R[-1]C", 4);
    PutNumber(*book, 3, 2, 1234.5);
    ASSERT_TRUE(Sheet()->format.rows.SetRow(4, 40, true));
    ASSERT_TRUE(book->Recalculate(nullptr));
    FitRows();
    const std::string before = SheetBytes(Sheet());
    const int32_t steps = book->undoHistory.Current();
    Select(c.selection.firstColumn, c.selection.firstRow, c.selection.lastColumn, c.selection.lastRow);
    c.run();
    EXPECT_TRUE(g_boxes.empty()) << c.name << ": " << (g_boxes.empty() ? "" : g_boxes[0]);
    g_boxes.clear();
    EXPECT_EQ(book->undoHistory.Current(), steps + 1) << c.name;
    EXPECT_NE(SheetBytes(Sheet()), before) << c.name;
    EXPECT_TRUE(doc->IsModified()) << c.name;
    doc->SetModified(false);
    doc->GetActiveView()->SetFocus();
    Key('Z', VK_CONTROL);
    EXPECT_EQ(book->undoHistory.Current(), steps) << c.name;
    EXPECT_EQ(SheetBytes(Sheet()), before) << c.name;
    EXPECT_TRUE(Sheet()->cells.CheckInvariants()) << c.name;
    // Redo (Ctrl+Y) brings the edit back.
    Key('Y', VK_CONTROL);
    EXPECT_EQ(book->undoHistory.Current(), steps + 1) << c.name;
    EXPECT_NE(SheetBytes(Sheet()), before) << c.name;
  }
}

// Removing columns C:D with C5:D9 selected removes the whole columns and
// leaves the selection on C5:C9.
TEST_F(CellCommandsTest, RemovingColumnsRemovesWholeColumnsAndKeepsTheFirst) {
  PutNumber(*book, 0, 2, 3);   // C1
  PutNumber(*book, 20, 3, 4);  // D21
  PutNumber(*book, 7, 4, 5);   // E8
  Select(2, 4, 3, 8);
  Key('L', VK_CONTROL, VK_SHIFT);
  EXPECT_EQ(Sheet()->cells.GetCell(0, 2), nullptr);
  EXPECT_EQ(Sheet()->cells.GetCell(20, 3), nullptr);
  EXPECT_EQ(NumberAt(*book, 7, 2), 5);
  const SelectionRange s = Selected();
  EXPECT_EQ(s.firstColumn, 2u);
  EXPECT_EQ(s.lastColumn, 2u);
  EXPECT_EQ(s.firstRow, 4u);
  EXPECT_EQ(s.lastRow, 8u);
}

// An insertion that would push a cell past the last column is refused with
// error 23, moves nothing and leaves no undo step behind.
TEST_F(CellCommandsTest, RefusedInsertionLeavesNoUndoStep) {
  PutNumber(*book, 3, kMaxColumn, 9);
  PutNumber(*book, 0, 1, 1);
  const std::string before = SheetBytes(Sheet());
  const int32_t steps = book->undoHistory.Current();
  Select(1, 1, 1, 1);
  Key('L', VK_CONTROL);
  EXPECT_EQ(g_boxes, std::vector<std::string>{GetErrorText(kWorkbookNoRoomForColumns)});
  EXPECT_EQ(book->undoHistory.Current(), steps);
  EXPECT_EQ(SheetBytes(Sheet()), before);
  // Undo has nothing of it to take back: the number typed before stays.
  Key('Z', VK_CONTROL);
  EXPECT_EQ(NumberAt(*book, 0, 1), 1);
}

// A worksheet freezes its first visible row or its first visible column,
// never both; the View menu's checks follow.
TEST_F(CellCommandsTest, FrozenRowAndColumnExcludeEachOther) {
  HMENU viewMenu = GetSubMenu(frame.Menu(), 2);
  const auto checked = [&](UINT command) {
    frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(viewMenu), 0);
    return (GetMenuState(viewMenu, command, MF_BYCOMMAND) & MF_CHECKED) != 0;
  };
  CDocumentView* view = doc->GetActiveView();
  view->m_firstColumn = 3;
  view->m_firstRow = 7;
  const ViewCorner& frozen = ViewStateOf(&Sheet()->viewFormat)->frozen;
  const struct {
    UINT command;
    uint8_t flags;
  } steps[] = {
      {ID_LOCK_FIRST_COLUMN, kCornerColumnGiven},
      {ID_LOCK_FIRST_ROW, kCornerRowGiven},  // ends the frozen column
      {ID_LOCK_FIRST_COLUMN, kCornerColumnGiven},
      {ID_LOCK_FIRST_COLUMN, 0},
  };
  for (const auto& step : steps) {
    MenuCommand(step.command);
    EXPECT_EQ(frozen.flags, step.flags) << step.command;
    EXPECT_EQ(checked(ID_LOCK_FIRST_COLUMN), step.flags == kCornerColumnGiven) << step.command;
    EXPECT_EQ(checked(ID_LOCK_FIRST_ROW), step.flags == kCornerRowGiven) << step.command;
  }
  EXPECT_EQ(frozen.column, 3u);
  EXPECT_EQ(frozen.row, 7u);
  EXPECT_TRUE(doc->IsModified());
}

// F9 in a workbook of mode 4 recalculates the active worksheet only; the
// Automatic Updating switch turns the modes of a new workbook and of the
// active-worksheet modes too.
TEST_F(CellCommandsTest, UpdateDataFollowsTheModeAndTheSwitchTurnsEveryMode) {
  CWorkSheet* other = NewWorksheet("Worksheet2", 1);
  ASSERT_NE(other, nullptr);
  book->InsertItems(other, nullptr);
  CWorkSheet* active = Sheet();
  PutNumber(*book, 0, 0, 5);
  PutFormula(0, 1, "=RC[-1]*2", 0);
  book->activeWorksheet = other;
  PutNumber(*book, 0, 0, 7);
  PutFormula(0, 1, "=RC[-1]*2", 0);
  book->activeWorksheet = active;
  book->recalcMode = kUpdateManualActiveSheet;
  Select(0, 0, 0, 0);
  Key(VK_F9);
  EXPECT_EQ(CachedAt(active, 0, 1), 10);
  EXPECT_EQ(CachedAt(other, 0, 1), 0);
  EXPECT_FALSE(doc->IsModified());

  HMENU tools = GetSubMenu(frame.Menu(), 5);
  const auto automatic = [&] {
    frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tools), 5);
    return (GetMenuState(tools, ID_AUTOMATIC_UPDATING, MF_BYCOMMAND) & MF_CHECKED) != 0;
  };
  const struct {
    uint8_t before;
    uint8_t after;
  } switches[] = {
      {0, kUpdateManual},  // a new workbook follows the automatic option
      {kUpdateManual, kUpdateAutomatic},
      {kUpdateManualActiveSheet, kUpdateAutomaticActiveSheet},
      {kUpdateAutomaticActiveSheet, kUpdateManualActiveSheet},
  };
  for (const auto& s : switches) {
    book->recalcMode = s.before;
    MenuCommand(ID_AUTOMATIC_UPDATING);
    EXPECT_EQ(book->recalcMode, s.after) << int(s.before);
    EXPECT_EQ(automatic(), s.after == kUpdateAutomatic || s.after == kUpdateAutomaticActiveSheet) << int(s.before);
  }
}

// A block whose transposed copy would pass the last column is refused with
// its message and stays as it was.
TEST_F(CellCommandsTest, TransposeTooBigIsRefusedWithItsMessage) {
  PutNumber(*book, 0, kMaxColumn - 1, 1);
  const std::string before = SheetBytes(Sheet());
  const int32_t steps = book->undoHistory.Current();
  Select(kMaxColumn - 1, 0, kMaxColumn, 2);
  MenuCommand(ID_TRANSPOSE);
  EXPECT_EQ(g_boxes, std::vector<std::string>{"The selected range can't be transposed.\n"
                                              "The number of transposed columns or rows is too big."});
  EXPECT_EQ(SheetBytes(Sheet()), before);
  EXPECT_EQ(book->undoHistory.Current(), steps);
}

// The date keys and the formula bar's Enter put their text into every
// selected cell.
TEST_F(CellCommandsTest, DatesAndTheFormulaBarFillEverySelectedCell) {
  Select(1, 1, 2, 2);
  Key(VK_F7);
  for (uint32_t row = 1; row <= 2; ++row)
    for (uint16_t column = 1; column <= 2; ++column)
      EXPECT_EQ(TextAt(*book, row, column), "2011-03-09T14:00:00") << row << "," << column;
  Select(0, 0, 0, 3);
  SetWindowTextA(frame.FormulaBar(), "=2*3");
  PostMessageA(frame.FormulaBar(), WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  for (uint32_t row = 0; row <= 3; ++row) EXPECT_EQ(CachedAt(Sheet(), row, 0), 6) << row;
  Select(0, 5, 0, 5);
  MenuCommand(ID_DATE_END_OF_PREVIOUS_MONTH);
  EXPECT_EQ(TextAt(*book, 5, 0), "2011-02-28");
}

// Find steps from cell to cell, from the last column on to the next row,
// and says when no cell is left.
TEST_F(CellCommandsTest, FindStepsOnAndWrapsToTheNextRow) {
  PutText(0, kMaxColumn, "apple");
  PutText(1, 0, "Apple pie");
  PutText(1, 4, "pear");
  MenuCommand(ID_EDIT_FIND);  // shows the find bar
  SetWindowTextA(frame.FindTextCombo(), "apple*");
  Select(5, 0, 5, 0);
  Key(VK_F3);
  EXPECT_EQ(Selected().firstColumn, uint32_t(kMaxColumn));
  EXPECT_EQ(Selected().firstRow, 0u);
  Key(VK_F3);
  EXPECT_EQ(Selected().firstColumn, 0u);
  EXPECT_EQ(Selected().firstRow, 1u);
  EXPECT_TRUE(g_boxes.empty());
  Key(VK_F3);
  EXPECT_EQ(g_boxes, std::vector<std::string>{"No more cells found."});
  EXPECT_EQ(SendMessageA(frame.FindTextCombo(), CB_GETCOUNT, 0, 0), 1);
}

// Shift+Space, Ctrl+Space and Ctrl+A select the row, the column and the
// used range.
TEST_F(CellCommandsTest, SelectingRowsColumnsAndTheUsedRange) {
  Select(1, 1, 3, 3);
  Key(VK_SPACE, VK_SHIFT);
  SelectionRange s = Selected();
  EXPECT_EQ(s.firstRow, 1u);
  EXPECT_EQ(s.lastRow, 1u);
  EXPECT_EQ(s.firstColumn, 0u);
  EXPECT_EQ(s.lastColumn, uint32_t(kMaxColumn));
  Select(2, 4, 3, 5);
  Key(VK_SPACE, VK_CONTROL);
  s = Selected();
  EXPECT_EQ(s.firstColumn, 2u);
  EXPECT_EQ(s.lastColumn, 2u);
  EXPECT_EQ(s.lastRow, kMaxRow);
  Key('A', VK_CONTROL);  // an empty worksheet: the first cell
  s = Selected();
  EXPECT_EQ(s.lastColumn, 0u);
  EXPECT_EQ(s.lastRow, 0u);
  PutNumber(*book, 2, 1, 1);
  PutNumber(*book, 6, 3, 1);
  Key('A', VK_CONTROL);
  s = Selected();
  EXPECT_EQ(s.firstColumn, 1u);
  EXPECT_EQ(s.firstRow, 2u);
  EXPECT_EQ(s.lastColumn, 3u);
  EXPECT_EQ(s.lastRow, 6u);
}

// A quick statistic over a single cell asks for a range and changes
// nothing; a data series without seeds says what it needs.
TEST_F(CellCommandsTest, QuickStatisticsAndSeriesExplainWhatTheyNeed) {
  Select(0, 0, 0, 0);
  MenuCommand(ID_STAT_SUM);
  EXPECT_EQ(g_boxes, std::vector<std::string>{"No cell range selected.\nFor help, press OK."});
  g_boxes.clear();
  Select(0, 0, 0, 4);
  Key(VK_F8);
  EXPECT_EQ(g_boxes, std::vector<std::string>{
                         "Please enter either 1-2 initial elements or the last 1-2 elements of the series."});
  EXPECT_EQ(book->undoHistory.Current(), -1);
  EXPECT_FALSE(doc->IsModified());
}

}  // namespace
