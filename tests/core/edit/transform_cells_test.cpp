#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/allocation_limit.h"
#include "core/generic_locale_test.h"
#include "core/workbook/workbook.h"

namespace {

void PutText(CellStore& cells, uint32_t row, uint16_t column, const std::string& text, uint8_t typeExtra = 0) {
  uint8_t record[kTextCellHeadSize + 64];
  ASSERT_NE(0u, BuildTextCell(record, sizeof record, row, column, text.data(), uint16_t(text.size()), typeExtra));
  ASSERT_TRUE(cells.InsertCell(AsCellRecord(record), nullptr));
}

void PutNumber(CellStore& cells, uint32_t row, uint16_t column, double value, uint8_t typeExtra = 0) {
  uint8_t record[kNumberCellSize];
  BuildNumberCell(record, sizeof record, row, column, value, typeExtra);
  ASSERT_TRUE(cells.InsertCell(AsCellRecord(record), nullptr));
}

void PutFormula(CellStore& cells, uint32_t row, uint16_t column, FormulaCellFields fields) {
  uint8_t record[128];
  fields.formula = "R1C1";
  fields.formulaLength = 4;
  ASSERT_NE(0u, BuildFormulaCell(record, sizeof record, row, column, fields));
  ASSERT_TRUE(cells.InsertCell(AsCellRecord(record), nullptr));
}

// What a cell holds, in a form a failure message shows: t"text", n1.5,
// e0x30 for an error, f for a formula; a trailing s marks a spilled value.
std::string CellAt(CellStore& cells, uint32_t row, uint16_t column) {
  const CellRecord* cell = cells.GetCell(row, column);
  if (!cell)
    return "(none)";
  std::string out;
  if (cell->IsFormula())
    out = "f";
  else if (cell->ErrorCode())
    out = "e" + std::to_string(cell->ErrorCode());
  else if (cell->IsText())
    out = "t\"" + std::string(cell->Text(), cell->TextLength()) + "\"";
  else
    out = "n" + std::to_string(cell->Number());
  return cell->IsSpillValue() ? out + "s" : out;
}

class TransformCells : public GenericLocaleTest {
 protected:
  void SetUp() override {
    GenericLocaleTest::SetUp();
    ASSERT_TRUE(book_->NewDocument());
    sheet_ = book_->activeWorksheet;
  }
  std::unique_ptr<CWorkBook> book_ = std::make_unique<CWorkBook>();
  CWorkSheet* sheet_ = nullptr;
};

TEST_F(TransformCells, ChangesLetterCaseOfTextCellsInTheRange) {
  struct Case {
    const char* text;
    uint8_t mode;
    const char* expected;
  } const cases[] = {
      {"net Sales 2Q", kTransformUpper, "NET SALES 2Q"},
      {"NET Sales 2Q", kTransformLower, "net sales 2q"},
      {"net SALES of o'neil-smith", kTransformCapitalize, "Net Sales Of O'Neil-Smith"},
      {"2nd qTR x9y", kTransformCapitalize, "2nd Qtr X9y"},
      {"", kTransformCapitalize, ""},
  };
  for (const Case& c : cases) {
    CellStore& cells = sheet_->cells;
    cells.Clear(true);
    PutText(cells, 1, 1, c.text);
    PutText(cells, 0, 1, "above");  // outside the range
    PutText(cells, 2, 1, "spilled", kCellSpillValue);
    PutNumber(cells, 1, 2, 3.5);

    ASSERT_TRUE(sheet_->TransformCells(book_.get(), 0, 5, 1, 2, c.mode)) << c.text;
    EXPECT_EQ(std::string("t\"") + c.expected + "\"", CellAt(cells, 1, 1));
    EXPECT_EQ("t\"above\"", CellAt(cells, 0, 1));
    EXPECT_EQ("t\"spilled\"s", CellAt(cells, 2, 1));
    EXPECT_EQ("n3.500000", CellAt(cells, 1, 2));
    EXPECT_TRUE(cells.CheckInvariants());
  }
  EXPECT_FALSE(sheet_->TransformCells(book_.get(), 0, 5, 1, 2, 7));
  EXPECT_EQ(kWorkbookInvalidCacheIndex, book_->error);
}

// Row 0 holds formulas (a number, a text, an error, an array of two rows),
// row 3 labels, row 4 numbers; column 0 of each row lies outside the range.
TEST_F(TransformCells, ConvertsFormulasLabelsAndNumbers) {
  CellStore& cells = sheet_->cells;
  FormulaCellFields number;
  number.resultFlags = kResultCachedNumber;
  number.cachedNumber = 4;
  PutFormula(cells, 0, 0, number);
  PutFormula(cells, 0, 1, number);
  FormulaCellFields text;
  text.cachedText = "007";
  text.cachedTextLength = 3;
  PutFormula(cells, 0, 2, text);
  FormulaCellFields error;
  error.typeExtra = kErrorDivZero;
  PutFormula(cells, 0, 3, error);
  FormulaCellFields array = number;
  array.resultFlags |= kResultArray;
  array.arrayRows = 2;
  PutFormula(cells, 0, 4, array);
  PutNumber(cells, 1, 4, 9, kCellSpillValue);
  const char* labels[] = {"12.5", "12.5", "abc", "2009-05-16", "#N/A", "1e3"};
  for (uint16_t column = 0; column < 6; ++column) PutText(cells, 3, column, labels[column]);
  PutText(cells, 3, 6, "8", kCellSpillValue);
  StyleRecord percent = StyleRecord::Default();
  percent.numFormat.category = kNumFormatPercent;
  percent.numFormat.options.number.fixedDecimals = 1;
  uint16_t style = 0;
  ASSERT_TRUE(book_->styles.FindOrAddStyle(percent, &style));
  sheet_->format.columns[2].SetStyle(style);
  PutNumber(cells, 4, 0, 0.125);
  PutNumber(cells, 4, 1, 0.125);
  PutNumber(cells, 4, 2, 0.125);
  PutNumber(cells, 4, 3, 0, kErrorNA);

  ASSERT_TRUE(sheet_->TransformCells(book_.get(), 1, 9, 0, 2, kTransformFormulasToValues));
  ASSERT_TRUE(sheet_->TransformCells(book_.get(), 1, 9, 3, 3, kTransformLabelsToNumbers));
  ASSERT_TRUE(sheet_->TransformCells(book_.get(), 1, 9, 4, 4, kTransformNumbersToLabels));
  const char* expected[5][7] = {
      {"f", "n4.000000", "t\"007\"", "e16", "n4.000000", "(none)", "(none)"},
      {"(none)", "(none)", "(none)", "(none)", "n9.000000", "(none)", "(none)"},
      {"(none)", "(none)", "(none)", "(none)", "(none)", "(none)", "(none)"},
      {"t\"12.5\"", "n12.500000", "t\"abc\"", "t\"2009-05-16\"", "t\"#N/A\"", "n1000.000000", "t\"8\"s"},
      {"n0.125000", "t\"0.125\"", "t\"13%\"", "e64", "(none)", "(none)", "(none)"},
  };
  for (uint32_t row = 0; row < 5; ++row)
    for (uint16_t column = 0; column < 7; ++column)
      EXPECT_EQ(expected[row][column], CellAt(cells, row, column)) << row << "," << column;
  EXPECT_TRUE(cells.CheckInvariants());
}

TEST_F(TransformCells, RunningOutOfMemoryChangesNothing) {
  CellStore& cells = sheet_->cells;
  for (uint32_t row = 0; row < 60; ++row)
    for (uint16_t column = 0; column < 30; ++column) PutNumber(cells, row, column, row * 1000.0 + column + 0.5);
  bool converted = false;
  for (int granted = 0; granted < 100 && !converted; ++granted) {
    SCOPED_TRACE("blocks granted " + std::to_string(granted));
    {
      AllocationLimit limit(granted);
      converted = sheet_->TransformCells(book_.get(), 0, 29, 0, 59, kTransformNumbersToLabels);
    }
    ASSERT_TRUE(cells.CheckInvariants());
    if (converted)
      break;
    ASSERT_EQ(kWorkbookOutOfMemory, book_->error);
    for (uint32_t row = 0; row < 60; ++row)
      for (uint16_t column = 0; column < 30; ++column)
        ASSERT_EQ(std::to_string(row * 1000.0 + column + 0.5), CellAt(cells, row, column).substr(1));
  }
  ASSERT_TRUE(converted);
  EXPECT_EQ("t\"59029.5\"", CellAt(cells, 59, 29));
}

}  // namespace
