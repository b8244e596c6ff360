#include "core/cells/block_store.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

StorePageAllocator testAllocator = nullptr;

enum SplitLayout : uint8_t {
  kFitsInBlock,    // room in the block
  kRecordStays,    // the tail moves to a new block
  kRecordMoves,    // the record opens a new block, the tail follows it
  kRecordAlone,    // the record gets a block of its own, the tail another
};

struct InsertPlan {
  RecordPosition at;
  SplitLayout layout;
};

uint32_t NewBlocksOf(SplitLayout layout) {
  switch (layout) {
    case kFitsInBlock:
      return 0;
    case kRecordAlone:
      return 2;
    default:
      return 1;
  }
}

// Where a record of size bytes goes when inserted at (block, offset) into a
// block holding used bytes.
inline InsertPlan PlanInsert(RecordPosition at, uint32_t used, uint32_t size) {
  CellBlock* previous = at.block->previous;
  if (at.offset == 0 && previous && previous->used < used) {
    at = {previous, previous->used};
    used = previous->used;
  }
  if (used + size <= kBlockPayload)
    return {at, kFitsInBlock};
  // The halves must each fit: a large record may fit beside neither.
  bool staysFits = at.offset + size <= kBlockPayload;
  bool movesFits = size + (used - at.offset) <= kBlockPayload;
  if (at.offset < kBlockSplitOffset) {
    if (staysFits)
      return {at, kRecordStays};
    if (movesFits)
      return {at, kRecordMoves};
  } else {
    if (movesFits)
      return {at, kRecordMoves};
    if (staysFits)
      return {at, kRecordStays};
  }
  return {at, kRecordAlone};
}

}  // namespace

void* AllocateStorePage(size_t bytes) { return testAllocator ? testAllocator(bytes) : std::malloc(bytes); }

void FreeStorePage(void* page) { std::free(page); }

void SetStorePageAllocatorForTesting(StorePageAllocator allocator) { testAllocator = allocator; }

BlockStore::~BlockStore() {
  // The flags die with the store: the short-lived stores of a formula
  // (sorted values, array views) are not made to clear them first.
  indexedPages_ = 0;
  FreeIndexPages();
  Clear(true);
  FreePool();
}

void BlockStore::ReleaseBlock(CellBlock* block, bool free) {
  if (free) {
    FreeStorePage(block);
    return;
  }
  block->next = spareBlocks_;
  block->previous = nullptr;
  block->used = 0;
  spareBlocks_ = block;
  ++poolCount_;
}

void BlockStore::Clear(bool free) {
  InvalidatePageIndex();
  directory_.Drop();
  for (CellBlock* block = firstBlock_; block;) {
    CellBlock* next = block->next;
    ReleaseBlock(block, free);
    block = next;
  }
  firstBlock_ = nullptr;
  blockCount_ = 0;
  freeBytes_ = 0;
}

void BlockStore::Attach(CellBlock* chain) {
  Clear(false);
  AttachChain(chain);
}

void BlockStore::AttachChain(CellBlock* chain) {
  InvalidatePageIndex();
  directory_.Drop();
  firstBlock_ = chain;
  blockCount_ = 0;
  freeBytes_ = 0;
  if (chain)
    chain->previous = nullptr;
  for (CellBlock* block = chain; block; block = block->next) {
    ++blockCount_;
    freeBytes_ += kBlockPayload - block->used;
  }
}

bool BlockStore::ReserveBlock() { return ReserveBlocks(1); }

bool BlockStore::ReserveBlocks(uint32_t count) {
  while (poolCount_ < count) {
    CellBlock* block = static_cast<CellBlock*>(AllocateStorePage(sizeof(CellBlock)));
    if (!block)
      return false;
    ReleaseBlock(block, false);
  }
  return true;
}

void BlockStore::ReleaseChain(CellBlock* chain) {
  for (CellBlock* block = chain; block;) {
    CellBlock* next = block->next;
    ReleaseBlock(block, false);
    block = next;
  }
}

void BlockStore::UnlinkBlock(CellBlock* block, bool free) {
  InvalidatePageIndex();
  directory_.Unlinked(block);
  if (block->previous)
    block->previous->next = block->next;
  else
    firstBlock_ = block->next;
  if (block->next)
    block->next->previous = block->previous;
  --blockCount_;
  ReleaseBlock(block, free);
}

void BlockStore::FreePool() {
  while (spareBlocks_) {
    CellBlock* next = spareBlocks_->next;
    FreeStorePage(spareBlocks_);
    spareBlocks_ = next;
  }
  poolCount_ = 0;
}

