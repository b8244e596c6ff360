#ifndef TALVERO_CORE_STYLES_STYLE_RUN_WALK_H
#define TALVERO_CORE_STYLES_STYLE_RUN_WALK_H

// The runs of a store in storage order (by row, then first column), for
// writers that go along them beside the cells or the row records: only the
// store knows how its blocks hold them.

#include <cstdint>

#include "core/styles/style_run_store.h"

class StyleRunWalk {
 public:
  explicit StyleRunWalk(const StyleRunStore& runs) : block_(runs.FirstBlock()) {}

  // The run the walk stands on, until Advance; null past the last run.
  const StyleRun* Current() {
    while (block_ && offset_ >= block_->used) {
      block_ = block_->next;
      offset_ = 0;
    }
    return block_ ? AsStyleRun(block_->payload + offset_) : nullptr;
  }
  // Past the run Current gave, which must not have been null.
  void Advance() { offset_ += kStyleRunSize; }

 private:
  const CellBlock* block_;
  uint32_t offset_ = 0;
};

// The last run of the store, on its last row; null when it holds none.
inline const StyleRun* LastStyleRun(const StyleRunStore& runs) {
  const StyleRun* last = nullptr;
  for (const CellBlock* block = runs.FirstBlock(); block; block = block->next)
    if (block->used >= kStyleRunSize)
      last = AsStyleRun(block->payload + block->used - kStyleRunSize);
  return last;
}

#endif
