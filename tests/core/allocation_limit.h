#ifndef TALVERO_TESTS_CORE_ALLOCATION_LIMIT_H
#define TALVERO_TESTS_CORE_ALLOCATION_LIMIT_H

// Makes the heap run dry for the stores' blocks and the paged arrays' pages
// once a number of allocations has been granted, for as long as it lives.

#include <cstdlib>

#include "core/cells/block_store.h"
#include "core/cells/paged_array.h"

struct AllocationLimit {
  explicit AllocationLimit(int granted) {
    left = granted;
    SetStorePageAllocatorForTesting(CountedBlock);
    SetPagedArrayAllocationGateForTesting(CountedPage);
  }
  ~AllocationLimit() {
    SetStorePageAllocatorForTesting(nullptr);
    SetPagedArrayAllocationGateForTesting(nullptr);
    left = -1;
  }
  AllocationLimit(const AllocationLimit&) = delete;
  AllocationLimit& operator=(const AllocationLimit&) = delete;

 private:
  static bool Grant() {
    if (left == 0)
      return false;
    if (left > 0)
      --left;
    return true;
  }
  static void* CountedBlock(size_t bytes) { return Grant() ? std::malloc(bytes) : nullptr; }
  static bool CountedPage(size_t) { return Grant(); }

  static inline int left = -1;
};

#endif
