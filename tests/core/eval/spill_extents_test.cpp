#include "core/eval/spill_extents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "tests/core/eval_test_cells.h"
#include "test_seed.h"

namespace {

struct Probe {
  uint32_t firstColumn, lastColumn, firstRow, lastRow;
};

bool Meets(const SpillExtent& area, const Probe& p) {
  return p.lastRow >= area.row && p.firstRow <= area.lastRow && p.lastColumn >= area.column &&
         p.firstColumn <= area.lastColumn;
}

// The first area of store in storage order that meets the rectangle and
// whose formula is not calculated, found by looking at every area.
const SpillExtent* ByScan(const std::vector<SpillExtent>& areas, CellStore* store, const Probe& probe) {
  const SpillExtent* found = nullptr;
  for (const SpillExtent& area : areas) {
    if (area.store != store || !Meets(area, probe))
      continue;
    const CellRecord* formula = store->GetCell(area.row, area.column);
    if (!(formula->ResultFlags() & kResultCalculated) &&
        (!found || area.row < found->row || (area.row == found->row && area.column < found->column)))
      found = &area;
  }
  return found;
}

TEST(SpillExtents, FindTheSameAreaAsAScanOfTheWholeList) {
  const uint32_t seed = TestSeed(42);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  auto below = [&](uint32_t n) { return uint32_t(random() % n); };
  CellStore stores[2];
  std::vector<SpillExtent> areas;
  // Small areas over many rows, some tall ones reaching far down, and
  // overlaps, as stale extents can leave them; listed worksheet by worksheet.
  for (CellStore& store : stores) {
    for (uint32_t row = 0; row < 3000; row += 1 + below(6)) {
      const uint16_t column = uint16_t(below(8));
      if (store.GetCell(row, column))
        continue;
      const uint32_t rows = below(40) == 0 ? 200 + below(400) : 1 + below(3);
      areas.push_back({&store, column, row, uint16_t(column + below(3)), row + rows - 1, 0, 0});
      PutFormula(store, column, row, "=1", 0.0, nullptr, 0, below(3) == 0);
    }
  }
  EXPECT_EQ(FindStaleSpillArea(nullptr, 0, &stores[0], 0, 0, 0, 0), nullptr);
  const std::vector<SpillExtent> listed = areas;
  uint32_t firstColumn = 0, lastColumn = 0;
  OrderSpillExtents(areas.data(), uint32_t(areas.size()), &firstColumn, &lastColumn);
  // The columns every area lies within, which lets a range beside them all
  // skip the search.
  uint32_t lowest = kMaxColumn, highest = 0;
  for (const SpillExtent& area : listed) {
    lowest = std::min<uint32_t>(lowest, area.column);
    highest = std::max<uint32_t>(highest, area.lastColumn);
  }
  EXPECT_EQ(firstColumn, lowest);
  EXPECT_EQ(lastColumn, highest);
  // Single cells and, every other probe, rectangles up to 3 x 60.
  for (int i = 0; i < 4000; ++i) {
    CellStore* store = &stores[below(2)];
    const uint32_t column = below(12);
    const uint32_t row = below(3700);
    const Probe probe = i % 2 ? Probe{column, column, row, row} : Probe{column, column + below(3), row, row + below(60)};
    const SpillExtent* expected = ByScan(listed, store, probe);
    const SpillExtent* found = FindStaleSpillArea(areas.data(), uint32_t(areas.size()), store, probe.firstColumn,
                                                  probe.lastColumn, probe.firstRow, probe.lastRow);
    ASSERT_EQ(found != nullptr, expected != nullptr) << "at " << column << "," << row;
    if (found) {
      EXPECT_EQ(found->store, store);
      EXPECT_EQ(found->row, expected->row);
      EXPECT_EQ(found->column, expected->column);
    }
  }
}

}  // namespace
