#include "view/geometry/sheet_sizes.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/workbook/worksheet.h"
#include "view/draw_context/portable_text_measurer.h"

namespace {

struct SheetSizes : ::testing::Test {
  std::unique_ptr<CWorkSheet> sheet{NewWorksheet("S", 1)};
  PortableTextMeasurer portable;
};

TEST_F(SheetSizes, ColumnWidthsAtAZoom) {
  sheet->format.columns[1].SetWidth(0, true);  // hidden
  sheet->format.columns[2].SetWidth(100, false);
  sheet->format.columns[3].SetWidth(1049, true);
  struct Case {
    uint32_t column;
    uint16_t zoom;
    int32_t width;
  } cases[] = {
      {0, 100, 63}, {0, 150, 94}, {0, 33, 20},  // the default: 9 x the screen's "X"
      {1, 100, 0},  {1, 400, 0},  {2, 50, 50},
      // At 600 pixels per inch and a print scale of 1000 % the zoom is 6250:
      // a size that no longer fits 16 bits.
      {3, 6250, 65562},
  };
  for (const Case& c : cases)
    EXPECT_EQ(GetColumnWidth(sheet.get(), c.column, c.zoom), c.width) << c.column << " at " << c.zoom;
}

TEST_F(SheetSizes, RowsThatAreNotFixedRiseToTheTallestColumnFont) {
  ASSERT_TRUE(sheet->format.rows.SetRow(1, 0, true));
  ASSERT_TRUE(sheet->format.rows.SetRow(2, 30, false));
  ASSERT_TRUE(sheet->format.rows.SetRow(3, 5, true));
  EXPECT_EQ(GetRowHeight(sheet.get(), 0, 100), 18);  // the default: "X" + 2
  EXPECT_EQ(GetRowHeight(sheet.get(), 1, 100), 0);
  EXPECT_EQ(GetRowHeight(sheet.get(), 2, 200), 60);

  sheet->format.columns[700].fontHeightWord = 0xF000 | 40;  // the flag bits do not count
  sheet->format.ColumnsChanged();
  EXPECT_EQ(GetRowHeight(sheet.get(), 0, 100), 40);
  EXPECT_EQ(GetRowHeight(sheet.get(), 2, 100), 40);
  EXPECT_EQ(GetRowHeight(sheet.get(), 3, 100), 5);  // fixed
  EXPECT_EQ(GetRowHeight(sheet.get(), 5000000, 100), 40);

  // The kept maximum follows the column records through the format's edits.
  ASSERT_TRUE(sheet->format.DeleteColumns(700, 700));
  EXPECT_EQ(GetRowHeight(sheet.get(), 0, 100), 18);
  sheet->format.columns[3].fontHeightWord = 25;
  sheet->format.ColumnsChanged();
  ASSERT_TRUE(sheet->format.InsertColumns(0, 0));
  EXPECT_EQ(sheet->format.MaxColumnFontHeight(), 25);
  sheet->format.Clear(false);
  EXPECT_EQ(sheet->format.MaxColumnFontHeight(), 0);
}

TEST_F(SheetSizes, HeaderBandsMeasureTheDefaultFontAndGrowWithTheRowNumber) {
  const TextMeasurer& m = portable.Measurer();
  EXPECT_EQ(GetColumnHeaderHeight(m, 100), 15);
  EXPECT_EQ(GetColumnHeaderHeight(m, 200), 30);
  struct Case {
    uint32_t row;
    int32_t width;
  } cases[] = {{0, 22}, {99, 22}, {100, 29}, {999, 29}, {1000, 36}, {99999, 43}, {2097151, 57}};
  for (const Case& c : cases) EXPECT_EQ(GetRowHeaderWidth(m, c.row, 100), c.width) << c.row;
}

TEST_F(SheetSizes, LastVisibleCountsEachSizePlusItsGridLine) {
  for (uint32_t c = 0; c < 10; ++c) sheet->format.columns[c].SetWidth(9, true);  // 10 a column
  struct Case {
    int64_t extent;
    uint32_t first;
    bool fullyOnly;
    uint32_t last;
  } cases[] = {
      {30, 0, true, 2},  {30, 0, false, 2},   {35, 0, true, 2}, {35, 0, false, 3},
      {5, 4, true, 4},   {5, 4, false, 4},    // narrower than the first column
      {1000000, 2040, true, 2046},            // the grid ends first
      {10, 2047, true, 2047},                 // beyond the grid: unchanged
  };
  for (const Case& c : cases)
    EXPECT_EQ(LastVisibleColumn(sheet.get(), c.extent, c.first, 100, c.fullyOnly), c.last)
        << c.extent << " from " << c.first << (c.fullyOnly ? " fully" : " partly");
  EXPECT_EQ(LastVisibleRow(sheet.get(), 38, 7, 100, true), 8);  // rows 19 a row
  EXPECT_EQ(LastVisibleRow(sheet.get(), 38, 7, 100, false), 8);
  EXPECT_EQ(LastVisibleRow(sheet.get(), 39, 7, 100, false), 9);
}

}  // namespace
