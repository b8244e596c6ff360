#include "app/frame/selection_statistics.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/cells/cell_store.h"

namespace {

class SelectionStatisticsTest : public ::testing::Test {
 protected:
  void Number(uint32_t row, uint16_t column, double value, uint8_t error = 0) {
    alignas(8) uint8_t record[64];
    ASSERT_GT(BuildNumberCell(record, sizeof record, row, column, value, error), 0u);
    ASSERT_TRUE(store.InsertCell(AsCellRecord(record), nullptr));
  }
  void Text(uint32_t row, uint16_t column, const char* text) {
    alignas(8) uint8_t record[64];
    ASSERT_GT(BuildTextCell(record, sizeof record, row, column, text, static_cast<uint16_t>(std::strlen(text))), 0u);
    ASSERT_TRUE(store.InsertCell(AsCellRecord(record), nullptr));
  }
  void Formula(uint32_t row, uint16_t column, double number, const char* text, uint8_t error = 0) {
    alignas(8) uint8_t record[128];
    FormulaCellFields fields;
    fields.formula = "1";
    fields.formulaLength = 1;
    fields.resultFlags = text ? 0 : kResultCachedNumber;
    fields.cachedNumber = number;
    fields.cachedText = text;
    fields.cachedTextLength = text ? static_cast<uint16_t>(std::strlen(text)) : 0;
    fields.typeExtra = error;
    ASSERT_GT(BuildFormulaCell(record, sizeof record, row, column, fields), 0u);
    ASSERT_TRUE(store.InsertCell(AsCellRecord(record), nullptr));
  }
  std::string Status(uint16_t c1, uint16_t c2, uint32_t r1, uint32_t r2) {
    char text[kSelectionStatusCapacity];
    FormatSelectionStatus(ComputeSelectionStatistics(store, c1, c2, r1, r2), nullptr, text, sizeof text);
    return text;
  }

  CellStore store;
};

TEST_F(SelectionStatisticsTest, CountsNumbersAndTextsAndSkipsErrorCells) {
  Number(0, 0, 2);
  Number(0, 1, 4.5);
  Text(0, 2, "a");
  Formula(1, 0, 10, nullptr);
  Formula(1, 1, 0, "b");
  Number(1, 2, 1000, 0x10);          // an error value
  Formula(2, 0, 99, nullptr, 0x20);  // a formula giving an error
  Number(5, 0, 7);                   // outside the selection
  const SelectionStatistics s = ComputeSelectionStatistics(store, 0, 2, 0, 2);
  EXPECT_EQ(s.numbers, 3u);
  EXPECT_EQ(s.texts, 2u);
  EXPECT_EQ(s.sum, 16.5);
  EXPECT_EQ(s.minimum, 2);
  EXPECT_EQ(s.maximum, 10);
  EXPECT_EQ(Status(0, 2, 0, 2), "Sum=16.5  Min=2  Max=10  Numbers: 3  Text: 2");
}

TEST_F(SelectionStatisticsTest, NegativeNumbersOnlyGiveTheirTrueMaximum) {
  Number(3, 3, -5);
  Number(4, 3, -2.25);
  EXPECT_EQ(Status(3, 3, 0, 10), "Sum=-7.25  Min=-5  Max=-2.25  Numbers: 2  Text: 0");
}

TEST_F(SelectionStatisticsTest, TextsOnlyOrNothingSelected) {
  Text(0, 0, "x");
  Text(1, 0, "y");
  Number(0, 5, 1);
  EXPECT_EQ(Status(0, 1, 0, 10), "Numbers: 0  Text: 2");
  EXPECT_EQ(Status(2, 4, 0, 10), "Ready");
  const SelectionStatistics s = ComputeSelectionStatistics(store, 2, 4, 0, 10);
  EXPECT_EQ(s.minimum, 0);
  EXPECT_EQ(s.maximum, 0);
}

}  // namespace
