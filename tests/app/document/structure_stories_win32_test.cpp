// Stories of a user who removes a row and takes it back, and who moves a
// worksheet with a chart into a folder, and who keeps totals above their
// data, told through the real document window with its keys, its commands
// and its tree: nothing is lost, every reference keeps working, and no
// message box interrupts a recalculation.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/tree/tree_edits.h"
#include "core/edit/cell_input.h"
#include "numerics/numeric_function_table.h"
#include "core/model/chart_record.h"
#include "tests/app/document/document_window_fixture.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

class StructureStories : public DocumentEditingTest {
 protected:
  std::string FormulaAt(CWorkSheet* sheet, uint32_t row, uint16_t column) {
    const CellRecord* cell = sheet->cells.GetCell(row, column);
    return cell && cell->IsFormula() ? std::string(cell->FormulaText(), cell->FormulaLength()) : "-";
  }
  double ValueAt(CWorkSheet* sheet, uint32_t row, uint16_t column) {
    const CellRecord* cell = sheet->cells.GetCell(row, column);
    if (!cell || cell->ErrorCode()) return -1;
    return cell->IsFormula() ? cell->CachedNumber() : cell->Number();
  }
  // Typed into the cell as the keyboard types it, ended with Enter.
  void TypeInto(CChildFrame* doc, uint32_t row, uint32_t column, const char* text) {
    FocusCell(doc, row, column);
    Type(text);
    Key(VK_RETURN);
  }
};

TEST_F(StructureStories, UndoOfARowRemovalGivesBackTheFormulasItRewrote) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  CWorkSheet* sheet = doc->Workbook()->activeWorksheet;
  TypeInto(doc, 0, 0, "5");
  TypeInto(doc, 1, 0, "7");
  TypeInto(doc, 1, 1, "=A1*2");
  ASSERT_EQ(ValueAt(sheet, 1, 1), 10);
  const std::string formula = FormulaAt(sheet, 1, 1);

  FocusCell(doc, 0, 0);
  Key('R', VK_CONTROL, VK_SHIFT);
  EXPECT_EQ(FormulaAt(sheet, 0, 1), "=#REF!*2");
  Key('Z', VK_CONTROL);
  EXPECT_EQ(ValueAt(sheet, 0, 0), 5);
  EXPECT_EQ(FormulaAt(sheet, 1, 1), formula);
  EXPECT_EQ(ValueAt(sheet, 1, 1), 10);
  Key('Y', VK_CONTROL);
  EXPECT_EQ(FormulaAt(sheet, 0, 1), "=#REF!*2");
  Key('Z', VK_CONTROL);
  EXPECT_EQ(FormulaAt(sheet, 1, 1), formula);
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(StructureStories, AWorksheetMovedIntoAFolderKeepsItsChartAndItsReaders) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  CWorkBook& book = *doc->Workbook();
  CWorkSheet* sheet = book.activeWorksheet;
  Command(doc, ID_NEW_FOLDER);
  doc->m_tree.SendMessage(TVM_ENDEDITLABELNOW, TRUE, 0);
  Command(doc, ID_NEW_WORKSHEET);
  doc->m_tree.SendMessage(TVM_ENDEDITLABELNOW, TRUE, 0);
  CWorkSheet* reader = CWorkSheet::FromItem(book.firstItem->next->next);
  ASSERT_NE(reader, nullptr);

  // Worksheet1 takes two numbers and a chart of them.
  book.activeWorksheet = sheet;
  TypeInto(doc, 0, 0, "12");
  TypeInto(doc, 1, 0, "30");
  doc->SelectRange(SelectionRange{0, 0, 0, 1});
  Command(doc, ID_INSERT_CHART_2D);
  ASSERT_NE(doc->m_chartEditor.m_hWnd, nullptr);
  SendMessageA(doc->m_chartEditor.m_hWnd, WM_COMMAND, ID_CHART_APPLY, 0);
  Pump();
  SendMessageA(doc->m_chartEditor.m_hWnd, WM_CLOSE, 0, 0);
  Pump();
  ASSERT_NE(sheet->containers, nullptr);
  ChartRecord* chart = sheet->containers->items[0].chart;
  ASSERT_NE(chart, nullptr);
  ASSERT_EQ(chart->seriesLists[0].points.Count(), 2u);

  // Another worksheet reads it by its full path.
  book.activeWorksheet = reader;
  TypeInto(doc, 0, 0, "=\\Worksheet1!A2*2");
  ASSERT_EQ(ValueAt(reader, 0, 0), 60);

  // The drop moves Worksheet1 into Folder1, as the tree's drag ends.
  TreeDrop drop{};
  ASSERT_TRUE(DropTreeItem(&book, sheet, book.FindItemByPath("\\Folder1"), &drop));
  ASSERT_TRUE(RecordTreeDrop(&book, &drop));
  doc->FillTree();
  Key(VK_F9);
  EXPECT_EQ(ValueAt(reader, 0, 0), 60);
  EXPECT_EQ(chart->error, 0);
  EXPECT_EQ(chart->seriesLists[0].points.Count(), 2u);
  EXPECT_NE(std::string(chart->series[0].dataArray).find("\\Folder1\\Worksheet1"), std::string::npos)
      << chart->series[0].dataArray;

  // Undo puts it back at the root, and everything still reads it.
  Command(doc, ID_EDIT_UNDO);
  Key(VK_F9);
  EXPECT_EQ(ValueAt(reader, 0, 0), 60);
  EXPECT_EQ(chart->error, 0);
  // The saved file opens with its chart whole.
  CChildFrame* reopened = SaveCloseAndReopen(doc, ID_FILE_SAVE_AS, "w32_structure_chart.tlv");
  ASSERT_NE(reopened, nullptr);
  CWorkSheet* loaded = CWorkSheet::FromItem(reopened->Workbook()->FindItemByPath("\\Worksheet1"));
  ASSERT_NE(loaded, nullptr);
  ASSERT_NE(loaded->containers, nullptr);
  EXPECT_EQ(loaded->containers->items[0].chart->error, 0);
  EXPECT_TRUE(g_boxes.empty()) << g_boxes.front();
}

