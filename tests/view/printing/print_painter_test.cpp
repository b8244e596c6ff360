#include "view/printing/print_painter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "core/edit/cell_input.h"
#include "core/model/worksheet_view_state.h"
#include "core/workbook/workbook.h"
#include "tests/core/generic_locale_test.h"
#include "tests/view/painting/recording_surface.h"
#include "view/geometry/sheet_sizes.h"

namespace {

// Columns 40 wide, rows 18 high; the fake measurer's default font makes the
// column headings 20 high and the row headings 28 wide.
class PagePainting : public GenericLocaleTest {
 protected:
  void SetUp() override {
    GenericLocaleTest::SetUp();
    ASSERT_TRUE(book->NewDocument());
    sheet = book->activeWorksheet;
    for (int c = 0; c < 40; ++c) sheet->format.columns[c].SetWidth(40, true);
  }
  void Type(uint32_t row, uint16_t column, const char* text) {
    NumFormatParams format = book->styles.StyleAt(sheet->format.CellStyle(row, column)).numFormat;
    alignas(8) uint8_t record[kCellInputCapacity];
    ASSERT_GT(CWorkSheet::ParseCellInput(book.get(), text, &format, row, column, record, sizeof record), 0u);
    ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
  }
  bool Painted(const char* text) const {
    for (const RecordedOp& op : rec.Of('t'))
      if (op.text == text)
        return true;
    return false;
  }
  RecordedOp RunOf(const char* text) const {
    for (const RecordedOp& op : rec.Of('t'))
      if (op.text == text)
        return op;
    ADD_FAILURE() << "no run " << text;
    return {};
  }

  std::unique_ptr<CWorkBook> book = std::make_unique<CWorkBook>();
  CWorkSheet* sheet = nullptr;
  RecordingSurface rec{400, 300};
  PrintPainter painter{book.get()};
};

TEST_F(PagePainting, FrozenRowHeadsThePageAndExcludedRowsAreNeverPainted) {
  WorksheetViewState* state = ViewStateOf(&sheet->viewFormat);
  state->frozen.flags = kCornerRowGiven;
  state->frozen.row = 0;
  std::strcpy(sheet->pageSettings.excludedRows, "2-3");
  Type(0, 0, "top");
  Type(1, 0, "two");
  Type(2, 0, "three");
  Type(3, 0, "four");
  PageRecord page = {};
  page.firstRow = 0;
  page.lastRow = 3;
  const PixelRect target = {10, 10, 300, 250};
  painter.PaintPage(rec.Surface(), target, sheet, page, {100, 100}, true);

  int topRuns = 0;
  for (const RecordedOp& op : rec.Of('t')) topRuns += op.text == "top";
  EXPECT_EQ(topRuns, 1);  // the frozen row is not painted again among the page's rows
  EXPECT_FALSE(Painted("two"));
  EXPECT_FALSE(Painted("three"));
  // Row 1 under the column headings, once; row 4 right below it.
  const int32_t firstCellTop = target.top - 1 + 20 + 1 + 1;
  EXPECT_EQ(RunOf("top").clip.top, firstCellTop);
  EXPECT_EQ(RunOf("four").clip.top, firstCellTop + 19);
  int rowLabels = 0;
  for (const RecordedOp& op : rec.Of('h')) {
    EXPECT_NE(op.text, "2");
    EXPECT_NE(op.text, "3");
    rowLabels += op.text == "1" || op.text == "4";
  }
  EXPECT_EQ(rowLabels, 2);
  // Nothing is drawn outside the page.
  for (const RecordedOp& op : rec.ops) {
    EXPECT_GE(op.clip.left, target.left);
    EXPECT_LE(op.clip.right, target.right);
  }
}

TEST_F(PagePainting, ExcludedColumnTakesNoRoomAndGridUsesWindowTextColour) {
  std::strcpy(sheet->pageSettings.excludedColumns, "2");
  sheet->pageSettings.rowHeadings = 0;
  sheet->pageSettings.columnHeadings = 0;
  Type(0, 0, "a");
  Type(0, 1, "b");
  Type(0, 2, "c");
  PageRecord page = {};
  page.lastColumn = 2;
  painter.PaintPage(rec.Surface(), {0, 0, 200, 100}, sheet, page, {100, 100}, true);
  EXPECT_FALSE(Painted("b"));
  // Column C follows column A directly: A is 1..40 after the grid line at 0.
  EXPECT_EQ(RunOf("c").clip.left, 42);
  bool windowTextGrid = false;
  for (const RecordedOp& op : rec.Of('f'))
    windowTextGrid = windowTextGrid || op.colour == GetSchemeColor(kSchemeWindowText);
  EXPECT_TRUE(windowTextGrid);
}

}  // namespace
