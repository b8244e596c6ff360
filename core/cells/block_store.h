#ifndef TALVERO_CORE_BLOCK_STORE_H
#define TALVERO_CORE_BLOCK_STORE_H

// The block machinery shared by the stores that keep sorted, packed records in
// a chain of 8192-byte blocks: the cell store (variable-length CellRecords) and
// the style-run store (fixed 10-byte runs). A store derives from BlockStore and
// supplies a record-traits type for the walks:
//
//   struct Traits {
//     static uint32_t Size(const uint8_t* record);  // bytes of the record
//     static uint32_t Row(const uint8_t* record);   // the sort's major key
//     // Compaction offers each record to the last one written in the same
//     // block; true when it was absorbed there (style runs merge, cells never).
//     static bool Absorb(uint8_t* lastWritten, const uint8_t* record);
//   };
//
// Reuse points for a store built on this one: the chain operations (Clear,
// Attach, AttachChain, ReserveBlock, ReleaseChain, UnlinkBlock, FreePool,
// ClearPageIndex), RowStart/CursorOrRowStart (or StartPosition and
// SkipBlocksBefore) to begin a search,
// InsertRecordAt (the previous-block append rule and the split of a full
// block), SearchBlock to reach a key's block through the block directory,
// CompactRecords<Traits>, BuildPageIndexOf<Traits>, the free
// NextRecord<Traits> for cursor walks, TakeBlock/LinkAfter for a store that
// rewrites blocks itself, and CheckChain for its invariant checker. The store keeps its own
// ordering within a row, its free-byte accounting and its compaction call.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/cells/block_directory.h"

struct CellRecord;

constexpr uint16_t kBlockPayload = 8182;
// A full block splits here, so both halves are about half full.
constexpr uint16_t kBlockSplitOffset = 4091;
constexpr uint32_t kRowsPerPage = 1024;
constexpr uint32_t kPageCount = 2048;
// Page flag bit 0; bits 1 and 2 belong to recalculation.
constexpr uint8_t kPageIndexBuilt = 0x01;
// Cursor flag bit 3: after returning a record, leave the position after it.
constexpr uint8_t kCursorAfterRecord = 0x08;
// Compaction runs when at least this many bytes are counted free and they are
// more than a fifth of the block bytes.
constexpr uint32_t kCompactionMinFreeBytes = 1000001;
constexpr uint32_t kCompactionBlockBytes = 8192;
constexpr uint32_t kCompactionRatio = 5;

// 8192 bytes on the 32-bit target; on 64-bit targets the links are wider but
// the payload and the split point stay the same.
struct CellBlock {
  CellBlock* next;
  CellBlock* previous;
  uint16_t used;  // payload bytes holding whole records
  uint8_t payload[kBlockPayload];
};
static_assert(offsetof(CellBlock, payload) == 2 * sizeof(void*) + 2, "block header");
static_assert(sizeof(void*) != 4 || sizeof(CellBlock) == 8192, "a block is 8192 bytes");

// The first record of a row; a null block means the row holds no record.
struct PageIndexEntry {
  CellBlock* block;
  uint16_t offset;
};
struct PageIndexPage {
  PageIndexEntry entries[kRowsPerPage];
};
static_assert(sizeof(void*) != 4 || sizeof(PageIndexPage) == 8192, "an index page is 8192 bytes");

// A position in a store. A null block lets a search find its own start through
// the store's page index or block directory. Valid only while the store is not
// changed by another path than the call the cursor was given to.
class BlockStore;

struct CellCursor {
  uint8_t flags = 0;
  CellBlock* block = nullptr;
  uint16_t offset = 0;
  // The store a range walk runs through, when known: its row index lets
  // NextInRange leave a row at the rectangle's last column instead of
  // stepping over the rest of the row.
  const BlockStore* rows = nullptr;

