#ifndef TALVERO_CORE_CELLS_STORED_BLOCKS_H
#define TALVERO_CORE_CELLS_STORED_BLOCKS_H

// A store kept block by block outside memory (the native binary file): each
// block's records are written as the bytes they fill, and read back into a
// chain of fresh blocks whose bytes are checked before a store takes the
// chain. Only this folder knows how a block holds its records; a format
// sees bytes and lengths.

#include <cstdint>

#include "core/cells/block_store.h"

class CellStore;

// Whether length stored bytes fit one store block: a stored block never
// holds more than a store block does.
constexpr bool FitsStoreBlock(uint32_t length) { return length <= kBlockPayload; }

// Each block's records as the bytes they fill, in chain order, handed to
// visit(const uint8_t* bytes, uint16_t length).
template <class Visit>
void ForEachBlockBytes(const BlockStore& store, Visit visit) {
  for (const CellBlock* block = store.FirstBlock(); block; block = block->next) visit(block->payload, block->used);
}

// The (row, column) of the last record a check accepted, so that the order
// is checked across the blocks of one store. For style runs the column is
// the last run's last column.
struct StoredOrder {
  bool any = false;
  uint32_t row = 0;
  uint16_t column = 0;
};

enum StoredBlockResult : uint8_t {
  kStoredBlockTaken = 0,
  // Longer than a store block holds.
  kStoredBlockTooLong = 1,
  kStoredBlockOutOfMemory = 2,
  // The check refused the bytes.
  kStoredBlockRefused = 3,
};

// The blocks of one store as they are read; freed unless a store takes them.
class StoredBlockChain {
 public:
  StoredBlockChain() = default;
  ~StoredBlockChain();
  StoredBlockChain(const StoredBlockChain&) = delete;
  StoredBlockChain& operator=(const StoredBlockChain&) = delete;

  // The next stored block of length bytes: a fresh block joins the chain,
  // read(uint8_t* bytes) fills all length bytes of it (it may throw; the
  // block is the chain's already), and check(uint8_t* bytes) judges them
  // and may correct them in place. A block of no bytes leaves the chain
  // again, as a store keeps no empty block.
  template <class Read, class Check>
  StoredBlockResult TakeBlock(uint32_t length, Read read, Check check) {
    if (!FitsStoreBlock(length))
      return kStoredBlockTooLong;
    CellBlock* block = AddBlock(static_cast<uint16_t>(length));
    if (!block)
      return kStoredBlockOutOfMemory;
    read(block->payload);
    if (!check(block->payload))
      return kStoredBlockRefused;
    if (length == 0)
      DropLast();
    return kStoredBlockTaken;
  }

  // The chain becomes store's contents (BlockStore::Attach, which recounts
  // its blocks and free bytes); this chain is empty after.
  void AttachTo(BlockStore* store);

 private:
  // A block of used bytes at the chain's end; null when none can be had.
  CellBlock* AddBlock(uint16_t used);
  void DropLast();

  CellBlock* first_ = nullptr;
  CellBlock* last_ = nullptr;
};

// Builds the row index of every page of the store that holds a record, as a
// read-only pass would; false when an index page cannot be had.
bool IndexEveryRowPage(CellStore* store);

#endif
