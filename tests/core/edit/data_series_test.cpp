#include "core/edit/data_series.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

#include "core/eval_test_cells.h"
#include "core/generic_locale_test.h"
#include "core/workbook/workbook.h"

namespace {

class DataSeriesTest : public GenericLocaleTest {
 protected:
  void SetUp() override {
    GenericLocaleTest::SetUp();
    ASSERT_TRUE(book.NewDocument());
    sheet = book.activeWorksheet;
  }
  std::string At(uint32_t row, uint16_t column) {
    const CellRecord* cell = sheet->cells.GetCell(row, column);
    if (!cell) return "";
    if (cell->ErrorCode() != 0) return ErrorName(cell->ErrorCode());
    if (cell->IsNumber()) {
      char text[32];
      std::snprintf(text, sizeof text, "%g", cell->Number());
      return text;
    }
    if (cell->IsText()) return std::string(cell->Text(), cell->TextLength());
    return "=?";
  }
  struct Seed {
    uint32_t row;
    uint16_t column;
    const char* text;  // a text starting with "#" is a number
  };
  // The worksheet emptied, then the seeds put in.
  void PutSeeds(const std::vector<Seed>& seeds) {
    sheet->cells.DeleteRange(0, kMaxColumn, 0, kMaxRow, nullptr, true);
    for (const Seed& seed : seeds) {
      if (seed.text[0] == '#')
        PutNumber(sheet->cells, seed.column, seed.row, std::stod(seed.text + 1));
      else
        PutText(sheet->cells, seed.column, seed.row, seed.text);
    }
  }
  // The cells of the range row by row, left to right.
  std::vector<std::string> CellsOf(const CellRange& range) {
    std::vector<std::string> cells;
    for (uint32_t row = range.firstRow; row <= range.lastRow; ++row)
      for (uint32_t column = range.firstColumn; column <= range.lastColumn; ++column)
        cells.push_back(At(row, static_cast<uint16_t>(column)));
    return cells;
  }

