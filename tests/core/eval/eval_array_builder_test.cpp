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


// Whatever order, kind, size and budget the cells come in, the builder's
// chain is the one appending each cell to an empty store makes: arrays
// that fit one block and come in order, and those that spill past a block,
// go back on themselves, repeat a cell or run out of budget part way.
TEST(ArrayBuilder, ChainMatchesTheStoreAppendingEachCell) {
  const uint32_t seed = TestSeed(20261209u);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  CellStore store;
  // A chain of the store's own stays set aside while the builder works.
  uint8_t own[kNumberCellSize];
  ASSERT_TRUE(BuildNumberCell(own, sizeof own, 5, 5, 1.5));
  ASSERT_TRUE(store.InsertCell(AsCellRecord(own), nullptr));
  for (int trial = 0; trial < 400; ++trial) {
    const uint32_t steps = 1 + random() % (trial % 8 == 0 ? 700 : 12);
    const bool inOrder = random() % 3 != 0;
    const uint32_t budget = random() % 4 == 0 ? random() % (steps + 4) : 100000;
    uint32_t left = budget;
    uint32_t modelLeft = budget;
    bool modelFailed = false;
    CellStore model;
    CellCursor modelCursor;
    modelCursor.flags = kCursorAfterRecord;
    const auto append = [&](const uint8_t* record) {
      if (modelFailed) return;
      if (modelLeft == 0 || !model.AppendCell(AsCellRecord(record), &modelCursor)) {
        modelFailed = true;
        return;
      }
      --modelLeft;
    };
    ArrayBuilder builder(store, &left);
    uint32_t row = 0;
    uint32_t column = 0;
    for (uint32_t step = 0; step < steps; ++step) {
      if (inOrder) {
        column += 1 + random() % 3;
        if (column > 40) column = 0, row += 1 + random() % 2;
      } else {
        row = random() % 20;
        column = random() % 8;
      }
      const uint8_t error = random() % 6 == 0 ? uint8_t(kErrorNA) : uint8_t(0);
      uint8_t record[kBlockPayload];
      const uint32_t kind = random() % 8;
      if (kind == 0) {
        // A run of whole rows at once.
        const uint32_t width = 1 + random() % 4;
        const uint32_t height = 1 + random() % (trial % 8 == 0 ? 80 : 3);
        std::vector<double> values(size_t(width) * height);
        for (double& value : values) value = double(int(random() % 2001) - 1000) / 4.0;
        row += 1;
        builder.AddNumbers(0, row, width, height, values.data(), width);
        for (uint32_t r = 0; r < height; ++r)
          for (uint32_t c = 0; c < width; ++c) {
            ASSERT_TRUE(BuildNumberCell(record, sizeof record, row + r, uint16_t(c), values[r * width + c]));
            append(record);
          }
        row += height;
        column = 0;
      } else if (kind <= 2) {
        // Texts up to a few thousand bytes, so that blocks fill.
        const std::string text(random() % 4 == 0 ? random() % 3000 : random() % 12, char('a' + random() % 26));
        builder.AddText(column, row, text.data(), text.size(), error);
        ASSERT_TRUE(BuildTextCell(record, sizeof record, row, uint16_t(column), text.data(),
                                  uint16_t(text.size()), error));
        append(record);
      } else {
        const double value = double(int(random() % 20001) - 10000) / 8.0;
        builder.AddNumber(column, row, value, error);
        ASSERT_TRUE(BuildNumberCell(record, sizeof record, row, uint16_t(column), value, error));
        append(record);
      }
    }
    const Built built = Keep(store, builder, left);
    ASSERT_EQ(built.failed, modelFailed) << "trial " << trial;
    ASSERT_EQ(built.left, modelLeft) << "trial " << trial;
    if (modelFailed) continue;
    std::vector<std::vector<uint8_t>> expected;
    for (const CellBlock* block = model.FirstBlock(); block; block = block->next)
      expected.emplace_back(block->payload, block->payload + block->used);
    ASSERT_EQ(built.blocks, expected) << "trial " << trial;
  }
  const CellRecord* kept = store.GetCell(5, 5);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->Number(), 1.5);
  char message[128] = "";
  EXPECT_TRUE(store.CheckChain(message, sizeof message)) << message;
}

}  // namespace
