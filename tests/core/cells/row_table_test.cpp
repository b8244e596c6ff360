#include "core/cells/row_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

namespace {

int allocationsLeft = -1;  // negative: unlimited

bool CountdownGate(size_t) {
  if (allocationsLeft == 0) return false;
  if (allocationsLeft > 0) --allocationsLeft;
  return true;
}

class ScopedAllocationLimit {
 public:
  explicit ScopedAllocationLimit(int allowed) {
    allocationsLeft = allowed;
    SetPagedArrayAllocationGateForTesting(CountdownGate);
  }
  ~ScopedAllocationLimit() {
    SetPagedArrayAllocationGateForTesting(nullptr);
    allocationsLeft = -1;
  }
};

std::vector<uint16_t> Contents(const RowTable& table) {
  std::vector<uint16_t> rows;
  for (uint32_t row = 0; row < table.Count(); ++row) rows.push_back(*table.At(row));
  return rows;
}

TEST(RowTable, RecordAfterAFullPageOpensTheSecondPage) {
  RowTable table;
  for (uint32_t row = 0; row < 4092; ++row) ASSERT_TRUE(table.Append(static_cast<uint16_t>(row)));
  EXPECT_EQ(2u, table.PageCount());
  ASSERT_TRUE(table.BuildPageTable());
  const PagedArrayPage* second = table.FirstPage()->next;
  EXPECT_EQ(reinterpret_cast<const uint16_t*>(second->payload), table.At(4091));
  EXPECT_EQ(4091, *table.At(4091));
  EXPECT_EQ(nullptr, table.At(4092));
}

TEST(RowTable, ForEachRowRecordGivesEveryRecordInRowOrderAcrossPages) {
  RowTable table;
  std::vector<uint16_t> visited;
  table.ForEachRowRecord([&](uint16_t record) { visited.push_back(record); });
  EXPECT_TRUE(visited.empty());
  for (uint32_t row = 0; row < 9000; ++row) ASSERT_TRUE(table.Append(static_cast<uint16_t>(row * 7)));
  table.ForEachRowRecord([&](uint16_t record) { visited.push_back(record); });
  EXPECT_EQ(visited, Contents(table));
  uint32_t bytes = 0;
  table.ForEachPageBytes([&](const uint8_t*, uint32_t length) { bytes += length; });
  EXPECT_EQ(bytes, 2u * 9000);
}

TEST(RowTable, SetRowGrowsWithDefaultRowsAndKeepsFlagBits) {
  RowTable table;
  ASSERT_TRUE(table.SetRow(5000, 30, true));
  ASSERT_EQ(5001u, table.Count());
  EXPECT_EQ((30 << 1) | 1, *table.At(5000));
  for (uint32_t row : {0u, 4090u, 4091u, 4999u}) EXPECT_EQ(0, *table.At(row)) << row;

  struct Case {
    uint16_t before;
    uint16_t height;
    bool fixed;
    uint16_t after;
  };
  const Case cases[] = {
      {0xE000, 30, false, 0xE000 | (30 << 1)},   // flags 13-15 stay
      {0xA001 | (7 << 1), 0, false, 0xA000},       // back to default height
      {0x0000, 4095, true, 0x1FFF},                // widest height
      {0x6000, 4096 + 5, true, 0x6000 | (5 << 1) | 1},  // masked to 12 bits
  };
  for (const Case& c : cases) {
    *table.At(12) = c.before;
    ASSERT_TRUE(table.SetRow(12, c.height, c.fixed));
    EXPECT_EQ(c.after, *table.At(12)) << std::hex << c.before;
  }
  EXPECT_EQ(5001u, table.Count());
  EXPECT_TRUE(table.CheckInvariants());
}

TEST(RowTable, SetRowRefusesRowsOutsideTheSheetAndFailedGrowth) {
  RowTable table;
  EXPECT_FALSE(table.SetRow(RowTable::kMaxRows, 10, true));
  EXPECT_EQ(0u, table.Count());
  ASSERT_TRUE(table.SetRow(RowTable::kMaxRows - 1, 10, true));
  EXPECT_EQ(RowTable::kMaxRows, table.Count());

  RowTable small;
  ScopedAllocationLimit limit(1);
  EXPECT_FALSE(small.SetRow(4091, 10, true));  // needs a second page
  EXPECT_EQ(4091u, small.Count());
  for (uint16_t record : Contents(small)) ASSERT_EQ(0, record);
  EXPECT_TRUE(small.CheckInvariants());
}

TEST(RowTable, CopyFromReplacesTheRecords) {
  std::mt19937 random(7);
  RowTable source;
  for (uint32_t row = 0; row < 9000; ++row) ASSERT_TRUE(source.Append(static_cast<uint16_t>(random())));
  RowTable target;
  for (uint32_t row = 0; row < 100; ++row) ASSERT_TRUE(target.Append(1));

  ASSERT_TRUE(target.CopyFrom(source));
  EXPECT_EQ(Contents(source), Contents(target));
  EXPECT_TRUE(target.CheckInvariants());

  RowTable empty;
  ASSERT_TRUE(target.CopyFrom(empty));
  EXPECT_EQ(0u, target.Count());

  ASSERT_TRUE(source.CopyFrom(source));
  EXPECT_EQ(9000u, source.Count());
}

TEST(RowTable, FailedCopyLeavesTheTargetEmptyWithItsPagesPooled) {
  RowTable source;
  for (uint32_t row = 0; row < 3 * 4091; ++row) ASSERT_TRUE(source.Append(static_cast<uint16_t>(row)));
  RowTable target;
  for (uint32_t row = 0; row < 4091 + 1; ++row) ASSERT_TRUE(target.Append(9));
  ASSERT_EQ(2u, target.PageCount());

  ScopedAllocationLimit limit(0);  // the target's own two pages, then nothing
  EXPECT_FALSE(target.CopyFrom(source));
  EXPECT_EQ(0u, target.Count());
  EXPECT_EQ(0u, target.PageCount());
  EXPECT_EQ(2u, target.PoolCount());
  EXPECT_TRUE(target.CheckInvariants());
}

}  // namespace