  CWorkBook book;
  CWorkSheet* sheet = nullptr;
};

using Cells = std::vector<std::string>;

// Each case seeds cells by (row, column, text) and fills a range; no cell
// ever holds an infinity.
TEST_F(DataSeriesTest, FillsForwardsBackwardsAcrossAndDown) {
  const struct {
    const char* name;
    std::vector<Seed> seeds;
    CellRange range;
    Cells filled;
  } cases[] = {
      {"two numbers down", {{0, 0, "#2"}, {1, 0, "#5"}}, {0, 0, 0, 4}, {"2", "5", "8", "11", "14"}},
      {"one number backwards", {{4, 0, "#10"}}, {0, 0, 0, 4}, {"6", "7", "8", "9", "10"}},
      {"two numbers backwards across", {{0, 3, "#1"}, {0, 2, "#3"}}, {0, 0, 3, 0}, {"7", "5", "3", "1"}},
      {"a block row by row", {{0, 0, "#1"}, {0, 1, "#2"}}, {0, 0, 1, 1}, {"1", "2", "3", "4"}},
      {"dates across a month end",
       {{0, 0, "2009-01-30"}},
       {0, 0, 2, 0},
       {"2009-01-30", "2009-01-31", "2009-02-01"}},
      {"dates by two seeds through a leap February",
       {{0, 0, "2008-02-27"}, {1, 0, "2008-02-28"}},
       {0, 0, 0, 3},
       {"2008-02-27", "2008-02-28", "2008-02-29", "2008-03-01"}},
      {"date-times by a day and a half",
       {{0, 0, "2009-12-31T00:00:00"}, {0, 1, "2010-01-01T12:00:00"}},
       {0, 0, 2, 0},
       {"2009-12-31T00:00:00", "2010-01-01T12:00:00", "2010-01-03T00:00:00"}},
      {"a time by the hour backwards", {{2, 0, "01:30:00"}}, {0, 0, 0, 2}, {"23:30:00", "00:30:00", "01:30:00"}},
      {"a text repeated", {{0, 0, "total"}, {1, 0, "#9"}}, {0, 0, 0, 2}, {"total", "total", "total"}},
      // Past the largest number the overflow error, never an infinity;
      // seeds whose difference overflows stay as they are.
      {"numbers past the largest",
       {{0, 0, "#1e308"}, {1, 0, "#1.5e308"}},
       {0, 0, 0, 5},
       {"1e+308", "1.5e+308", "#NUM!", "#NUM!", "#NUM!", "#NUM!"}},
      {"numbers past the lowest backwards",
       {{0, 3, "#-1e308"}, {0, 2, "#-1.5e308"}},
       {0, 0, 3, 0},
       {"#NUM!", "#NUM!", "-1.5e+308", "-1e+308"}},
      {"seeds of opposite signs",
       {{0, 0, "#-1.5e308"}, {1, 0, "#1.5e308"}},
       {0, 0, 0, 3},
       {"-1.5e+308", "1.5e+308", "#NUM!", "#NUM!"}},
      {"the largest number by ones",
       {{0, 0, "#1.7976931348623157e308"}},
       {0, 0, 0, 1},
       {"1.79769e+308", "1.79769e+308"}},
  };
  for (const auto& c : cases) {
    PutSeeds(c.seeds);
    EXPECT_EQ(FillDataSeries(&book, c.range), kSeriesFilled) << c.name;
    EXPECT_EQ(CellsOf(c.range), c.filled) << c.name;
    EXPECT_TRUE(sheet->cells.CheckInvariants()) << c.name;
    CellCursor walk = sheet->cells.StartRangeWalk(0);
    while (const CellRecord* cell = walk.NextInRange(0, kMaxColumn, 0, kMaxRow))
      EXPECT_TRUE(!cell->IsNumber() || std::isfinite(cell->Number())) << c.name;
  }
}

// A number shown rounded by its format still steps from its whole value.
TEST_F(DataSeriesTest, SeedsKeepTheirWholeValue) {
  StyleRecord style = StyleRecord::Default();
  style.numFormat.category = kNumFormatGeneral;
  style.numFormat.options.number.fixedDecimals = 1;
  style.numFormat.options.number.decimals = 1;
  uint16_t index = 0;
  ASSERT_TRUE(book.styles.FindOrAddStyle(style, &index));
  sheet->format.columns[0].SetStyle(index);
  PutNumber(sheet->cells, 0, 0, 1.25);
  PutNumber(sheet->cells, 0, 1, 1.5);
  ASSERT_EQ(FillDataSeries(&book, CellRange{0, 0, 0, 2}), kSeriesFilled);
  EXPECT_EQ(CellsOf(CellRange{0, 0, 0, 2}), (Cells{"1.25", "1.5", "1.75"}));
}

// Without a seed, or for a single cell, nothing changes and no undo step is
// left; a fill is one step that puts every cell back.
TEST_F(DataSeriesTest, RefusalsChangeNothingAndAFillIsOneUndoStep) {
  const int32_t steps = book.undoHistory.Current();
  PutNumber(sheet->cells, 1, 0, 3);
  EXPECT_EQ(FillDataSeries(&book, CellRange{0, 0, 0, 0}), kSeriesOneCell);
  EXPECT_EQ(FillDataSeries(&book, CellRange{0, 0, 2, 0}), kSeriesNoSeed);
  PutText(sheet->cells, 0, 5, "");
  EXPECT_EQ(FillDataSeries(&book, CellRange{0, 5, 0, 7}), kSeriesEmptySeed);
  EXPECT_EQ(book.undoHistory.Current(), steps);
  EXPECT_EQ(At(0, 1), "3");

  PutNumber(sheet->cells, 0, 0, 1);
  ASSERT_EQ(FillDataSeries(&book, CellRange{0, 0, 2, 0}), kSeriesFilled);
  EXPECT_EQ(CellsOf(CellRange{0, 0, 2, 0}), (Cells{"1", "3", "5"}));
  EXPECT_EQ(book.undoHistory.Current(), steps + 1);
  ASSERT_TRUE(book.UndoStep());
  EXPECT_EQ(CellsOf(CellRange{0, 0, 2, 0}), (Cells{"1", "3", ""}));
}

}  // namespace
