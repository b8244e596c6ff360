// Where Find searches next.

#include "app/document/find_start.h"

#include <gtest/gtest.h>

namespace {

TEST(FindStart, SearchesAfterTheTopLeftCellWrappingToTheNextRow) {
  const struct {
    uint32_t selection[4];  // first column, first row, last column, last row
    bool found;
    CellRange range;
    uint16_t startColumn;
    uint32_t startRow;
  } cases[] = {
      // One cell: the rest of the worksheet from its row.
      {{3, 5, 3, 5}, true, {0, 5, kMaxColumn, kMaxRow}, 4, 5},
      {{kMaxColumn, 5, kMaxColumn, 5}, true, {0, 5, kMaxColumn, kMaxRow}, 0, 6},
      {{kMaxColumn, kMaxRow, kMaxColumn, kMaxRow}, false, {}, 0, 0},
      // A range: the range itself.
      {{1, 1, 4, 9}, true, {1, 1, 4, 9}, 2, 1},
      {{kMaxColumn, 2, kMaxColumn, 9}, true, {kMaxColumn, 2, kMaxColumn, 9}, 0, 3},
  };
  for (const auto& c : cases) {
    FindSearch search{};
    ASSERT_EQ(PlanFindNext(c.selection[0], c.selection[1], c.selection[2], c.selection[3], &search), c.found);
    if (!c.found) continue;
    EXPECT_EQ(search.range.firstColumn, c.range.firstColumn);
    EXPECT_EQ(search.range.firstRow, c.range.firstRow);
    EXPECT_EQ(search.range.lastColumn, c.range.lastColumn);
    EXPECT_EQ(search.range.lastRow, c.range.lastRow);
    EXPECT_EQ(search.startColumn, c.startColumn);
    EXPECT_EQ(search.startRow, c.startRow);
  }
}

}  // namespace
