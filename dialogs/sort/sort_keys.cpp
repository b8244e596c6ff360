#include "dialogs/sort/sort_keys.h"

SortKeySettings DefaultSortKeys() {
  SortKeySettings keys = {};
  keys.enabled[0] = 1;
  for (int k = 0; k < kSortKeyCount; ++k) {
    keys.position[k] = 1;
    keys.order[k] = kSortAscending;
  }
  return keys;
}

bool IsSortKeyEnabled(uint32_t enabled) { return enabled == 1 || enabled == 2; }

int32_t LargestSortPosition(bool enabled, uint32_t columns) {
  if (!enabled || columns > static_cast<uint32_t>(kSortPositionMaximum)) return kSortPositionMaximum;
  return columns < static_cast<uint32_t>(kSortPositionMinimum) ? kSortPositionMinimum : static_cast<int32_t>(columns);
}