  // Cell-store walks (cell_cursor_walks.cpp). Next gives the record at the
  // cursor, crossing to the next block at a block's end; null at the end of
  // the chain. With kCursorAfterRecord the cursor moves past the record.
  CellRecord* Next(uint32_t* size = nullptr);
  // The next record inside the rectangle, or null once the walk passes the
  // rectangle's last row (the cursor is then left on that record).
  CellRecord* NextInRange(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow);
};

struct RecordPosition {
  CellBlock* block;
  uint16_t offset;
};

// Every block and index page (and the evaluators' tables of scanned
// formulas) comes from here, so that tests can make the heap run dry at a
// chosen allocation. A replacement allocator must return memory
// that std::free releases (or null).
using StorePageAllocator = void* (*)(size_t bytes);
void* AllocateStorePage(size_t bytes);
void FreeStorePage(void* page);
// Null restores the heap.
void SetStorePageAllocatorForTesting(StorePageAllocator allocator);

class BlockStore {
 public:
  BlockStore() = default;
  // Frees the index pages, the chain and the pool.
  ~BlockStore();
  BlockStore(const BlockStore&) = delete;
  BlockStore& operator=(const BlockStore&) = delete;

  CellBlock* FirstBlock() const { return firstBlock_; }
  uint32_t BlockCount() const { return blockCount_; }
  uint32_t PoolCount() const { return poolCount_; }
  uint32_t FreeBytes() const { return freeBytes_; }
  // Grows with every change that moves, adds or removes records: a record
  // pointer taken while it had a value stays valid while it keeps it.
  uint64_t ChainChanges() const { return chainChanges_; }
  uint8_t PageFlags(uint32_t page) const { return page < kPageCount ? pageFlags_[page] : 0; }
  const PageIndexPage* IndexPage(uint32_t page) const {
    return page < kPageCount && pageIndex_ ? pageIndex_[page] : nullptr;
  }

  // free: release emptied blocks to the heap; otherwise keep them in the pool.
  void Clear(bool free);
  // Takes a detached chain as the store's contents; the old chain goes to the pool.
  void Attach(CellBlock* chain);
  // The same, but the old chain stays with the caller.
  void AttachChain(CellBlock* chain);
  // At least one block in the pool; false when out of memory.
  bool ReserveBlock();
  // Every block of a detached chain onto the pool.
  void ReleaseChain(CellBlock* chain);
  void UnlinkBlock(CellBlock* block, bool free);
  void FreePool();
  // Empties this store (blocks to the heap) and copies the source's chain
  // block by block, taking blocks from the source's pool before the heap.
  // False when a block cannot be had; this store is then empty again.
  bool CopyChainFrom(BlockStore* source);
  // Exchanges everything the two stores hold (chains, pools, page indexes,
  // counts); cannot fail, so an edit made on a copy can be put in place whole.
  void SwapContents(BlockStore& other);
  // Clears every page flag byte, and frees the index pages when asked.
  // Index pages kept are remembered as they were built, for
  // RestoreKeptIndexPage.
  void ClearPageIndex(bool freePages);
  // Flags page indexed again without walking it, when the last
  // ClearPageIndex kept every allocated page built and the chain has not
  // changed since; false otherwise (nothing changed).
  bool RestoreKeptIndexPage(uint32_t page);
  // The first record of row through the page index; false when its page
  // is not indexed or the row holds no record.
  bool IndexedRowStart(uint32_t row, RecordPosition* at) const {
    const uint32_t page = row / kRowsPerPage;
    if (page >= kPageCount || !(pageFlags_[page] & kPageIndexBuilt))
      return false;
    const PageIndexEntry& entry = pageIndex_[page]->entries[row % kRowsPerPage];
    if (!entry.block)
      return false;
    *at = {entry.block, entry.offset};
    return true;
  }

  // Links, counts and block fill of the chain and the pool; on failure a
  // description goes to message (when given).
  bool CheckChain(char* message, size_t capacity) const;

