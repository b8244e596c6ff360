#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/edit/reference_adjust.h"
#include "core/generic_locale_test.h"
#include "core/workbook/workbook.h"

namespace {

class FindInRange : public GenericLocaleTest {
 protected:
  void SetUp() override {
    GenericLocaleTest::SetUp();
    ASSERT_TRUE(book_->NewDocument());
    CellStore& cells = book_->activeWorksheet->cells;
    // Row 0: "abc", -, "xabcx", 1.5; row 1: "ABC", a formula on A1, #DIV/0!.
    Put(cells, BuildText(0, 0, "abc"));
    Put(cells, BuildText(0, 2, "xabcx"));
    uint8_t number[kNumberCellSize];
    BuildNumberCell(number, sizeof number, 0, 3, 1.5);
    Put(cells, number);
    Put(cells, BuildText(1, 0, "ABC"));
    FormulaCellFields fields;
    fields.formula = "R[-1]C[-1]*2";
    fields.formulaLength = 12;
    ASSERT_NE(0u, BuildFormulaCell(record_, sizeof record_, 1, 1, fields));
    Put(cells, record_);
    BuildNumberCell(number, sizeof number, 1, 2, 0.0, kErrorDivZero);
    Put(cells, number);
  }
  const uint8_t* BuildText(uint32_t row, uint16_t column, const std::string& text) {
    BuildTextCell(record_, sizeof record_, row, column, text.data(), uint16_t(text.size()));
    return record_;
  }
  void Put(CellStore& cells, const uint8_t* record) { ASSERT_TRUE(cells.InsertCell(AsCellRecord(record), nullptr)); }

  // "C,R" of the cell found from the start cell, or "none".
  std::string Find(const CellRange& range, uint16_t column, uint32_t row, const char* pattern, bool matchCase = false,
                   bool wholeCell = false) {
    if (!book_->FindInRange(range, &column, &row, pattern, matchCase, wholeCell))
      return "none";
    return std::to_string(column) + "," + std::to_string(row);
  }

  std::unique_ptr<CWorkBook> book_ = std::make_unique<CWorkBook>();
  uint8_t record_[256] = {};
};

constexpr CellRange kAll{0, 0, kMaxColumn, kMaxRow};

TEST_F(FindInRange, WalksInStorageOrderFromTheStartCellOn) {
  struct Case {
    uint16_t column;
    uint32_t row;
    const char* pattern;
    bool matchCase;
    bool wholeCell;
    const char* found;
  };
  const Case cases[] = {
      {0, 0, "abc", false, false, "0,0"},       // the start cell itself is searched
      {1, 0, "abc", false, false, "2,0"},       // a match inside the text
      {3, 0, "abc", false, false, "0,1"},       // on to the next row
      {1, 0, "abc", false, true, "0,1"},        // whole cells only
      {1, 0, "abc", true, false, "2,0"},        // case matters
      {3, 0, "abc", true, false, "none"},
      {0, 0, "1.5", false, true, "3,0"},        // a number as DoubleToText writes it
      {0, 0, "R[-1]C[-1]*", false, true, "1,1"},  // a formula by its stored text
      {0, 0, "A1*", false, false, "none"},
      {0, 0, "#DIV/0!", false, true, "2,1"},    // an error by its name
      {0, 0, "", false, false, "none"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.found, Find(kAll, c.column, c.row, c.pattern, c.matchCase, c.wholeCell)) << c.pattern << " from "
                                                                                          << c.column << "," << c.row;
}

TEST_F(FindInRange, StaysInsideTheRangeAndKeepsTheStartOnAMiss) {
  EXPECT_EQ("2,0", Find(CellRange{1, 0, 5, 5}, 0, 0, "abc"));
  EXPECT_EQ("none", Find(CellRange{1, 1, 5, 5}, 0, 0, "abc"));
  EXPECT_EQ("0,1", Find(CellRange{0, 1, 0, 1}, 0, 0, "abc"));
  uint16_t column = 3;
  uint32_t row = 1;
  EXPECT_FALSE(book_->FindInRange(kAll, &column, &row, "abc", false, false));
  EXPECT_EQ(3, column);
  EXPECT_EQ(1u, row);
}

}  // namespace
