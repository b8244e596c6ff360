#ifndef TALVERO_CORE_EVAL_SPAN_QUICKSORT_H
#define TALVERO_CORE_EVAL_SPAN_QUICKSORT_H

// The in-place quicksort of the row sort, over any items: row numbers
// compared through their key cells, or numbers a function gathered. The
// order it leaves depends only on the comparisons, so items that compare as
// their rows would come out in the same order.

#include <cstdint>

// Pending sub-ranges: the larger part waits, so the stack stays below
// log2 of the item count.
constexpr int kQuicksortStackDepth = 64;
// How far the pivot search looks for an item whose keys are not all empty.
constexpr uint32_t kPivotSearchDistance = 8;

// compare(a, b) is negative when a sorts first, 0 when equal; hasKey(a) is
// false for an item whose keys are all empty, which makes a poor pivot.
template <class Item, class Compare, class HasKey>
void QuicksortSpan(Item* items, int32_t count, Compare compare, HasKey hasKey) {
  struct Span {
    int32_t low, high;
  };
  Span pending[kQuicksortStackDepth];
  int depth = 0;
  int32_t low = 0;
  int32_t high = count - 1;
  for (;;) {
    while (low < high) {
      int32_t middle = low + (high - low) / 2;
      if (!hasKey(items[middle])) {
        for (uint32_t distance = 1; distance <= kPivotSearchDistance; ++distance) {
          if (middle - int32_t(distance) >= low && hasKey(items[middle - int32_t(distance)])) {
            middle -= int32_t(distance);
            break;
          }
          if (middle + int32_t(distance) <= high && hasKey(items[middle + int32_t(distance)])) {
            middle += int32_t(distance);
            break;
          }
        }
      }
      const Item pivot = items[middle];
      // Both scans are bounded: the order of mixed keys need not be
      // transitive, so no sentinel can be trusted to stop them.
      int32_t i = low;
      int32_t j = high;
      while (i <= j) {
        while (i <= high && compare(items[i], pivot) < 0) ++i;
        while (j >= low && compare(items[j], pivot) > 0) --j;
        if (i <= j) {
          const Item swap = items[i];
          items[i] = items[j];
          items[j] = swap;
          ++i;
          --j;
        }
      }
      // The pivot stops both scans, so both parts are smaller than the span.
      Span larger{i, high};
      if (j - low >= high - i) {
        larger = Span{low, j};
        low = i;
      } else {
        high = j;
      }
      if (depth < kQuicksortStackDepth) {
        pending[depth++] = larger;
      } else {
        // Cannot happen with the larger part kept back; sort it the slow way.
        for (int32_t s = larger.low + 1; s <= larger.high; ++s)
          for (int32_t t = s; t > larger.low && compare(items[t - 1], items[t]) > 0; --t) {
            const Item swap = items[t];
            items[t] = items[t - 1];
            items[t - 1] = swap;
          }
      }
    }
    if (depth == 0) break;
    --depth;
    low = pending[depth].low;
    high = pending[depth].high;
  }
}

#endif
