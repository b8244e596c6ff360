#ifndef TALVERO_CORE_WORKSHEET_VIEW_STATE_H
#define TALVERO_CORE_WORKSHEET_VIEW_STATE_H

// The view's part of a worksheet's view format: the first visible cell, the
// selection and the frozen panes, as 66 bytes that files copy whole.

#include <cstddef>
#include <cstdint>

#include "core/model/worksheet_view_format.h"

// Reference flags of a view corner.
constexpr uint8_t kCornerRowGiven = 0x01;
constexpr uint8_t kCornerColumnGiven = 0x08;

#pragma pack(push, 1)

struct ViewCorner {
  uint16_t column;
  uint32_t row;
  uint8_t flags;  // kCornerRowGiven, kCornerColumnGiven
};

struct WorksheetViewState {
  ViewCorner topLeft;
  ViewCorner selection[2];  // the first corner is the active cell
  // A frozen row (kCornerRowGiven) stays just below the column headings and a
  // frozen column (kCornerColumnGiven) just right of the row headings.
  ViewCorner frozen;
  uint8_t reserved[kViewStateSize - 4 * sizeof(ViewCorner)];
};

#pragma pack(pop)

static_assert(sizeof(ViewCorner) == 7, "a view corner is 7 bytes");
static_assert(sizeof(WorksheetViewState) == kViewStateSize, "the view state fills its bytes");
static_assert(offsetof(WorksheetViewState, selection) == 7, "");
static_assert(offsetof(WorksheetViewState, frozen) == 21, "");

inline WorksheetViewState* ViewStateOf(WorksheetViewFormat* format) {
  return reinterpret_cast<WorksheetViewState*>(format->viewState);
}
inline const WorksheetViewState* ViewStateOf(const WorksheetViewFormat* format) {
  return reinterpret_cast<const WorksheetViewState*>(format->viewState);
}

#endif
