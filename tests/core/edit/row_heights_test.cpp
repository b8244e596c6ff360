#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "core/edit/cell_input.h"
#include "core/styles/column_font_heights.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "tests/core/allocation_limit.h"
#include "tests/core/fake_text_measurer.h"
#include "tests/core/generic_locale_test.h"

namespace {

// With the fake measurer a font of s points is s pixels a character and 2 s
// a line; the default (all-zero) font counts as 10 points. Styles have the
// default indents: 4 pixels on each side, 2 above.
class RowHeights : public GenericLocaleTest {
 protected:
  void SetUp() override {
    GenericLocaleTest::SetUp();
    ASSERT_TRUE(book_->NewDocument());
    sheet_ = book_->activeWorksheet;
    sheet_->format.columns[0].SetWidth(60, true);
  }

  uint16_t Style(uint8_t points, bool wrap, bool fitToCell = false) {
    FontRecord font = {};
    std::strcpy(font.faceName, points == 8 ? "Small" : "Large");
    font.size = points;
    StyleRecord style = StyleRecord::Default();
    EXPECT_TRUE(book_->styles.FindOrAddFont(font, &style.fontIndex));
    style.alignment.wrapText = wrap;
    style.alignment.fitToCell = fitToCell;
    uint16_t index = 0;
    EXPECT_TRUE(book_->styles.FindOrAddStyle(style, &index));
    return index;
  }
  void Type(uint32_t row, uint16_t column, const char* text, uint16_t style = 0) {
    if (style) {
      StyleRun run = {column, column, row, style};
      ASSERT_TRUE(sheet_->format.runs.InsertRun(run, nullptr));
    }
    NumFormatParams format = book_->styles.StyleAt(sheet_->format.CellStyle(row, column)).numFormat;
    alignas(8) uint8_t record[kCellInputCapacity];
    ASSERT_GT(CWorkSheet::ParseCellInput(book_.get(), text, &format, row, column, record, sizeof record), 0u);
    ASSERT_TRUE(sheet_->cells.InsertCell(AsCellRecord(record), nullptr));
  }
  uint16_t Height(uint32_t row) {
    return CWorkSheet::ComputeRowHeight(book_.get(), fake_.Measurer(), sheet_, row, nullptr, nullptr);
  }
  uint16_t Stored(uint32_t row) {
    const uint16_t* record = sheet_->format.rows.At(row);
    return record ? *record : 0xFFFF;
  }

