#include <gtest/gtest.h>

#include <string>

#include "core/workbook/worksheet.h"

namespace {

void PutText(CellStore& cells, uint32_t row, uint16_t column, const std::string& text, uint8_t typeExtra = 0) {
  uint8_t record[kTextCellHeadSize + 64];
  ASSERT_NE(0u, BuildTextCell(record, sizeof record, row, column, text.data(), uint16_t(text.size()), typeExtra));
  ASSERT_TRUE(cells.InsertCell(AsCellRecord(record), nullptr));
}

std::string TextAt(CellStore& cells, uint32_t row, uint16_t column) {
  const CellRecord* cell = cells.GetCell(row, column);
  return cell && cell->IsText() ? std::string(cell->Text(), cell->TextLength()) : "(none)";
}

TEST(TransformCells, ChangesLetterCaseOfTextCellsInTheRange) {
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
    CWorkSheet sheet("Sheet", 1);
    PutText(sheet.cells, 1, 1, c.text);
    PutText(sheet.cells, 0, 1, "above");  // outside the range
    PutText(sheet.cells, 2, 1, "spilled", kCellSpillValue);
    uint8_t number[kNumberCellSize];
    BuildNumberCell(number, sizeof number, 1, 2, 3.5);
    ASSERT_TRUE(sheet.cells.InsertCell(AsCellRecord(number), nullptr));

    ASSERT_TRUE(sheet.TransformCells(0, 5, 1, 2, c.mode)) << c.text;
    EXPECT_EQ(c.expected, TextAt(sheet.cells, 1, 1));
    EXPECT_EQ("above", TextAt(sheet.cells, 0, 1));
    EXPECT_EQ("spilled", TextAt(sheet.cells, 2, 1));
    EXPECT_EQ(3.5, sheet.cells.GetCell(1, 2)->Number());
    EXPECT_TRUE(sheet.cells.CheckInvariants());
  }
  CWorkSheet sheet("Sheet", 1);
  EXPECT_FALSE(sheet.TransformCells(0, 5, 1, 2, 7));
}

}  // namespace
