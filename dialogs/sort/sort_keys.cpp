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