void BlockStore::ClearPageIndex(bool freePages) {
  // The pages stay as they were built: when every allocated page was in use
  // and the chain does not change before the next pass, that pass takes
  // them back instead of walking its pages again.
  if (indexedPages_) {
    keptIndexChanges_ = chainChanges_;
    indexKept_ = indexedPages_ == allocatedIndexPages_;
  }
  std::memset(pageFlags_, 0, sizeof pageFlags_);
  indexedPages_ = 0;
  indexesLookedUpPages_ = false;
  if (freePages)
    FreeIndexPages();
}

bool BlockStore::RestoreKeptIndexPage(uint32_t page) {
  if (!indexKept_ || keptIndexChanges_ != chainChanges_ || page >= kPageCount || !pageIndex_ || !pageIndex_[page])
    return false;
  if (!(pageFlags_[page] & kPageIndexBuilt)) {
    pageFlags_[page] |= kPageIndexBuilt;
    ++indexedPages_;
  }
  return true;
}

void BlockStore::FreeIndexPages() {
  indexKept_ = false;
  // The short-lived stores of a formula (sorted values, array views) index
  // a page or two near their start, if any: their release stops there
  // rather than looking through all 2048 pointers.
  for (uint32_t page = 0; allocatedIndexPages_ > 0 && page < kPageCount; ++page)
    if (pageIndex_[page]) {
      FreeStorePage(pageIndex_[page]);
      pageIndex_[page] = nullptr;
      --allocatedIndexPages_;
    }
  FreeStorePage(pageIndex_);
  pageIndex_ = nullptr;
}

void BlockStore::DropPageIndex() {
  for (uint8_t& flags : pageFlags_) flags &= static_cast<uint8_t>(~kPageIndexBuilt);
  indexedPages_ = 0;
}

CellBlock* BlockStore::TakeBlock() {
  CellBlock* block = spareBlocks_;
  if (block) {
    spareBlocks_ = block->next;
    --poolCount_;
  } else {
    block = static_cast<CellBlock*>(AllocateStorePage(sizeof(CellBlock)));
    if (!block)
      return nullptr;
  }
  block->next = nullptr;
  block->previous = nullptr;
  block->used = 0;
  return block;
}

CellBlock* BlockStore::OpenFirstBlock() {
  CellBlock* first = TakeBlock();
  if (!first)
    return nullptr;
  LinkAfter(first, nullptr);
  ++blockCount_;
  freeBytes_ += kBlockPayload;
  return first;
}

void BlockStore::LinkAfter(CellBlock* block, CellBlock* after) {
  block->previous = after;
  block->next = after ? after->next : firstBlock_;
  if (block->next)
    block->next->previous = block;
  if (after)
    after->next = block;
  else
    firstBlock_ = block;
  directory_.Linked(block, after);
}

uint32_t BlockStore::BlocksNeededToInsert(RecordPosition at, uint16_t blockUsed, uint16_t size) const {
  if (!at.block)
    return 1;
  return NewBlocksOf(PlanInsert(at, blockUsed, size).layout);
}

bool BlockStore::InsertRecordAt(RecordPosition at, const uint8_t* record, uint16_t size, RecordPosition* placed,
                                CellBlock** through) {
  if (size == 0 || size > kBlockPayload)
    return false;
  if (through)
    ++chainChanges_;
  else
    InvalidatePageIndex();
  if (!at.block) {
    CellBlock* first = OpenFirstBlock();
    if (!first)
      return false;
    at = {first, 0};
  }

  InsertPlan plan = PlanInsert(at, at.block->used, size);
  CellBlock* block = plan.at.block;
  uint32_t offset = plan.at.offset;
  uint32_t tail = block->used - offset;

  CellBlock* fresh[2] = {nullptr, nullptr};
  uint32_t needed = NewBlocksOf(plan.layout);
  for (uint32_t i = 0; i < needed; ++i) {
    fresh[i] = TakeBlock();
    if (!fresh[i]) {
      if (i)
        ReleaseChain(fresh[0]);
      return false;
    }
  }
  blockCount_ += needed;
  freeBytes_ += needed * kBlockPayload;

  CellBlock* lastWritten = block;
  switch (plan.layout) {
    case kFitsInBlock:
      if (tail)
        std::memmove(block->payload + offset + size, block->payload + offset, tail);
      std::memcpy(block->payload + offset, record, size);
      block->used = static_cast<uint16_t>(block->used + size);
      *placed = {block, static_cast<uint16_t>(offset)};
      lastWritten = block;
      break;
    case kRecordStays:
      LinkAfter(fresh[0], block);
      std::memcpy(fresh[0]->payload, block->payload + offset, tail);
      fresh[0]->used = static_cast<uint16_t>(tail);
      std::memcpy(block->payload + offset, record, size);
      block->used = static_cast<uint16_t>(offset + size);
      *placed = {block, static_cast<uint16_t>(offset)};
      lastWritten = fresh[0];
      break;
    case kRecordMoves:
      LinkAfter(fresh[0], block);
      std::memcpy(fresh[0]->payload, record, size);
      std::memcpy(fresh[0]->payload + size, block->payload + offset, tail);
      fresh[0]->used = static_cast<uint16_t>(size + tail);
      block->used = static_cast<uint16_t>(offset);
      *placed = {fresh[0], 0};
      lastWritten = fresh[0];
      break;
    case kRecordAlone:
      LinkAfter(fresh[0], block);
      LinkAfter(fresh[1], fresh[0]);
      std::memcpy(fresh[0]->payload, record, size);
      fresh[0]->used = size;
      std::memcpy(fresh[1]->payload, block->payload + offset, tail);
      fresh[1]->used = static_cast<uint16_t>(tail);
      block->used = static_cast<uint16_t>(offset);
      *placed = {fresh[0], 0};
      lastWritten = fresh[1];
      break;
  }
  if (through)
    *through = lastWritten;
  return true;
}

