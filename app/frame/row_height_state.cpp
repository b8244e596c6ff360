#include "app/frame/row_height_state.h"

#include "core/cells/row_table.h"

AutoRowHeightState GetAutoRowHeightState(uint32_t firstRow, uint32_t lastRow, const RowTable& rows) {
  bool fixed = false;
  bool automatic = false;
  uint32_t row = firstRow;
  for (; row <= lastRow; ++row) {
    const uint16_t* record = rows.At(row);
    if (record == nullptr) break;
    if ((*record & RowTable::kFixedHeight) != 0) {
      fixed = true;
    } else {
      automatic = true;
    }
    if (fixed && automatic) return kSomeRowsFixed;
  }
  // The selected rows past the table's end fit their contents too.
  if (row <= lastRow) automatic = true;
  if (!fixed) return kNoRowFixed;
  return automatic ? kSomeRowsFixed : kAllRowsFixed;
}
