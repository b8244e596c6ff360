#include "core/cells/cell_record_buffer.h"

#include <gtest/gtest.h>

#include <string>

#include "core/cells/cell_store.h"

namespace {

// The limits readers cut texts by are exactly what one block takes.
TEST(CellRecordBuffer, TheLongestTextsFillOneBlockExactly) {
  static CellRecordBuffer record;
  CellStore store;
  const std::string text(kLongestRecordText + 1, 'x');
  EXPECT_EQ(record.BuildText(3, 4, text.data(), kLongestRecordText + 1), 0u);
  ASSERT_EQ(record.BuildText(3, 4, text.data(), kLongestRecordText), kLargestCellRecord);
  EXPECT_TRUE(store.InsertCell(record.Record(), nullptr));

  const std::string formula = "=" + std::string(99, '1');
  FormulaCellFields fields;
  fields.formula = formula.data();
  fields.formulaLength = uint16_t(formula.size());
  fields.cachedText = text.data();
  fields.cachedTextLength = uint16_t(LongestCachedText(fields.formulaLength) + 1);
  EXPECT_EQ(record.BuildFormula(3, 5, fields), 0u);
  --fields.cachedTextLength;
  ASSERT_EQ(record.BuildFormula(3, 5, fields), kLargestCellRecord);
  EXPECT_TRUE(store.InsertCell(record.Record(), nullptr));
  EXPECT_EQ(store.BlockCount(), 2u);
  EXPECT_EQ(store.GetCell(3, 5)->CachedTextLength(), fields.cachedTextLength);

  EXPECT_EQ(record.BuildNumber(3, 6, 2.5), kNumberCellSize);
  EXPECT_EQ(record.Record()->Number(), 2.5);
}

}  // namespace