  // Steps from a block to the next one taken by the cursor walks and the
  // searches of every store, so that a test can tell a walk positioned at
  // its first row from one that steps along the chain from its head.
  static uint64_t BlockSteps() { return blockSteps_; }
  static void CountBlockStep() { ++blockSteps_; }

 protected:
  // A block from the pool, else the heap; unlinked and empty. Null when out of memory.
  CellBlock* TakeBlock();
  // An unlinked block back to the heap (free) or onto the pool.
  void ReleaseBlock(CellBlock* block, bool free);
  bool ReserveBlocks(uint32_t count);
  // The first block of an empty chain, counted; null when out of memory.
  CellBlock* OpenFirstBlock();
  // after == null links the block as the first.
  void LinkAfter(CellBlock* block, CellBlock* after);
  // Drops bit 0 of the page flags: an index page must never outlive a change
  // of the chain it points into. Every change of the chain's records passes
  // here, so it also counts the changes.
  void InvalidatePageIndex() {
    ++chainChanges_;
    if (indexedPages_)
      DropPageIndex();
  }
  // Points row's index entry at its first record, when the row's page is
  // indexed: for a store that keeps the index across its own edits.
  void SetIndexedRowStart(uint32_t row, RecordPosition at) {
    const uint32_t page = row / kRowsPerPage;
    if (page < kPageCount && (pageFlags_[page] & kPageIndexBuilt))
      pageIndex_[page]->entries[row % kRowsPerPage] = {at.block, at.offset};
  }
  bool NeedsCompaction() const {
    return freeBytes_ >= kCompactionMinFreeBytes &&
           uint64_t(blockCount_) * kCompactionBlockBytes / freeBytes_ < kCompactionRatio;
  }
  void ReduceFreeBytes(uint32_t bytes) {
    if (freeBytes_ >= bytes)
      freeBytes_ -= bytes;
  }

  // The cursor's position, or the first block's start. An offset past the
  // block's records stands for their end, so that no length computed from it
  // can wrap.
  RecordPosition StartPosition(const CellCursor* cursor) const {
    if (cursor && cursor->block)
      return {cursor->block, cursor->offset < cursor->block->used ? cursor->offset : cursor->block->used};
    return {firstBlock_, 0};
  }
  // The last block whose first record satisfies atOrBefore (a leading run of
  // the chain's blocks does, none after it), or the first block: through the
  // block directory, so that the cost does not grow with the blocks before
  // it; a short chain, or a directory that cannot be built, gives the first
  // block and the caller steps from there.
  template <class AtOrBefore>
  CellBlock* SearchBlock(AtOrBefore atOrBefore) const {
    if (blockCount_ < BlockDirectory::kMinBlocks)
      return firstBlock_;
    if (!directory_.Built() && !directory_.Build(firstBlock_, blockCount_))
      return firstBlock_;
    return directory_.LastBlockWhere(atOrBefore);
  }
  // Moves forward over blocks whose next block begins on a row below row.
  template <class Traits>
  static RecordPosition SkipBlocksBefore(RecordPosition at, uint32_t row) {
    while (at.block && at.block->next && Traits::Row(at.block->next->payload) < row) {
      at = {at.block->next, 0};
      CountBlockStep();
    }
    return at;
  }
  // The start of the block in which the records of row begin (null when
  // the store is empty): a forward walk from there meets every record of
  // row and the rows after it, and only the rest of one block before them.
  template <class Traits>
  RecordPosition RowStart(uint32_t row) const {
    CellBlock* block = SearchBlock([row](const CellBlock* b) { return Traits::Row(b->payload) < row; });
    return SkipBlocksBefore<Traits>({block, 0}, row);
  }
  // The cursor's position when it has a block, else RowStart.
  template <class Traits>
  RecordPosition CursorOrRowStart(const CellCursor* cursor, uint32_t row) const {
    return cursor && cursor->block ? SkipBlocksBefore<Traits>(StartPosition(cursor), row) : RowStart<Traits>(row);
  }

