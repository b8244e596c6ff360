#include "view/painting/grid_painter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "core/edit/cell_input.h"
#include "core/workbook/workbook.h"
#include "tests/core/generic_locale_test.h"
#include "tests/view/painting/recording_surface.h"
#include "view/geometry/sheet_sizes.h"
#include "view/painting/container_placement.h"

namespace {

// Columns 40 pixels wide; the fake measurer's default font is 10 x 20 a
// character, so the column headings are 20 high and the row headings 28 wide:
// column c (from the first shown) has its left grid line at 29 + 41 c.
class GridPainting : public GenericLocaleTest {
 protected:
  void SetUp() override {
    GenericLocaleTest::SetUp();
    ASSERT_TRUE(book->NewDocument());
    sheet = book->activeWorksheet;
    for (int c = 0; c < 40; ++c) sheet->format.columns[c].SetWidth(40, true);
    sheet->viewFormat.gridColorSet = 1;
    sheet->viewFormat.gridColor = kGrid;
    rowHeight = GetRowHeight(sheet, 0, 100);
  }
  void Type(uint32_t row, uint16_t column, const char* text) {
    NumFormatParams format = book->styles.StyleAt(sheet->format.CellStyle(row, column)).numFormat;
    alignas(8) uint8_t record[kCellInputCapacity];
    ASSERT_GT(CWorkSheet::ParseCellInput(book.get(), text, &format, row, column, record, sizeof record), 0u);
    ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
  }
  void StyleColumn(uint16_t column, const StyleRecord& style) {
    uint16_t index = 0;
    ASSERT_TRUE(book->styles.FindOrAddStyle(style, &index));
    sheet->format.columns[column].SetStyle(index);
  }
  void Paint(uint16_t firstColumn = 0, uint32_t firstRow = 0) {
    painter.PaintCells(rec.Surface(), kArea, sheet, firstRow, firstColumn, 100, 100);
  }
  int32_t GridX(int column) const { return 29 + 41 * column; }
  int32_t GridY(int row) const { return 21 + (rowHeight + 1) * row; }
  // The right grid line of a column in row 0, when it was drawn.
  bool RightLineDrawn(int column) const {
    for (const RecordedOp& op : rec.Of('f'))
      if (op.colour == kGrid && op.rect.left == GridX(column + 1) && op.rect.right == op.rect.left &&
          op.rect.top == GridY(0) + 1)
        return true;
    return false;
  }
  RecordedOp RunOf(const char* text) const {
    for (const RecordedOp& op : rec.Of('t'))
      if (op.text.find(text) != std::string::npos)
        return op;
    ADD_FAILURE() << "no run with " << text;
    return {};
  }

