#include "core/styles/style_run_block_checks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/styles/style_run_store.h"

namespace {

std::vector<uint8_t> Block(std::initializer_list<StyleRun> runs) {
  std::vector<uint8_t> bytes(runs.size() * sizeof(StyleRun));
  std::memcpy(bytes.data(), runs.begin(), bytes.size());
  return bytes;
}

bool Check(std::vector<uint8_t> block, StoredOrder* order, uint16_t styleCount = 4) {
  return CheckStyleRunBlock(block.data(), uint32_t(block.size()), order, styleCount);
}

TEST(StyleRunBlockChecks, RefusesRunsTheStoreCouldNotHold) {
  std::vector<uint8_t> cut = Block({{1, 2, 3, 0}});
  cut.pop_back();
  const struct {
    const char* what;
    std::vector<uint8_t> block;
  } cases[] = {
      {"a run cut short", cut},
      {"reversed columns", Block({{5, 4, 3, 0}})},
      {"a column past the grid", Block({{1, kColumnCount, 3, 0}})},
      {"a row past the grid", Block({{1, 2, kRowCount, 0}})},
      {"overlapping runs", Block({{1, 5, 3, 0}, {5, 6, 3, 0}})},
      {"a row before the one ahead of it", Block({{1, 5, 3, 0}, {7, 8, 2, 0}})},
  };
  for (const auto& c : cases) {
    StoredOrder order;
    EXPECT_FALSE(Check(c.block, &order)) << c.what;
  }
  StoredOrder order;
  EXPECT_TRUE(Check(Block({{1, 5, 3, 0}, {6, 6, 3, 1}, {0, kMaxColumn, kMaxRow, 2}}), &order));
}

TEST(StyleRunBlockChecks, OrderHoldsAcrossBlocksAndUnknownStylesBecomeTheFirst) {
  StoredOrder order;
  std::vector<uint8_t> first = Block({{2, 9, 4, 1}, {3, 3, 6, 9}});
  ASSERT_TRUE(CheckStyleRunBlock(first.data(), uint32_t(first.size()), &order, 4));
  StyleRun second;
  std::memcpy(&second, first.data() + sizeof(StyleRun), sizeof second);
  EXPECT_EQ(second.style, 0);
  EXPECT_EQ(order.row, 6u);
  EXPECT_EQ(order.column, 3u);
  EXPECT_FALSE(Check(Block({{3, 4, 6, 1}}), &order));
  EXPECT_TRUE(Check(Block({{4, 4, 6, 1}}), &order));
}

}  // namespace