// Rows that would make a formula longer than a formula may be are refused
// with a message that says so, and nothing moves.
TEST_F(StructureStories, RowsThatWouldMakeAFormulaTooLongAreRefusedWithAMessage) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  CWorkBook& book = *doc->Workbook();
  CWorkSheet* sheet = book.activeWorksheet;
  // Stored as "R[9]C" each, 1020 characters, one character more each once a
  // row comes between.
  std::string formula = "=A10";
  for (int i = 1; i < 170; ++i) formula += "+A10";
  alignas(8) uint8_t record[kCellInputCapacity];
  NumFormatParams format{};
  const uint32_t size = CWorkSheet::ParseCellInput(&book, formula.c_str(), &format, 0, 0, record, sizeof record);
  ASSERT_NE(size, 0u);
  ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
  const std::string stored = FormulaAt(sheet, 0, 0);
  ASSERT_GT(stored.size(), 1000u);

  FocusCell(doc, 4, 1);
  Key('R', VK_CONTROL);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "A formula would become longer than 1024 characters");
  EXPECT_EQ(FormulaAt(sheet, 0, 0), stored);
}

// Totals above the columns they read, the layout a pass meets before their
// inputs: F9 and an edit give the totals the plain way gives, and take the
// cells the totals read in one evaluation each.
TEST_F(StructureStories, TotalsAboveTheirColumnsRecalculateOnF9AndAfterAnEdit) {
  // As the program does at start-up.
  ASSERT_TRUE(InstallFunctionLibrary());
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  CWorkBook& book = *doc->Workbook();
  CWorkSheet* sheet = book.activeWorksheet;
  constexpr uint32_t kRows = 300;
  // The data as a pasted block would leave it: numbers in A, formulas in B.
  for (uint32_t r = 1; r <= kRows; ++r)
    for (uint16_t c = 0; c < 2; ++c) {
      char text[32];
      std::snprintf(text, sizeof text, c == 0 ? "%u" : "=A%u*2", c == 0 ? r : r + 1);
      alignas(8) uint8_t record[kCellInputCapacity];
      NumFormatParams format{};
      const uint32_t size = CWorkSheet::ParseCellInput(&book, text, &format, r, c, record, sizeof record);
      ASSERT_NE(size, 0u);
      ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
    }
  TypeInto(doc, 0, 2, "=SUM(B2:B301)");
  TypeInto(doc, 0, 3, "=COUNTIF(B:B,\">100\")");
  // Totals whose walks read every value, and a lookup that stops at its match.
  TypeInto(doc, 0, 4, "=STDEV(B2:B301)");
  TypeInto(doc, 0, 5, "=MEDIAN(B:B)");
  TypeInto(doc, 0, 6, "=VLOOKUP(600,B2:B301,1,FALSE)");
  Key(VK_F9);
  EXPECT_EQ(ValueAt(sheet, 0, 2), double(kRows) * (kRows + 1));
  EXPECT_EQ(ValueAt(sheet, 0, 3), double(kRows - 50));
  const double stdev = ValueAt(sheet, 0, 4);
  EXPECT_NEAR(stdev, 2 * std::sqrt(kRows * (kRows + 1) / 12.0), 1e-9);
  EXPECT_EQ(ValueAt(sheet, 0, 5), 301.0);
  EXPECT_EQ(ValueAt(sheet, 0, 6), 600.0);
  EXPECT_GT(book.evaluator.pendingGather.TakenCount(), 250u);

  TypeInto(doc, 1, 0, "1001");
  EXPECT_EQ(ValueAt(sheet, 0, 2), double(kRows) * (kRows + 1) + 2000);
  EXPECT_EQ(ValueAt(sheet, 0, 3), double(kRows - 50) + 1);
  const double edited = ValueAt(sheet, 0, 4);
  EXPECT_EQ(ValueAt(sheet, 0, 5), 303.0);
  EXPECT_EQ(ValueAt(sheet, 0, 6), 600.0);
  // The plain way, each total evaluated again for every cell it waited for.
  book.evaluator.pendingGather.SetEnabled(false);
  Key(VK_F9);
  EXPECT_EQ(ValueAt(sheet, 0, 2), double(kRows) * (kRows + 1) + 2000);
  EXPECT_EQ(ValueAt(sheet, 0, 3), double(kRows - 50) + 1);
  EXPECT_EQ(ValueAt(sheet, 0, 4), edited);
  EXPECT_EQ(ValueAt(sheet, 0, 5), 303.0);

  // Column B filled anew under the totals, every value changed: a formula
  // typed in B2, copied, and pasted over the rest of the column.
  book.evaluator.pendingGather.SetEnabled(true);
  const uint64_t takenBefore = book.evaluator.pendingGather.TakenCount();
  TypeInto(doc, 1, 1, "=A2*3");
  FocusCell(doc, 1, 1);
  Key('C', VK_CONTROL);
  // B3:B301 selected, as a drag over them leaves it.
  SpanSelection(&doc->GetActiveView()->m_selection, 1, 2, 1, kRows);
  Key('V', VK_CONTROL);
  ASSERT_EQ(FormulaAt(sheet, kRows, 1), "=RC[-1]*3");
  const double sumOfA = double(kRows) * (kRows + 1) / 2 + 1000;
  EXPECT_EQ(ValueAt(sheet, 0, 2), 3 * sumOfA);
  EXPECT_EQ(ValueAt(sheet, 0, 5), 454.5);
  EXPECT_EQ(ValueAt(sheet, 0, 6), 600.0);
  EXPECT_GT(book.evaluator.pendingGather.TakenCount(), takenBefore + 250);
  double filled[5];
  for (uint16_t c = 0; c < 5; ++c) filled[c] = ValueAt(sheet, 0, uint16_t(2 + c));
  book.evaluator.pendingGather.SetEnabled(false);
  Key(VK_F9);
  for (uint16_t c = 0; c < 5; ++c) EXPECT_EQ(ValueAt(sheet, 0, uint16_t(2 + c)), filled[c]) << "column " << c + 2;
}

}  // namespace