  static constexpr uint32_t kGrid = 0x123456;
  static constexpr PixelRect kArea = {0, 0, 399, 199};
  std::unique_ptr<CWorkBook> book = std::make_unique<CWorkBook>();
  CWorkSheet* sheet = nullptr;
  RecordingSurface rec{400, 200};
  GridPainter painter{book.get()};
  int32_t rowHeight = 0;
};

TEST_F(GridPainting, LeftTextRunsOverEmptyNeighboursUpToTheNextValue) {
  Type(0, 0, "abcdefghijklmnop");  // 160 pixels: more than three columns
  Type(0, 3, "x");
  Paint();
  const RecordedOp run = RunOf("...");  // shortened in its middle to the three columns
  EXPECT_EQ(run.text.substr(0, 1), "a");
  EXPECT_EQ(run.clip.left, GridX(0) + 1);
  EXPECT_EQ(run.clip.right, GridX(3) - 1);
  EXPECT_FALSE(RightLineDrawn(0));
  EXPECT_FALSE(RightLineDrawn(1));
  EXPECT_TRUE(RightLineDrawn(2));
  EXPECT_TRUE(RightLineDrawn(3));
}

TEST_F(GridPainting, RightNumberRunsLeftButNotOverAnotherText) {
  Type(0, 1, "abcdef");     // runs over column 2
  Type(0, 3, "123456789");  // 90 pixels, wants columns 2 and 1 too
  Type(0, 6, "98765432");   // wants column 5 and 4, both free
  Paint();
  EXPECT_EQ(RunOf("abcdef").clip.right, GridX(3) - 1);
  EXPECT_EQ(RunOf("9876").clip.left, GridX(4) + 1);
  for (const RecordedOp& op : rec.Of('t')) {
    if (op.text != "abcdef" && op.text.find("9876") == std::string::npos) {
      EXPECT_EQ(op.clip.left, GridX(3) + 1) << op.text;
    }
  }
  EXPECT_TRUE(RightLineDrawn(2));
  EXPECT_FALSE(RightLineDrawn(4));
}

TEST_F(GridPainting, CentredTextBesideAValueTurnsLeftAndRunsRight) {
  StyleRecord centred = StyleRecord::Default();
  centred.alignment.horizontal = kHAlignCentre;
  StyleColumn(1, centred);
  Type(0, 0, "1");
  Type(0, 1, "centred text");
  Paint();
  const RecordedOp run = RunOf("centred text");
  EXPECT_EQ(run.rect.left, GridX(1) + 1 + kDefaultHorizontalIndent);
  EXPECT_FALSE(RightLineDrawn(1));
}

TEST_F(GridPainting, TextOfACellScrolledOutStillDrawsIntoView) {
  Type(0, 0, "abcdefghijklmnopqrst");  // 200 pixels from column 0
  Paint(2);
  const RecordedOp run = RunOf("abcdefghijklmnopqrst");
  EXPECT_LT(run.rect.left, GridX(0));
  EXPECT_EQ(run.clip.left, GridX(0) + 1);
  EXPECT_FALSE(RightLineDrawn(0));
}

TEST_F(GridPainting, BordersOfACellScrolledOutStayOffTheHeadings) {
  StyleRecord bordered = StyleRecord::Default();
  bordered.borders.sides = 15;
  bordered.borders.line = {1, 1, {}, 0x0000FF};
  StyleColumn(0, bordered);
  Type(0, 0, "abcdefghijklmnopqrst");
  Paint(2);
  int borders = 0;
  for (const RecordedOp& op : rec.Of('l')) {
    if (op.colour != 0x0000FF)
      continue;
    ++borders;
    EXPECT_EQ(op.clip.left, GridX(0));  // the cell area, not the row headings
  }
  EXPECT_GT(borders, 0);
}

TEST_F(GridPainting, FillCoversItsRightAndBottomGridLinesAndTheColumnsItsTextCovers) {
  StyleRecord filled = StyleRecord::Default();
  filled.interior.pattern = 1;
  filled.interior.patternColorSet = 1;
  filled.interior.patternColor = 0x00FF00;
  StyleColumn(1, filled);
  Type(1, 1, "abcdefg");  // runs over column 2
  Paint();
  const int32_t y = GridY(1);
  EXPECT_EQ(rec.Pixel(GridX(2), y + 5), 0x00FF00u);           // between the covered columns
  EXPECT_EQ(rec.Pixel(GridX(3), y + 5), 0x00FF00u);           // its right line
  EXPECT_EQ(rec.Pixel(GridX(1) + 5, y + rowHeight + 1), 0x00FF00u);  // its bottom line
  EXPECT_EQ(rec.Pixel(GridX(4), y + 5), kGrid);               // the next free column keeps its line
  EXPECT_EQ(rec.Pixel(GridX(0) + 5, y + rowHeight + 1), kGrid);
}

TEST_F(GridPainting, BordersAreDrawnAfterEveryFill) {
  StyleRecord bordered = StyleRecord::Default();
  bordered.borders.sides = 15;
  bordered.borders.line = {1, 1, {}, 0x0000FF};
  StyleColumn(1, bordered);
  StyleRecord filled = StyleRecord::Default();
  filled.interior.pattern = 1;
  StyleColumn(2, filled);
  Type(2, 1, "b");
  Paint();
  size_t lastFill = 0;
  size_t firstBorder = rec.ops.size();
  for (size_t i = 0; i < rec.ops.size(); ++i) {
    if (rec.ops[i].kind == 'f' && rec.ops[i].colour != kGrid)
      lastFill = i;
    if (rec.ops[i].kind == 'l' && rec.ops[i].colour == 0x0000FF && firstBorder == rec.ops.size())
      firstBorder = i;
  }
  ASSERT_LT(firstBorder, rec.ops.size());
  EXPECT_GT(firstBorder, lastFill);
  EXPECT_EQ(rec.ops[firstBorder].rect.left, GridX(1));  // the left side, on the grid line
}

TEST_F(GridPainting, MarkersFollowTheOptionsAndTheZoom) {
  Type(0, 0, "=1+2");
  ASSERT_TRUE(book->Recalculate(nullptr));
  Paint();
  EXPECT_EQ(RunOf("3").rect.right, GridX(1) - 1 - kDefaultHorizontalIndent);  // a number: right-aligned
  ASSERT_EQ(rec.Of('p').size(), 1u);
  EXPECT_EQ(rec.Of('p')[0].colour, kFormulaMarkerColour);

  rec.ops.clear();
  painter.showFormulas = 1;
  painter.hideCellMarkers = 1;
  Paint();
  EXPECT_EQ(RunOf("=1+2").rect.left, GridX(0) + 1 + kDefaultHorizontalIndent);
  EXPECT_TRUE(rec.Of('p').empty());

  rec.ops.clear();
  painter.hideCellMarkers = 0;
  painter.DrawCellMarker(rec.Surface(), {10, 10, 50, 30}, 0, kCornerBottomRight, 50, 50);
  const PixelRect marker = rec.Of('p')[0].rect;
  EXPECT_EQ(marker.right - marker.left, 4);
  EXPECT_EQ(marker.bottom - marker.top, 4);
}

TEST_F(GridPainting, ContainersReachingIntoViewAreDrawnAndOthersSkipped) {
  const PixelRect cells = {29, 21, 399, 199};
  ContainerRecord box;
  ContainerAnchor anchor = {0, 0, 9};
  ContainerRect offsets = {10, 5, 100, 50};
  box.Init(&anchor, &offsets);
  PixelRect rect;
  struct Case {
    uint16_t firstColumn;
    bool reaches;
    int32_t left;
  } cases[] = {
      {0, true, 29 + 10},
      {2, true, 29 - (82 - 10)},  // anchored two columns left of the view
      {3, false, 0},              // ends before the first column
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetColumnRangeRect(cells, sheet, 0, c.firstColumn, box, &rect, 100, 100), c.reaches) << c.firstColumn;
    if (c.reaches) {
      EXPECT_EQ(rect.left, c.left);
      EXPECT_EQ(rect.right - rect.left, 90);
    }
  }

