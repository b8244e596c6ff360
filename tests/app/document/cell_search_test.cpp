#include "app/document/cell_search.h"

#include <gtest/gtest.h>

#include "tests/core/eval_test_cells.h"

namespace {

struct Search {
  uint16_t firstColumn;
  uint16_t lastColumn;
  uint32_t reference;
  bool downward;
  uint8_t kind;
  bool found;
  uint32_t row;
};

void ExpectSearches(CellStore& cells, const Search* searches, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const Search& s = searches[i];
    uint32_t row = 12345;
    EXPECT_EQ(FindRowInSpan(&cells, s.firstColumn, s.lastColumn, s.reference, s.downward, s.kind, &row), s.found)
        << "search " << i;
    if (s.found) {
      EXPECT_EQ(row, s.row) << "search " << i;
    }
  }
}

TEST(CellSearch, RowsOfOneColumnByKind) {
  CellStore cells;
  // Column 0: 1, 1, 2, empty, 2 in rows 0 to 4.
  PutNumber(cells, 0, 0, 1);
  PutNumber(cells, 0, 1, 1);
  PutNumber(cells, 0, 2, 2);
  PutNumber(cells, 0, 4, 2);
  const Search searches[] = {
      {0, 0, 0, true, kSearchDifferent, true, 2},
      {0, 0, 0, true, kSearchIdentical, true, 1},
      {0, 0, 2, true, kSearchIdentical, true, 4},
      {0, 0, 0, true, kSearchEmpty, true, 3},
      {0, 0, 2, true, kSearchNonEmpty, true, 4},
      {0, 0, 4, false, kSearchEmpty, true, 3},
      {0, 0, 4, false, kSearchDifferent, true, 3},
      {0, 0, 4, false, kSearchIdentical, true, 2},
      // Past the last filled row nothing is filled; above row 0 nothing lies.
      {0, 0, 4, true, kSearchNonEmpty, false, 0},
      {0, 0, 0, false, kSearchEmpty, false, 0},
      {0, 0, 0, false, kSearchNonEmpty, false, 0},
      // Below the last cell every row is empty, up to the grid's last row.
      {0, 0, kMaxRow - 1, true, kSearchEmpty, true, kMaxRow},
      {0, 0, kMaxRow, true, kSearchEmpty, false, 0},
  };
  ExpectSearches(cells, searches, sizeof searches / sizeof searches[0]);
}

TEST(CellSearch, EveryColumnOfTheSpanMustFit) {
  CellStore cells;
  // Columns 1 and 2: row 0 both, row 1 only column 1, row 2 only column 2,
  // row 3 neither, row 4 both.
  PutText(cells, 1, 0, "a");
  PutText(cells, 2, 0, "b");
  PutText(cells, 1, 1, "a");
  PutText(cells, 2, 2, "b");
  PutText(cells, 1, 4, "x");
  PutText(cells, 2, 4, "y");
  const Search searches[] = {
      {1, 2, 0, true, kSearchEmpty, true, 3},
      {1, 2, 0, true, kSearchNonEmpty, true, 4},
      // Identical needs both columns equal; different needs both to differ.
      {1, 2, 0, true, kSearchIdentical, false, 0},
      {1, 2, 0, true, kSearchDifferent, true, 3},
      {1, 2, 4, false, kSearchDifferent, true, 3},
  };
  ExpectSearches(cells, searches, sizeof searches / sizeof searches[0]);
}

TEST(CellSearch, IdenticalMeansTheSameRecordApartFromItsRow) {
  CellStore cells;
  PutNumber(cells, 0, 0, 1);
  PutText(cells, 0, 1, "1");
  PutNumber(cells, 0, 2, 1);
  PutFormula(cells, 0, 3, "=1", 1, nullptr, 0, true);
  const CellRecord* number = cells.GetCell(0, 0);
  EXPECT_TRUE(CellsIdentical(number, cells.GetCell(2, 0)));
  EXPECT_FALSE(CellsIdentical(number, cells.GetCell(1, 0)));
  EXPECT_FALSE(CellsIdentical(number, cells.GetCell(3, 0)));
  EXPECT_FALSE(CellsIdentical(number, nullptr));
  EXPECT_TRUE(CellsIdentical(nullptr, nullptr));
}

}  // namespace
