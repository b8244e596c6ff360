#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/edit/cell_input.h"
#include "core/edit/text_height_memo.h"
#include "core/styles/column_font_heights.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "tests/core/allocation_limit.h"
#include "tests/core/fake_text_measurer.h"
#include "tests/core/generic_locale_test.h"
#include "tests/test_random.h"
#include "tests/test_seed.h"

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
  // A fresh workbook, for each round of a randomized test.
  void NewBook() {
    book_ = std::make_unique<CWorkBook>();
    ASSERT_TRUE(book_->NewDocument());
    sheet_ = book_->activeWorksheet;
  }
  // A cell typed into a block of cells to be tiled, as a paste reads it.
  void TypeInto(CellStore* block, uint32_t row, uint16_t column, const char* text) {
    NumFormatParams format = book_->styles.StyleAt(0).numFormat;
    alignas(8) uint8_t record[kCellInputCapacity];
    ASSERT_GT(CWorkSheet::ParseCellInput(book_.get(), text, &format, row, column, record, sizeof record), 0u);
    ASSERT_TRUE(block->InsertCell(AsCellRecord(record), nullptr));
  }
  // Refits rows first to last in one go and compares each row's height with
  // the height it gets measured alone; returns the distinct heights seen, so
  // that a caller can tell its cells really differ.
  std::set<uint16_t> RefitAndCompare(uint32_t first, uint32_t last) {
    std::set<uint16_t> seen;
    EXPECT_TRUE(CWorkSheet::AutoRowHeights(book_.get(), fake_.Measurer(), sheet_, first, last));
    int wrong = 0;
    for (uint32_t row = first; row <= last && wrong < 5; ++row) {
      const uint16_t alone = Height(row);
      seen.insert(alone);
      if (Stored(row) >> RowTable::kHeightShift != alone) {
        ADD_FAILURE() << "row " << row << ": refitted " << (Stored(row) >> RowTable::kHeightShift) << ", alone "
                      << alone;
        ++wrong;
      }
    }
    return seen;
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

// Typed cells whose heights differ with the text, its length, its line
// breaks and where it may wrap, in pairs of equal length and as prefixes of
// each other: a memo that mixed texts up would give a row another's height.
const char* const kMixedCells[] = {
    "z", "y", "two", "two\nlines", "two lines", "ab cd ef gh", "abcdefghijk", "a\nb\nc\nd",
    "aaaa bbbb cccc dddd eeee", "7", "12345678901234", "-3.25", "TRUE", "#DIV/0!", "=1/0",
    "=\"ab\"&\"cd\"", "=\"w w w w\"&\" w w w w\"", "=\"x\"&\"\"",
};

// A random text of short words over a small alphabet, so that texts repeat
// across a block and equal lengths hold different words.
std::string RandomText(TestRng* rng) {
  std::string text;
  const uint32_t words = 1 + rng->Below(5);
  for (uint32_t w = 0; w < words; ++w) {
    if (w != 0)
      text += rng->OneIn(4) ? '\n' : ' ';
    const uint32_t letters = 1 + rng->Below(6);
    for (uint32_t i = 0; i < letters; ++i) text += char('p' + rng->Below(3));
  }
  return text;
}

// Blocks of varied cells tiled down long ranges of several columns, as a
// paste into a large selection lays them, in columns that wrap or not, of
// several widths and fonts (by column and by style runs, whose fonts count
// too): refitted in one go, and a short stretch again, every row gets the
// height it gets alone. Columns 0 and 16 (and 1 and 17) share the refit's
// per-column slots.
TEST_F(RowHeights, TiledBlocksGetTheHeightsEachRowGetsAlone) {
  const uint32_t seed = TestSeed(20240611);
  SCOPED_TRACE(SeedTrace(seed));
  TestRng rng{seed};
  constexpr uint16_t kColumns[] = {0, 1, 16, 17};
  std::set<uint16_t> heights;
  for (int round = 0; round < 6; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    NewBook();
    const uint16_t styles[] = {0, Style(8, false), Style(20, false), Style(8, true), Style(20, true)};
    for (uint16_t column : kColumns) {
      sheet_->format.columns[column].SetWidth(uint16_t(20 + rng.Below(100)), true);
      sheet_->format.columns[column].SetStyle(styles[rng.Below(5)]);
    }
    const uint32_t blockRows = 1 + rng.Below(60);
    CellStore block;
    bool formulas = false;
    for (uint32_t row = 0; row < blockRows; ++row)
      for (uint16_t column : kColumns) {
        if (rng.OneIn(4))
          continue;
        const std::string text = rng.OneIn(2) ? RandomText(&rng) : kMixedCells[rng.Below(std::size(kMixedCells))];
        formulas |= text[0] == '=';
        TypeInto(&block, row, column, text.c_str());
      }
    const uint32_t first = rng.Below(5000);
    const uint32_t last = first + 1000 + rng.Below(3000);
    ASSERT_TRUE(sheet_->cells.TileRangeFromStore(0, 17, first, last, 0, 17, 0, blockRows - 1, block));
    for (uint32_t runs = rng.Below(4); runs > 0; --runs) {
      const uint32_t top = first + rng.Below(last - first);
      const uint16_t left = kColumns[rng.Below(4)];
      const StyleRun run = {left, uint16_t(left + rng.Below(3)), top, styles[1 + rng.Below(4)]};
      for (uint32_t row = top; row < top + 1 + rng.Below(200) && row <= last; ++row) {
        StyleRun line = run;
        line.row = row;
        ASSERT_TRUE(sheet_->format.runs.InsertRun(line, nullptr));
      }
    }
    if (formulas) {
      ASSERT_TRUE(book_->Recalculate(&sheet_->cells));
    }
    const std::set<uint16_t> seen = RefitAndCompare(first, last);
    heights.insert(seen.begin(), seen.end());
    // A short refit, as after typing, keeps only each column's last text.
    const uint32_t top = first + rng.Below(last - first);
    RefitAndCompare(top, std::min(last, top + rng.Below(200)));
  }
  EXPECT_GE(heights.size(), 6u);  // the cells really differ in height
}

// Twice as many distinct texts, each a row, as the refit's table of texts
// holds, tiled twice down a column: the texts that took each other's places
// are laid out again, each with its own height. The texts have one length,
// and the row's bits choose which of their blanks are line breaks (the
// column is wide enough for the rest), so that a place holding another text
// of the same length would mostly give the wrong height.
TEST_F(RowHeights, MoreTextsThanTheMemoHoldsKeepTheirOwnHeights) {
  sheet_->format.columns[0].SetStyle(Style(8, true));
  sheet_->format.columns[0].SetWidth(200, true);
  const uint32_t blockRows = 2 * TextHeightMemo::kPlaces;
  CellStore block;
  for (uint32_t row = 0; row < blockRows; ++row) {
    std::string text = std::to_string(10000 + row);
    for (uint32_t bit = 0; bit < 3; ++bit) text += ((row >> bit) & 1 ? "\nab" : " ab");
    TypeInto(&block, row, 0, text.c_str());
  }
  ASSERT_TRUE(sheet_->cells.TileRangeFromStore(0, 0, 0, 2 * blockRows - 1, 0, 0, 0, blockRows - 1, block));
  EXPECT_EQ(RefitAndCompare(0, 2 * blockRows - 1).size(), 4u);  // 1 to 4 lines
}

// A block of three texts of different heights, each the start of the next,
// pasted into a whole column: a short refit and a refit of the whole grid
// give every row its text's height, and the latter lays each text out a few
// times in all, not once a row.
TEST_F(RowHeights, ABlockTiledDownAWholeColumnIsLaidOutOnceAText) {
  CellStore block;
  TypeInto(&block, 0, 0, "one");
  TypeInto(&block, 1, 0, "one\ntwo");
  TypeInto(&block, 2, 0, "one\ntwo\nthree");
  ASSERT_TRUE(sheet_->cells.TileRangeFromStore(0, 0, 0, kMaxRow, 0, 0, 0, 2, block));
  EXPECT_EQ(RefitAndCompare(0, 99).size(), 3u);
  const uint16_t alone[] = {Height(0), Height(1), Height(2)};
  fake_.selections = 0;
  ASSERT_TRUE(CWorkSheet::AutoRowHeights(book_.get(), fake_.Measurer(), sheet_, 0, kMaxRow));
  EXPECT_LE(fake_.selections, 6);
  uint32_t wrong = 0;
  for (uint32_t row = 0; row <= kMaxRow; ++row)
    wrong += Stored(row) >> RowTable::kHeightShift != alone[row % 3];
  EXPECT_EQ(wrong, 0u);
  EXPECT_EQ(Stored(kMaxRow) >> RowTable::kHeightShift, Height(kMaxRow));
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
