#include "core/eval/eval_array_builder.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "tests/test_seed.h"

namespace {

struct Built {
  std::vector<std::vector<uint8_t>> blocks;
  bool failed = false;
  uint32_t left = 0;
};

// Finishes the builder and keeps its chain's blocks, giving them back to
// the store's pool.
Built Keep(CellStore& store, ArrayBuilder& builder, uint32_t left) {
  Built built;
  built.failed = builder.Failed();
  built.left = left;
  CellBlock* chain = builder.Finish();
  for (const CellBlock* block = chain; block; block = block->next)
    built.blocks.emplace_back(block->payload, block->payload + block->used);
  store.ReleaseChain(chain);
  return built;
}

double Element(std::mt19937& random) {
  switch (random() % 12) {
    case 0:
      return std::numeric_limits<double>::infinity();
    case 1:
      return std::numeric_limits<double>::quiet_NaN();
    case 2:
      return DBL_MIN / 4;  // subnormal
    case 3:
      return -0.0;
    default:
      return double(int(random() % 20001) - 10000) / 8.0;
  }
}

// A rectangle added at once gives the cells, the failure and the budget
// left that adding its elements one at a time gives: after cells added
// singly, across several blocks, with budgets that run out, and off the
// grid's edge.
TEST(ArrayBuilder, RectangleAtOnceMatchesElementByElement) {
  const uint32_t seed = TestSeed(20261208u);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  CellStore store;
  for (int trial = 0; trial < 300; ++trial) {
    const uint32_t columns = 1 + random() % (trial % 10 == 0 ? 60 : 6);
    const uint32_t rows = 1 + random() % (trial % 10 == 0 ? 300 : 8);
    const uint32_t stride = columns + random() % 3;
    const uint32_t before = random() % 3;  // rows added singly first
    uint32_t firstColumn = 0;
    uint32_t firstRow = before;
    if (trial % 25 == 7) {
      firstColumn = kMaxColumn + 1 - columns + random() % 2;
      firstRow = kMaxRow + 1 - rows + random() % 2;
    }
    std::vector<double> values(size_t(stride) * rows);
    for (double& value : values) value = Element(random);
    const uint32_t total = before * columns + columns * rows;
    const uint32_t budget = random() % 4 == 0 ? random() % (total + 2) : 100000;

    const auto run = [&](bool atOnce) {
      uint32_t left = budget;
      ArrayBuilder builder(store, &left);
      for (uint32_t r = 0; r < before; ++r)
        for (uint32_t c = 0; c < columns; ++c) builder.AddNumber(c, r, r + c / 4.0, 0);
      if (atOnce) {
        builder.AddNumbers(firstColumn, firstRow, columns, rows, values.data(), stride);
      } else {
        bool ok = true;
        for (uint32_t r = 0; r < rows && ok; ++r)
          for (uint32_t c = 0; c < columns && ok; ++c)
            ok = builder.AddNumber(firstColumn + c, firstRow + r, values[r * stride + c], 0);
      }
      return Keep(store, builder, left);
    };
    const Built single = run(false);
    const Built bulk = run(true);
    ASSERT_EQ(bulk.failed, single.failed) << "trial " << trial;
    ASSERT_EQ(bulk.left, single.left) << "trial " << trial;
    ASSERT_EQ(bulk.blocks, single.blocks) << "trial " << trial;
  }
}

}  // namespace
