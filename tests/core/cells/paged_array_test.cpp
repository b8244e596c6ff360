#include "core/cells/paged_array.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>
#include "test_seed.h"

namespace {

// Allocation control shared by the tests: a countdown of allocations that
// succeed (negative: unlimited), a random failure rate, and a count of the
// allocations that were let through.
struct AllocationPlan {
  int allowed = -1;
  std::mt19937* random = nullptr;
  unsigned failPercent = 0;
  int granted = 0;
};
AllocationPlan plan;

bool PlannedGate(size_t) {
  if (plan.allowed == 0) return false;
  if (plan.random && (*plan.random)() % 100 < plan.failPercent) return false;
  if (plan.allowed > 0) --plan.allowed;
  ++plan.granted;
  return true;
}

class ScopedAllocationPlan {
 public:
  ScopedAllocationPlan() {
    plan = AllocationPlan();
    SetPagedArrayAllocationGateForTesting(PlannedGate);
  }
  ~ScopedAllocationPlan() {
    SetPagedArrayAllocationGateForTesting(nullptr);
    plan = AllocationPlan();
  }
};

std::vector<uint8_t> RandomRecord(std::mt19937& random, size_t size) {
  std::vector<uint8_t> record(size);
  for (uint8_t& byte : record) byte = static_cast<uint8_t>(random());
  return record;
}

// Random appends (one at a time or zeroed in bulk), reads, table builds,
// clears, truncations and failed allocations against a vector of records,
// for every record size in use and two odd ones.
TEST(PagedArray, BehavesLikeAVectorOfRecords) {
  const uint16_t sizes[] = {2, 16, 24, 32, 44, 52, 396, 8182, 4092};
  for (uint16_t size : sizes) {
    for (uint32_t run = 0; run < 3; ++run) {
      const uint32_t seed = TestSeed(1000u * size + run);
      SCOPED_TRACE(::testing::Message() << "record size " << size << ", seed " << seed
                                        << " (TALVERO_TEST_SEED reruns it)");
      std::mt19937 random(seed);
      ScopedAllocationPlan allocations;
      plan.random = &random;

      PagedArray array(size);
      std::vector<std::vector<uint8_t>> model;
      const uint8_t* pinned = nullptr;  // a record that must never move
      size_t pinnedIndex = 0;
      // Enough appends to span several pages even for small records.
      const size_t appendsPerBurst = 3 * array.RecordsPerPage() / 2 + 1;

      for (int step = 0; step < 60; ++step) {
        const unsigned op = random() % 10;
        if (op < 5) {
          plan.failPercent = op == 0 ? 2 : op == 4 ? 20 : 0;
          const size_t burst = random() % appendsPerBurst;
          if (op == 4) {
            // Zeroed records a page at a time: a failure keeps those appended before it.
            const uint32_t before = array.Count();
            if (array.AppendZeroed(static_cast<uint32_t>(burst)))
              ASSERT_EQ(before + burst, array.Count());
            else
              ASSERT_LT(array.Count(), before + burst);
            model.resize(array.Count(), std::vector<uint8_t>(size, 0));
          }
          for (size_t k = 0; op != 4 && k < burst; ++k) {
            std::vector<uint8_t> record = RandomRecord(random, size);
            const uint32_t before = array.Count();
            if (array.Append(record.data())) {
              model.push_back(record);
            } else {
              ASSERT_EQ(before, array.Count());
            }
          }
          plan.failPercent = 0;
        } else if (op < 7) {
          plan.failPercent = op == 5 ? 50 : 0;
          const bool built = array.BuildPageTable();
          EXPECT_EQ(built, array.TableValid());
          plan.failPercent = 0;
        } else if (op == 7) {
          const bool keep = random() % 2 == 0;
          const uint32_t poolBefore = array.PoolCount();
          const uint32_t pagesBefore = array.PageCount();
          array.Clear(keep);
          model.clear();
          pinned = nullptr;
          EXPECT_EQ(poolBefore + (keep ? pagesBefore : 0), array.PoolCount());
        } else if (op == 8 && random() % 4 == 0) {
          array.Free();
          model.clear();
          pinned = nullptr;
          EXPECT_EQ(0u, array.PoolCount());
        } else if (op == 9 && random() % 2 == 0) {
          const uint32_t count = static_cast<uint32_t>(random() % (model.size() + 2));
          const uint32_t pagesBefore = array.PageCount();
          const uint32_t poolBefore = array.PoolCount();
          array.Truncate(count);
          if (count < model.size()) model.resize(count);
          if (pinned && pinnedIndex >= model.size()) pinned = nullptr;
          EXPECT_EQ(pagesBefore + poolBefore, array.PageCount() + array.PoolCount()) << "pages are kept";
        } else if (!model.empty() && !pinned) {
          pinnedIndex = random() % model.size();
          pinned = array.At(static_cast<uint32_t>(pinnedIndex));
        }

        ASSERT_TRUE(array.CheckInvariants()) << "after step " << step;
        ASSERT_EQ(model.size(), array.Count());
        EXPECT_EQ(nullptr, array.At(array.Count()));
        if (pinned) {
          EXPECT_EQ(pinned, array.At(static_cast<uint32_t>(pinnedIndex)));
        }
        for (int probe = 0; probe < 40 && !model.empty(); ++probe) {
          const size_t i = probe == 0 ? model.size() - 1 : random() % model.size();
          const uint8_t* record = array.At(static_cast<uint32_t>(i));
          ASSERT_NE(nullptr, record) << "record " << i;
          ASSERT_EQ(0, std::memcmp(record, model[i].data(), size)) << "record " << i;
        }
      }
    }
  }
}

TEST(PagedArray, RecordsFillEachPageBeforeTheNext) {
  struct Case {
    uint16_t size;
    uint32_t perPage;
  };
  const Case cases[] = {{2, 4091}, {16, 511}, {24, 340}, {32, 255},
                        {44, 185}, {52, 157}, {396, 20}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    PagedArray array(c.size);
    EXPECT_EQ(c.perPage, array.RecordsPerPage());
    std::vector<uint8_t> record(c.size, 0xAB);
    for (uint32_t i = 0; i <= c.perPage; ++i) ASSERT_TRUE(array.Append(record.data()));
    ASSERT_EQ(2u, array.PageCount());
    const PagedArrayPage* second = array.FirstPage()->next;
    EXPECT_EQ(second->payload, array.At(c.perPage));
    ASSERT_TRUE(array.BuildPageTable());
    EXPECT_EQ(second->payload, array.At(c.perPage));
    EXPECT_EQ(array.FirstPage()->payload + (c.perPage - 1) * c.size, array.At(c.perPage - 1));
  }
}

TEST(PagedArray, AppendInvalidatesTheTableAndReadsStillFollowTheChain) {
  PagedArray396 array;
  uint8_t record[396] = {};
  for (uint32_t i = 0; i < 45; ++i) {
    record[0] = static_cast<uint8_t>(i);
    ASSERT_TRUE(array.Append(record));
  }
  ASSERT_TRUE(array.BuildPageTable());
  record[0] = 45;
  ASSERT_TRUE(array.Append(record));
  EXPECT_FALSE(array.TableValid());
  for (uint32_t i = 0; i < 46; ++i) ASSERT_EQ(i, array.At(i)[0]);
  ASSERT_TRUE(array.BuildPageTable());
  for (uint32_t i = 0; i < 46; ++i) ASSERT_EQ(i, array.At(i)[0]);
  EXPECT_TRUE(array.CheckInvariants());
}

TEST(PagedArray, ClearedPagesAreReusedBeforeTheHeap) {
  ScopedAllocationPlan allocations;
  PagedArray32 array;
  uint8_t record[32] = {};
  const uint32_t records = 3 * PagedArray32::kRecordsPerPage;
  for (uint32_t i = 0; i < records; ++i) ASSERT_TRUE(array.Append(record));
  ASSERT_EQ(3u, array.PageCount());
  ASSERT_EQ(3, plan.granted);

  array.Clear(true);
  EXPECT_EQ(3u, array.PoolCount());
  plan.granted = 0;
  for (uint32_t i = 0; i < records; ++i) ASSERT_TRUE(array.Append(record));
  EXPECT_EQ(0, plan.granted);
  EXPECT_EQ(0u, array.PoolCount());

  ASSERT_TRUE(array.Append(record));
  EXPECT_EQ(1, plan.granted);
  EXPECT_TRUE(array.CheckInvariants());
}

TEST(PagedArray, FailedAppendLeavesTheArrayUnchanged) {
  ScopedAllocationPlan allocations;
  PagedArray52 array;
  uint8_t record[52] = {1};
  plan.allowed = 0;
  EXPECT_FALSE(array.Append(record));
  EXPECT_EQ(0u, array.Count());
  EXPECT_EQ(nullptr, array.FirstPage());
  EXPECT_EQ(nullptr, array.At(0));

  plan.allowed = 2;  // one page and its table
  for (uint32_t i = 0; i < PagedArray52::kRecordsPerPage; ++i) ASSERT_TRUE(array.Append(record));
  ASSERT_TRUE(array.BuildPageTable());
  EXPECT_FALSE(array.Append(record));
  EXPECT_EQ(PagedArray52::kRecordsPerPage, array.Count());
  EXPECT_EQ(1u, array.PageCount());
  EXPECT_TRUE(array.TableValid());
  EXPECT_TRUE(array.CheckInvariants());
}

TEST(PagedArray, FailedTableBuildKeepsReadsWorking) {
  ScopedAllocationPlan allocations;
  PagedArray44 array;
  uint8_t record[44] = {};
  for (uint32_t i = 0; i < 400; ++i) {
    record[0] = static_cast<uint8_t>(i);
    ASSERT_TRUE(array.Append(record));
  }
  plan.allowed = 0;
  EXPECT_FALSE(array.BuildPageTable());
  EXPECT_FALSE(array.TableValid());
  for (uint32_t i = 0; i < 400; ++i) ASSERT_EQ(static_cast<uint8_t>(i), array.At(i)[0]);
}

TEST(PagedArray, RecordSizeThatDoesNotFitAPageRefusesAppends) {
  const uint16_t sizes[] = {0, 8183, 65535};
  for (uint16_t size : sizes) {
    PagedArray array(size);
    std::vector<uint8_t> record(size + 1u);
    EXPECT_FALSE(array.Append(record.data())) << size;
    EXPECT_EQ(nullptr, array.At(0));
    EXPECT_TRUE(array.CheckInvariants());
  }
}

}  // namespace
