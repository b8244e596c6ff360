// The pass's lists of long columns: which records a list names, and when no
// list may serve.

#include "core/formula/column_cells.h"

#include <gtest/gtest.h>

#include <string>

#include "core/cells/cell_store.h"
#include "tests/core/eval_test_cells.h"

namespace {

constexpr uint32_t kLastRow = 1999;

// The rows column B's list names, rows 1 to 2000; "none" when none serves.
std::string ListedRows(ColumnCells& lists, CellStore& store) {
  const CellRecord* const* first = nullptr;
  const CellRecord* const* last = nullptr;
  if (!lists.Cells(&store, 1, 0, kLastRow, &first, &last))
    return "none";
  std::string rows;
  for (; first != last; ++first) {
    if ((*first)->Column() != 1)
      return "column " + std::to_string((*first)->Column());
    rows += std::to_string((*first)->Row()) + " ";
  }
  return rows;
}

TEST(ColumnCells, ListsAColumnsRecordsInRowOrderFromItsSecondWalkAndAfterEveryChange) {
  CellStore store;
  for (uint32_t row : {0u, 7u, 1500u}) {
    PutNumber(store, 0, row, 1);  // neighbours on both sides are passed over
    PutNumber(store, 1, row, double(row));
    PutNumber(store, 2, row, 2);
  }
  PutNumber(store, 1, kLastRow + 1, 5);  // below the range
  ColumnCells lists;
  lists.BeginPass();
  EXPECT_EQ(ListedRows(lists, store), "none");
  EXPECT_EQ(ListedRows(lists, store), "0 7 1500 ");
  EXPECT_EQ(lists.BuildCount(), 1u);
  // A value rewritten in place is read where the list points.
  const CellRecord* const* first = nullptr;
  const CellRecord* const* last = nullptr;
  ASSERT_TRUE(lists.Cells(&store, 1, 0, kLastRow, &first, &last));
  store.GetCell(7, 1)->SetNumber(42);
  EXPECT_EQ(first[1]->Number(), 42);
  EXPECT_EQ(lists.BuildCount(), 1u);
  // A record inserted moves others: the list is made again.
  PutNumber(store, 1, 3, 3);
  EXPECT_EQ(ListedRows(lists, store), "0 3 7 1500 ");
  EXPECT_EQ(lists.BuildCount(), 2u);
  // Short ranges are never listed; outside a pass and switched off nothing serves.
  EXPECT_FALSE(lists.Cells(&store, 1, 0, ColumnCells::kMinRows - 2, &first, &last));
  EXPECT_FALSE(lists.Cells(&store, 1, 0, ColumnCells::kMinRows - 2, &first, &last));
  lists.EndPass();
  EXPECT_EQ(ListedRows(lists, store), "none");
  lists.BeginPass();
  lists.SetEnabled(false);
  EXPECT_EQ(ListedRows(lists, store), "none");
  EXPECT_EQ(ListedRows(lists, store), "none");
}

// An empty column is listed as empty, not made again at every walk; a
// store that keeps changing is walked as it lies after a few lists.
TEST(ColumnCells, EmptyColumnsAndStoresThatKeepChanging) {
  CellStore store;
  PutNumber(store, 0, 10, 1);
  ColumnCells lists;
  lists.BeginPass();
  ListedRows(lists, store);
  EXPECT_EQ(ListedRows(lists, store), "");
  EXPECT_EQ(ListedRows(lists, store), "");
  EXPECT_EQ(lists.BuildCount(), 1u);
  for (uint32_t change = 1; change < PassRangeTables::kMaxBuilds; ++change) {
    PutNumber(store, 1, change, 1);
    EXPECT_NE(ListedRows(lists, store), "none") << change;
  }
  PutNumber(store, 1, 100, 1);
  EXPECT_EQ(ListedRows(lists, store), "none");
  EXPECT_EQ(lists.BuildCount(), uint32_t(PassRangeTables::kMaxBuilds));
}

}  // namespace
