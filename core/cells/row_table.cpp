#include "core/cells/row_table.h"

#include <cstring>

bool RowTable::CopyFrom(const RowTable& source) {
  if (&source == this) return true;
  Clear(true);
  for (const PagedArrayPage* page = source.FirstPage(); page && page->used != 0;
       page = page->next) {
    for (uint32_t offset = 0; offset + 2 <= page->used; offset += 2) {
      if (!PagedArray::Append(page->payload + offset)) {
        Clear(true);
        return false;
      }
    }
  }
  return true;
}

bool RowTable::SetRow(uint32_t row, uint16_t height, bool fixed) {
  if (row >= kMaxRows) return false;
  while (Count() <= row) {
    if (!Append(0)) return false;
  }
  uint16_t* record = At(row);
  *record = static_cast<uint16_t>((*record & kFlagBits) |
                                  ((height << kHeightShift) & kHeightMask) |
                                  (fixed ? kFixedHeight : 0));
  return true;
}
