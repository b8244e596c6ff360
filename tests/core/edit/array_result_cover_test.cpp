#include "core/edit/array_result_cover.h"

#include <gtest/gtest.h>

#include "core/workbook/workbook.h"

namespace {

// Converting formulas to values changes an array formula's whole result:
// the recorded rectangle grows right and down to hold every result that
// starts in it, and no further.
TEST(ArrayResultCover, GrowsToTheResultsOfArrayFormulasStartingInside) {
  CWorkBook book;
  ASSERT_TRUE(book.NewDocument());
  CellStore& cells = book.activeWorksheet->cells;
  FormulaCellFields fields;
  fields.formula = "={1,2,3;4,5,6}";
  fields.formulaLength = 14;
  fields.resultFlags = kResultArray | kResultCachedNumber;
  fields.arrayColumns = 3;
  fields.arrayRows = 2;
  uint8_t record[256];
  ASSERT_NE(BuildFormulaCell(record, sizeof record, 1, 1, fields), 0u);  // B2:D3
  ASSERT_TRUE(cells.InsertCell(AsCellRecord(record), nullptr));
  const struct {
    CellRange range;
    CellRange covered;
  } cases[] = {
      {{0, 0, 1, 1}, {0, 0, 3, 2}},  // holds the formula
      {{1, 1, 5, 1}, {1, 1, 5, 2}},  // already wider
      {{2, 0, 3, 5}, {2, 0, 3, 5}},  // cuts the result without its formula
  };
  for (const auto& c : cases) {
    const CellRange covered = CoverArrayResults(cells, c.range);
    EXPECT_EQ(covered.firstColumn, c.covered.firstColumn);
    EXPECT_EQ(covered.firstRow, c.covered.firstRow);
    EXPECT_EQ(covered.lastColumn, c.covered.lastColumn);
    EXPECT_EQ(covered.lastRow, c.covered.lastRow);
  }
}

}  // namespace
