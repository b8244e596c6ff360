#include "core/cells/block_directory.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "core/cells/block_store.h"

BlockDirectory::~BlockDirectory() { std::free(blocks_); }

bool BlockDirectory::Grow() {
  const uint32_t grown = capacity_ ? capacity_ * 2 : 64;
  if (grown <= capacity_)
    return false;
  void* moved = std::realloc(blocks_, size_t(grown) * sizeof *blocks_);
  if (!moved)
    return false;
  blocks_ = static_cast<CellBlock**>(moved);
  capacity_ = grown;
  return true;
}

bool BlockDirectory::Build(CellBlock* first, uint32_t blockCount) {
  built_ = false;
  count_ = 0;
  hint_ = 0;
  while (capacity_ < blockCount)
    if (!Grow())
      return false;
  for (CellBlock* block = first; block; block = block->next) {
    if (count_ == capacity_ && !Grow())
      return false;
    blocks_[count_++] = block;
  }
  built_ = true;
  return true;
}

uint32_t BlockDirectory::IndexOf(const CellBlock* block) const {
  // Splits and deletions happen where the last search led, or at the end.
  for (uint32_t near : {hint_, hint_ + 1, hint_ - 1, count_ - 1})
    if (near < count_ && blocks_[near] == block)
      return near;
  for (uint32_t i = 0; i < count_; ++i)
    if (blocks_[i] == block)
      return i;
  return count_;
}

void BlockDirectory::Linked(CellBlock* block, const CellBlock* after) {
  if (!built_)
    return;
  uint32_t at = 0;
  if (after) {
    at = IndexOf(after);
    if (at == count_) {
      built_ = false;
      return;
    }
    ++at;
  }
  if (count_ == capacity_ && !Grow()) {
    built_ = false;
    return;
  }
  std::memmove(blocks_ + at + 1, blocks_ + at, (count_ - at) * sizeof *blocks_);
  blocks_[at] = block;
  ++count_;
  hint_ = at;
}

void BlockDirectory::Unlinked(const CellBlock* block) {
  if (!built_)
    return;
  const uint32_t at = IndexOf(block);
  if (at == count_) {
    built_ = false;
    return;
  }
  std::memmove(blocks_ + at, blocks_ + at + 1, (count_ - at - 1) * sizeof *blocks_);
  --count_;
  hint_ = at ? at - 1 : 0;
}

bool BlockDirectory::Matches(const CellBlock* first) const {
  uint32_t i = 0;
  for (const CellBlock* block = first; block; block = block->next, ++i)
    if (i >= count_ || blocks_[i] != block)
      return false;
  return i == count_;
}
