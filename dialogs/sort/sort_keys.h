#ifndef TALVERO_DIALOGS_SORT_KEYS_H
#define TALVERO_DIALOGS_SORT_KEYS_H

// The sort dialog's keys: up to five, each enabled or not, with a column
// position counted from 1 within the range being sorted and an order.

#include <cstdint>

constexpr int kSortKeyCount = 5;
constexpr int32_t kSortPositionMinimum = 1;
constexpr int32_t kSortPositionMaximum = 1024;
constexpr uint32_t kSortAscending = 0;
constexpr uint32_t kSortDescending = 1;
// The order read from a combo box with nothing selected.
constexpr uint32_t kSortOrderNone = 0xFFFFFFFFu;

struct SortKeySettings {
  uint32_t enabled[kSortKeyCount];  // a value outside 0..2 counts as 0
  uint32_t position[kSortKeyCount];
  uint32_t order[kSortKeyCount];
};

// Key 1 enabled, the others not, every position 1 and every order ascending.
SortKeySettings DefaultSortKeys();

// Whether a key's flag enables it: 1 or 2 (checked, or the third state of
// a check box); any other value counts as 0.
bool IsSortKeyEnabled(uint32_t enabled);

// The largest position a key may have when the range being sorted has
// `columns` columns: an enabled key must name one of them, since a column
// outside would order the rows by cells that do not move with them; a key
// that is not enabled only keeps within the position field's limit.
int32_t LargestSortPosition(bool enabled, uint32_t columns);

#endif