  // Blocks a later InsertRecordAt(at, size) takes when the block at holds
  // blockUsed bytes by then; 0, 1 or 2.
  uint32_t BlocksNeededToInsert(RecordPosition at, uint16_t blockUsed, uint16_t size) const;
  // Inserts record at a position (null block: the store is empty). At the
  // start of a block whose previous block holds fewer bytes the record goes to
  // the end of the previous block. A block that cannot take it splits: below
  // kBlockSplitOffset the tail moves to a new block and the record stays, from
  // there on the record opens the new block, followed by the tail; a record
  // too large for either half gets a block of its own between them. False,
  // with the chain unchanged, when a block cannot be had; new blocks add
  // kBlockPayload to the free bytes, the record's own bytes are left to the
  // caller's accounting. A caller that keeps the page index in step itself
  // passes through: the index is then left as it was, and *through names the
  // last block the insert wrote, so that the records from placed to that
  // block's end are all the records that moved or came new.
  bool InsertRecordAt(RecordPosition at, const uint8_t* record, uint16_t size, RecordPosition* placed,
                      CellBlock** through = nullptr);

  // Repacks the chain in place towards its head; free bytes become 0.
  template <class Traits>
  void CompactRecords(bool free);
  template <class Traits>
  bool BuildPageIndexOf(uint32_t page, CellCursor* cursor);

  CellBlock* firstBlock_ = nullptr;
  CellBlock* spareBlocks_ = nullptr;  // linked through next
  // kPageCount pointers, allocated with the first index page: most stores
  // (those of arrays, sorted values and copies) never index a page.
  PageIndexPage** pageIndex_ = nullptr;
  uint8_t pageFlags_[kPageCount] = {};
  uint32_t blockCount_ = 0;
  uint32_t poolCount_ = 0;
  // A running count that only decides compaction.
  uint32_t freeBytes_ = 0;
  // Pages whose kPageIndexBuilt flag is set.
  uint32_t indexedPages_ = 0;
  // Index pages allocated, built or not.
  uint32_t allocatedIndexPages_ = 0;
  // Counts changes of the chain's records, so that a position remembered
  // across calls can tell whether it still holds.
  uint64_t chainChanges_ = 0;
  // Set while a recalculation pass reads the store (until ClearPageIndex),
  // with the chain's change count when the pass began: see
  // CellStore::IndexLookedUpPage.
  bool indexesLookedUpPages_ = false;
  uint64_t passChanges_ = 0;
  // What ClearPageIndex(false) left: the chain's change count then, and
  // whether every allocated index page was built at that moment.
  uint64_t keptIndexChanges_ = 0;
  bool indexKept_ = false;
  // Built on the first search that wants it; linking and unlinking blocks
  // keep it in step.
  mutable BlockDirectory directory_;

 private:
  void DropPageIndex();
  // The index pages back to the heap; the flags stay as they are.
  void FreeIndexPages();

  static inline uint64_t blockSteps_ = 0;
};

// The record at the cursor, crossing to the next block at a block's end; null
// at the end of the chain (the cursor is then left at the end of the last
// block). With kCursorAfterRecord the cursor moves past the record.
template <class Traits>
uint8_t* NextRecord(CellCursor* cursor, uint32_t* size) {
  CellBlock* block = cursor->block;
  if (!block)
    return nullptr;
  uint16_t offset = cursor->offset;
  while (offset >= block->used) {
    if (!block->next) {
      cursor->block = block;
      cursor->offset = block->used;
      return nullptr;
    }
    block = block->next;
    offset = 0;
    BlockStore::CountBlockStep();
  }
  uint8_t* record = block->payload + offset;
  uint32_t bytes = Traits::Size(record);
  if (size)
    *size = bytes;
  cursor->block = block;
  cursor->offset = static_cast<uint16_t>((cursor->flags & kCursorAfterRecord) ? offset + bytes : offset);
  return record;
}