  std::unique_ptr<CWorkBook> book_ = std::make_unique<CWorkBook>();
  CWorkSheet* sheet_ = nullptr;
  FakeTextMeasurer fake_;
};

TEST_F(RowHeights, EachRowTakesItsTallestCellInItsOwnFont) {
  const uint16_t smallWrapped = Style(8, true);
  const uint16_t small = Style(8, false);
  const uint16_t large = Style(20, false);
  const uint16_t fittedWrapped = Style(10, true, true);
  // Column A is 60 wide: a wrapped line holds 60 - 2 x 4 = 52 pixels, six
  // characters of 8 points, lines 16 high.
  Type(1, 0, "aaaa bbbb cccc", smallWrapped);  // three lines
  Type(2, 0, "aaaa bbbb cccc", small);         // one line
  Type(3, 0, "12345678901234", smallWrapped);  // numbers never wrap
  Type(4, 1, "7", large);
  Type(5, 0, "aaaa bbbb cccc dddd", fittedWrapped);  // the cell does not count, its font does
  Type(6, 0, "x");  // the default font: 10 points
  Type(6, 2, "text", small);

  struct Case {
    uint32_t row;
    uint16_t height;
  } cases[] = {{0, 0}, {1, 3 * 16 + 2}, {2, 16 + 2}, {3, 16 + 2}, {4, 40 + 2}, {5, 20 + 2}, {6, 20 + 2}};
  for (const Case& c : cases) EXPECT_EQ(Height(c.row), c.height) << "row " << c.row;
}

TEST_F(RowHeights, AFormattedEmptyAreaInAFontOfItsOwnNeedsOneLineOfIt) {
  const StyleRun run = {3, 9, 7, Style(20, false)};
  ASSERT_TRUE(sheet_->format.runs.InsertRun(run, nullptr));
  EXPECT_EQ(Height(7), 40 + 2);
  EXPECT_EQ(Height(8), 0);
}

TEST_F(RowHeights, AutoRowHeightsSetsEveryRowThatIsNotFixed) {
  const uint16_t large = Style(20, false);
  sheet_->format.columns[5].SetStyle(large);
  ASSERT_TRUE(sheet_->format.rows.SetRow(1, 99, true));
  Type(1, 1, "7", large);
  Type(2, 1, "7", large);
  Type(4, 1, "7");
  ASSERT_TRUE(CWorkSheet::AutoRowHeights(book_.get(), fake_.Measurer(), sheet_, 0, 4));

  EXPECT_EQ(Stored(0), 0);
  EXPECT_EQ(Stored(1), (99 << RowTable::kHeightShift) | RowTable::kFixedHeight);  // kept
  EXPECT_EQ(Stored(2), 42 << RowTable::kHeightShift);
  EXPECT_EQ(Stored(4), 22 << RowTable::kHeightShift);
  // The column font heights were refreshed on the way.
  EXPECT_EQ(sheet_->format.columns[5].fontHeightWord & ColumnRecord::kFontHeightMask, 42);
  EXPECT_EQ(sheet_->format.columns[4].fontHeightWord & ColumnRecord::kFontHeightMask, 0);
  EXPECT_EQ(sheet_->format.MaxColumnFontHeight(), 42);
}

// A refit of many rows measures a text met again in the same style once (a
// text pasted down a whole column), and gives each row the height measuring
// that row alone gives.
TEST_F(RowHeights, ATextRepeatedDownManyRowsIsMeasuredOnce) {
  const uint16_t large = Style(20, false);
  const uint16_t wrapped = Style(8, true);
  constexpr uint32_t kRepeated = 200;
  constexpr uint32_t kRows = 300;
  for (uint32_t row = 0; row < kRows; ++row) {
    if (row >= kRepeated && row % 25 == 3)
      Type(row, 0, "a longer text that wraps in the narrow column", wrapped);
    else if (row >= kRepeated)
      Type(row, 0, row % 60 == 9 ? "other" : "z", row % 10 == 5 ? large : 0);
    else
      Type(row, 0, "z");
  }
  fake_.selections = 0;
  ASSERT_TRUE(CWorkSheet::AutoRowHeights(book_.get(), fake_.Measurer(), sheet_, 0, kRepeated - 1));
  EXPECT_LE(fake_.selections, 4);
  ASSERT_TRUE(CWorkSheet::AutoRowHeights(book_.get(), fake_.Measurer(), sheet_, 0, kRows - 1));
  for (uint32_t row = 0; row < kRows; ++row) EXPECT_EQ(Stored(row) >> RowTable::kHeightShift, Height(row)) << row;
}

// However long the text, and wrapped too, a refit lays out a text met again
// in its column once, and measures a formatted area's font once: down a
// column of the same text the fonts are selected a few times, not once a
// row. The same wrapped text in another column of another width is laid out
// again there.
TEST_F(RowHeights, ALongOrWrappedTextRepeatedDownAColumnIsLaidOutOnce) {
  const uint16_t wrapped = Style(8, true);
  sheet_->format.columns[1].SetWidth(600, true);
  sheet_->format.columns[17].SetWidth(60, true);
  const std::string longText(200, 'w');
  const char* wrapping = "a text long enough to take several lines in a narrow column";
  constexpr uint32_t kRepeated = 200;
  constexpr uint32_t kRows = 400;
  for (uint32_t row = 0; row < kRows; ++row) {
    if (row < kRepeated) {
      Type(row, 0, longText.c_str());
      Type(row, 1, wrapping, wrapped);
    } else if (row < 300) {
      // The wide column comes first in the row: its one line must not
      // answer for the narrow column's several.
      Type(row, 1, wrapping, wrapped);
      Type(row, 17, wrapping, wrapped);
    } else {
      Type(row, 1, "7", wrapped);
      Type(row, 0, row % 2 ? longText.c_str() : "12", row % 2 ? wrapped : 0);
    }
  }
  fake_.selections = 0;
  ASSERT_TRUE(CWorkSheet::AutoRowHeights(book_.get(), fake_.Measurer(), sheet_, 0, kRepeated - 1));
  EXPECT_LE(fake_.selections, 3);
  ASSERT_TRUE(CWorkSheet::AutoRowHeights(book_.get(), fake_.Measurer(), sheet_, 0, kRows - 1));
  for (uint32_t row = 0; row < kRows; ++row) EXPECT_EQ(Stored(row) >> RowTable::kHeightShift, Height(row)) << row;
  EXPECT_GT(Height(250), Height(50));
}

TEST_F(RowHeights, ARowTableThatCannotGrowFailsWithOutOfMemory) {
  Type(0, 0, "x");
  {
    AllocationLimit dry(0);
    EXPECT_FALSE(CWorkSheet::AutoRowHeights(book_.get(), fake_.Measurer(), sheet_, 0, 100000));
  }
  EXPECT_EQ(book_->error, kWorkbookOutOfMemory);
}

TEST(ColumnFontHeights, FittedStylesAndTheDefaultFontAskNothing) {
  StyleTable styles;
  FontRecord font = {};
  font.size = 30;
  StyleRecord style = StyleRecord::Default();
  ASSERT_TRUE(styles.FindOrAddFont(font, &style.fontIndex));
  uint16_t large = 0, fitted = 0;
  ASSERT_TRUE(styles.FindOrAddStyle(style, &large));
  style.alignment.fitToCell = 1;
  ASSERT_TRUE(styles.FindOrAddStyle(style, &fitted));

  auto format = std::make_unique<SheetFormat>();
  format->columns[0].fontHeightWord = 0xF123;  // upper bits are kept
  format->columns[1].SetStyle(large);
  format->columns[2].SetStyle(fitted);
  format->columns[3].SetStyle(500);  // beyond the table: style 0
  FakeTextMeasurer fake;
  ASSERT_TRUE(ComputeColumnFontHeights(fake.Measurer(), styles, format.get(), 0, 3));
  EXPECT_EQ(format->columns[0].fontHeightWord, 0xF000);
  EXPECT_EQ(format->columns[1].fontHeightWord, 62);
  EXPECT_EQ(format->columns[2].fontHeightWord, 0);
  EXPECT_EQ(format->columns[3].fontHeightWord, 0);
  EXPECT_EQ(fake.selections, 1);  // one font, measured once
}

}  // namespace
