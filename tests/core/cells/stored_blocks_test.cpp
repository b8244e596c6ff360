#include "core/cells/stored_blocks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/cells/cell_block_checks.h"
#include "core/cells/cell_store.h"
#include "tests/core/allocation_limit.h"

namespace {

constexpr uint16_t kLongestFormula = 1024;

// Cells over several blocks and row pages, each row's first cell at column 1.
void Fill(CellStore* store) {
  uint8_t record[64];
  CellCursor cursor;
  for (uint32_t row = 0; row < 3000; row += 1 + row % 5)
    for (uint16_t column = 1; column < 9; column += 2) {
      if (row % 3)
        BuildNumberCell(record, sizeof record, row * 3, column, row + column);
      else
        BuildTextCell(record, sizeof record, row * 3, column, "text", 4);
      ASSERT_TRUE(store->InsertCell(AsCellRecord(record), &cursor));
    }
}

std::string Records(const CellStore& store) {
  std::string bytes;
  ForEachRecord(store, [&](const CellRecord& cell) {
    bytes.append(reinterpret_cast<const char*>(cell.Bytes()), cell.Size());
    return true;
  });
  return bytes;
}

// The blocks of a store as a file keeps them.
std::vector<std::string> Stored(const CellStore& store) {
  std::vector<std::string> blocks;
  ForEachBlockBytes(store, [&](const uint8_t* bytes, uint16_t length) {
    blocks.emplace_back(reinterpret_cast<const char*>(bytes), length);
  });
  return blocks;
}

StoredBlockResult Take(StoredBlockChain* chain, const std::string& bytes, StoredOrder* order) {
  return chain->TakeBlock(
      uint32_t(bytes.size()), [&](uint8_t* to) { bytes.copy(reinterpret_cast<char*>(to), bytes.size()); },
      [&](uint8_t* at) { return CheckCellBlock(at, uint32_t(bytes.size()), order, kLongestFormula); });
}

TEST(StoredBlocks, AStoreKeptBlockByBlockReadsBackWithEveryRowPageIndexed) {
  CellStore source;
  Fill(&source);
  const std::vector<std::string> blocks = Stored(source);
  ASSERT_GT(blocks.size(), 3u);

  StoredBlockChain chain;
  StoredOrder order;
  for (const std::string& block : blocks) {
    ASSERT_EQ(Take(&chain, block, &order), kStoredBlockTaken);
    // A block of no bytes leaves the chain again: a store keeps no empty block.
    ASSERT_EQ(Take(&chain, std::string(), &order), kStoredBlockTaken);
  }
  CellStore copy;
  chain.AttachTo(&copy);
  ASSERT_TRUE(IndexEveryRowPage(&copy));
  EXPECT_TRUE(copy.CheckInvariants());
  EXPECT_EQ(copy.BlockCount(), blocks.size());
  EXPECT_EQ(Records(copy), Records(source));

  // Rows run to 8997: pages 0 to 8 hold rows, page 9 none.
  for (uint32_t page = 0; page <= 8; ++page) EXPECT_TRUE(copy.PageFlags(page) & kPageIndexBuilt) << page;
  EXPECT_FALSE(copy.PageFlags(9) & kPageIndexBuilt);
  for (uint32_t row : {0u, 3u, 4u, 1023u * 3, 2999u * 3}) {
    const CellRecord* first = copy.GetCell(row, 1);
    RecordPosition at{nullptr, 0};
    const bool indexed = copy.IndexedRowStart(row, &at);
    ASSERT_EQ(indexed, first != nullptr) << row;
    EXPECT_TRUE(!indexed || RecordAtPosition(at) == first) << row;
  }
}

TEST(StoredBlocks, BlocksTooLongRefusedOrWithoutMemoryAreNotTaken) {
  StoredBlockChain chain;
  bool read = false;
  auto reads = [&](uint8_t*) { read = true; };
  auto accepts = [](uint8_t*) { return true; };
  EXPECT_EQ(chain.TakeBlock(kBlockPayload + 1, reads, accepts), kStoredBlockTooLong);
  {
    AllocationLimit none(0);
    EXPECT_EQ(chain.TakeBlock(10, reads, accepts), kStoredBlockOutOfMemory);
  }
  EXPECT_FALSE(read);
  EXPECT_EQ(chain.TakeBlock(kBlockPayload, reads, [](uint8_t*) { return false; }), kStoredBlockRefused);
  EXPECT_TRUE(read);
  EXPECT_TRUE(FitsStoreBlock(kBlockPayload));
  EXPECT_FALSE(FitsStoreBlock(kBlockPayload + 1));
}

}  // namespace
