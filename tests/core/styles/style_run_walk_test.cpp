#include "core/styles/style_run_walk.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(StyleRunWalk, GoesAlongEveryRunInOrderAcrossBlocks) {
  StyleRunStore store;
  StyleRunWalk none(store);
  EXPECT_EQ(none.Current(), nullptr);
  EXPECT_EQ(LastStyleRun(store), nullptr);

  // Three runs a row with gaps, so that none merges: several blocks.
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  std::vector<uint32_t> expected;
  for (uint32_t row = 0; row < 1000; ++row)
    for (uint16_t first = 0; first < 9; first += 3) {
      ASSERT_TRUE(store.InsertRun(StyleRun{first, uint16_t(first + 1), row, uint16_t(row % 7)}, &cursor));
      expected.push_back(row * 16 + first);
    }
  ASSERT_GT(store.BlockCount(), 3u);

  std::vector<uint32_t> walked;
  StyleRunWalk walk(store);
  for (const StyleRun* run; (run = walk.Current()) != nullptr; walk.Advance()) {
    const uint32_t row = run->row;
    walked.push_back(row * 16 + run->firstColumn);
  }
  EXPECT_EQ(walked, expected);
  const StyleRun* last = LastStyleRun(store);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->row, 999u);
  EXPECT_EQ(last->firstColumn, 6);
}

}  // namespace