template <class Traits>
void BlockStore::CompactRecords(bool free) {
  ++chainChanges_;
  std::memset(pageFlags_, 0, sizeof pageFlags_);
  indexedPages_ = 0;
  freeBytes_ = 0;
  if (!firstBlock_)
    return;
  // Records only move towards the head: the write position never passes the
  // read position, so the copy is made in place.
  CellBlock* out = firstBlock_;
  uint32_t outUsed = 0;
  uint8_t* lastWritten = nullptr;
  for (CellBlock* in = firstBlock_; in;) {
    CellBlock* inNext = in->next;
    uint32_t inUsed = in->used;
    for (uint32_t offset = 0; offset < inUsed;) {
      uint8_t* record = in->payload + offset;
      uint32_t size = Traits::Size(record);
      offset += size;
      if (lastWritten && Traits::Absorb(lastWritten, record))
        continue;
      if (outUsed + size > kBlockPayload) {
        out->used = static_cast<uint16_t>(outUsed);
        out = out->next;
        outUsed = 0;
        lastWritten = nullptr;
      }
      uint8_t* to = out->payload + outUsed;
      if (to != record)
        std::memmove(to, record, size);
      lastWritten = to;
      outUsed += size;
    }
    in = inNext;
  }
  out->used = static_cast<uint16_t>(outUsed);
  while (out->next)
    UnlinkBlock(out->next, free);
}

template <class Traits>
bool BlockStore::BuildPageIndexOf(uint32_t page, CellCursor* cursor) {
  if (page >= kPageCount)
    return false;
  CellCursor scratch;
  if (!cursor)
    cursor = &scratch;
  const uint32_t pageRow = page * kRowsPerPage;
  RecordPosition at = CursorOrRowStart<Traits>(cursor, pageRow);
  // A start that already lies inside the page could miss the first records
  // of its rows: then begin again from the page's first block.
  if (at.block && (at.block != firstBlock_ || at.offset != 0)) {
    RecordPosition probe = at;
    while (probe.block && probe.offset >= probe.block->used) probe = {probe.block->next, 0};
    if (probe.block && Traits::Row(probe.block->payload + probe.offset) >= pageRow)
      at = RowStart<Traits>(pageRow);
  }

  if (!pageIndex_) {
    pageIndex_ = static_cast<PageIndexPage**>(AllocateStorePage(kPageCount * sizeof *pageIndex_));
    if (!pageIndex_)
      return false;
    std::memset(pageIndex_, 0, kPageCount * sizeof *pageIndex_);
  }
  PageIndexPage* index = pageIndex_[page];
  if (!index) {
    index = static_cast<PageIndexPage*>(AllocateStorePage(sizeof(PageIndexPage)));
    if (!index)
      return false;
    pageIndex_[page] = index;
    ++allocatedIndexPages_;
  }
  std::memset(index, 0, sizeof *index);
  if (!(pageFlags_[page] & kPageIndexBuilt))
    ++indexedPages_;
  pageFlags_[page] |= kPageIndexBuilt;

  uint32_t lastRow = 0x200000;  // no row yet
  for (; at.block; at = {at.block->next, 0}) {
    for (uint32_t offset = at.offset; offset < at.block->used;) {
      const uint8_t* record = at.block->payload + offset;
      uint32_t row = Traits::Row(record);
      uint32_t size = Traits::Size(record);
      if (row / kRowsPerPage > page)
        return true;
      if (row != lastRow && row / kRowsPerPage == page) {
        index->entries[row % kRowsPerPage] = {at.block, static_cast<uint16_t>(offset)};
        cursor->block = at.block;
        cursor->offset = static_cast<uint16_t>((cursor->flags & kCursorAfterRecord) ? offset + size : offset);
      }
      lastRow = row;
      offset += size;
    }
  }
  return true;
}

#endif
