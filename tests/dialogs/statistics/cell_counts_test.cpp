#include "dialogs/statistics/cell_counts.h"

#include <gtest/gtest.h>

#include <string>

#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "tests/core/eval_test_cells.h"

namespace {

std::string Formatted(uint32_t count, const RegionalSettings* separators) {
  char text[64];
  FormatCount(count, separators, text, sizeof text);
  return text;
}

TEST(CellCounts, CountsCellsByKindAndFormulasByTheirResults) {
  CWorkBook book;
  ASSERT_TRUE(book.NewDocument());
  CellStore& cells = book.activeWorksheet->cells;
  PutNumber(cells, 0, 0, 1);
  PutNumber(cells, 0, 1, 2);
  PutNumber(cells, 3, 9, 3);
  PutText(cells, 1, 0, "a");
  PutText(cells, 1, 1, "b");
  PutFormula(cells, 2, 0, "=R1C1+1", 2, nullptr, 0, true);
  PutFormula(cells, 2, 1, "=1/0", 0, nullptr, kErrorDivZero, true);
  CellCounts counts = CountCells(*book.activeWorksheet);
  EXPECT_EQ(counts.total, 7u);
  EXPECT_EQ(counts.texts, 2u);
  EXPECT_EQ(counts.numbers, 3u);
  EXPECT_EQ(counts.formulas, 2u);
  EXPECT_EQ(counts.textFormulas, 0u);
  EXPECT_EQ(counts.numberFormulas, 1u);
  EXPECT_EQ(counts.arrayFormulas, 0u);
  EXPECT_EQ(counts.errorFormulas, 1u);
  EXPECT_EQ(counts.containers, 0u);

  PutFormula(cells, 4, 0, "=\"x\"", 0, "x", 0, true);
  ContainerRecord* container = new ContainerRecord;
  book.activeWorksheet->AddContainer(container);
  counts = CountCells(*book.activeWorksheet);
  EXPECT_EQ(counts.textFormulas, 1u);
  EXPECT_EQ(counts.formulas, 3u);
  EXPECT_EQ(counts.total, 8u);
  EXPECT_EQ(counts.containers, 1u);
  // The list's columns follow their titles.
  EXPECT_STREQ(kStatisticsColumnTitles[1], "Total cells");
  EXPECT_EQ(CountOfColumn(counts, 1), 8u);
  EXPECT_EQ(CountOfColumn(counts, 8), 1u);
  EXPECT_EQ(CountOfColumn(counts, 9), 1u);
}

TEST(CellCounts, CountsShowWithTheRegionsThousandsSeparator) {
  RegionalSettings dotted = kGenericRegionalSettings;
  dotted.thousandsSeparator = '.';
  dotted.decimalSeparator = ',';
  EXPECT_EQ(Formatted(12345, &kGenericRegionalSettings), "12,345");
  EXPECT_EQ(Formatted(1234567, &dotted), "1.234.567");
}

}  // namespace