bool BlockStore::CheckChain(char* message, size_t capacity) const {
  auto fail = [&](const char* what, uint32_t index) {
    if (message && capacity)
      std::snprintf(message, capacity, "%s (block %u)", what, index);
    return false;
  };
  uint32_t count = 0;
  const CellBlock* previous = nullptr;
  for (const CellBlock* block = firstBlock_; block; previous = block, block = block->next) {
    if (count > blockCount_)
      return fail("chain longer than the block count", count);
    if (block->previous != previous)
      return fail("previous link does not match", count);
    if (block->used == 0)
      return fail("empty block in the chain", count);
    if (block->used > kBlockPayload)
      return fail("block used count beyond the payload", count);
    ++count;
  }
  if (count != blockCount_)
    return fail("block count does not match the chain", count);
  uint32_t spare = 0;
  for (const CellBlock* block = spareBlocks_; block; block = block->next) {
    if (spare > poolCount_)
      return fail("pool longer than the pool count", spare);
    ++spare;
  }
  if (spare != poolCount_)
    return fail("pool count does not match the pool", spare);
  uint32_t indexed = 0;
  for (uint32_t page = 0; page < kPageCount; ++page) {
    if (!(pageFlags_[page] & kPageIndexBuilt))
      continue;
    if (!pageIndex_[page])
      return fail("page flagged as indexed without an index page", page);
    ++indexed;
  }
  if (indexed != indexedPages_)
    return fail("indexed page count does not match the flags", indexed);
  uint32_t allocated = 0;
  for (uint32_t page = 0; pageIndex_ && page < kPageCount; ++page) allocated += pageIndex_[page] != nullptr;
  if (allocated != allocatedIndexPages_)
    return fail("allocated index page count does not match the pages", allocated);
  if (directory_.Built() && !directory_.Matches(firstBlock_))
    return fail("block directory does not match the chain", 0);
  return true;
}

bool BlockStore::CopyChainFrom(BlockStore* source) {
  Clear(true);
  CellBlock* last = nullptr;
  for (const CellBlock* from = source->firstBlock_; from; from = from->next) {
    CellBlock* copy = source->TakeBlock();
    if (!copy) {
      Clear(true);
      return false;
    }
    std::memcpy(copy->payload, from->payload, from->used);
    copy->used = from->used;
    LinkAfter(copy, last);
    last = copy;
    ++blockCount_;
    freeBytes_ += kBlockPayload - copy->used;
  }
  return true;
}

void BlockStore::SwapContents(BlockStore& other) {
  std::swap(firstBlock_, other.firstBlock_);
  std::swap(spareBlocks_, other.spareBlocks_);
  std::swap(pageIndex_, other.pageIndex_);
  std::swap(pageFlags_, other.pageFlags_);
  std::swap(blockCount_, other.blockCount_);
  std::swap(poolCount_, other.poolCount_);
  std::swap(freeBytes_, other.freeBytes_);
  std::swap(indexedPages_, other.indexedPages_);
  std::swap(allocatedIndexPages_, other.allocatedIndexPages_);
  // Positions remembered in either store and both directories describe the
  // other chain now.
  ++chainChanges_;
  ++other.chainChanges_;
  // The change counts stay with the stores, so a kept index could seem to
  // match the other store's count.
  indexKept_ = false;
  other.indexKept_ = false;
  directory_.Drop();
  other.directory_.Drop();
}