  PlaceContainerAt({29, 21}, sheet, 0, 1, &box, {29 + 41 * 2 + 7, 30}, 100, 100);
  EXPECT_EQ(box.header.anchor.column, 3);
  EXPECT_EQ(box.header.rect.left, 7);
  EXPECT_EQ(box.header.rect.right, 97);
  ASSERT_TRUE(GetColumnRangeRect(cells, sheet, 0, 1, box, &rect, 100, 100));
  EXPECT_EQ(rect.left, 29 + 41 * 2 + 7);
}

TEST(BorderQueue, KeepsEntriesInOrderAcrossPagesAndItsPagesWhenEmptied) {
  BorderQueue queue;
  for (int32_t i = 0; i < 600; ++i) ASSERT_TRUE(queue.Append({1, {}, i, 0, 0, 0}));
  BorderEntry entry;
  for (uint32_t i : {0u, 291u, 292u, 599u}) {
    ASSERT_TRUE(queue.At(i, &entry));
    EXPECT_EQ(entry.left, static_cast<int32_t>(i));
  }
  EXPECT_FALSE(queue.At(600, &entry));
  queue.Clear();
  EXPECT_EQ(queue.Count(), 0u);
  EXPECT_EQ(queue.PoolCount(), 3u);
  EXPECT_TRUE(queue.CheckInvariants());
}

}  // namespace
