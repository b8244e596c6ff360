#ifndef TALVERO_APP_FRAME_ROW_HEIGHT_STATE_H
#define TALVERO_APP_FRAME_ROW_HEIGHT_STATE_H

// Whether the selected rows fit their contents: the check of Auto Row Height
// in the Format menu.

#include <cstdint>

class RowTable;

enum AutoRowHeightState : uint8_t {
  kAllRowsFixed = 0,
  kNoRowFixed = 1,
  kSomeRowsFixed = 2,
};

// Rows first..last; rows the table does not reach have the default,
// automatic height.
AutoRowHeightState GetAutoRowHeightState(uint32_t firstRow, uint32_t lastRow, const RowTable& rows);

#endif
