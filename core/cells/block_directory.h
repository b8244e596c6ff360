#ifndef TALVERO_CORE_BLOCK_DIRECTORY_H
#define TALVERO_CORE_BLOCK_DIRECTORY_H

// The blocks of a chain in chain order, so that a search reaches the block of
// any row by bisection instead of stepping along the chain from its head.
// It holds only block pointers: the keys are read from each block's first
// record when searching, so renumbering rows or columns, or records moving
// within and between blocks, leave it valid; only linking and unlinking
// blocks change it. It is an accelerator: built when first asked for, kept
// up to date while built, and dropped (to be built again later) when the
// chain is replaced wholesale or when it cannot grow. Its memory comes
// straight from the heap, outside the store-page allocator, so that a
// failure here never changes what a store operation reports.

#include <cstdint>

struct CellBlock;

class BlockDirectory {
 public:
  // Chains shorter than this are walked: a bisection would gain nothing.
  static constexpr uint32_t kMinBlocks = 8;

  BlockDirectory() = default;
  ~BlockDirectory();
  BlockDirectory(const BlockDirectory&) = delete;
  BlockDirectory& operator=(const BlockDirectory&) = delete;

  bool Built() const { return built_; }
  // Lists the chain from first; false (not built) when memory runs out.
  bool Build(CellBlock* first, uint32_t blockCount);
  // Forgets the chain; the memory is kept for the next build.
  void Drop() { built_ = false; }

  // Keeps a built directory in step with the chain: block was linked right
  // after `after` (null: as the first block), or taken out of the chain.
  void Linked(CellBlock* block, const CellBlock* after);
  void Unlinked(const CellBlock* block);

  // The last block whose first record satisfies atOrBefore, which must hold
  // for a leading run of the chain's blocks and for no block after it; the
  // first block when it holds for none. Only while built.
  template <class AtOrBefore>
  CellBlock* LastBlockWhere(AtOrBefore atOrBefore) const {
    // Walks in row order usually stay in the block found last time.
    if (hint_ < count_ && atOrBefore(blocks_[hint_]) &&
        (hint_ + 1 == count_ || !atOrBefore(blocks_[hint_ + 1])))
      return blocks_[hint_];
    uint32_t low = 0;  // blocks_[0 .. low) satisfy it
    uint32_t high = count_;
    while (low < high) {
      const uint32_t middle = low + (high - low) / 2;
      if (atOrBefore(blocks_[middle]))
        low = middle + 1;
      else
        high = middle;
    }
    hint_ = low ? low - 1 : 0;
    return count_ ? blocks_[hint_] : nullptr;
  }

  // Its blocks match the chain from first exactly; for invariant checkers.
  bool Matches(const CellBlock* first) const;

 private:
  // Position of block, or count_ when it is not listed.
  uint32_t IndexOf(const CellBlock* block) const;
  bool Grow();

  CellBlock** blocks_ = nullptr;
  uint32_t count_ = 0;
  uint32_t capacity_ = 0;
  bool built_ = false;
  mutable uint32_t hint_ = 0;
};

#endif
