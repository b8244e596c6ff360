#ifndef TALVERO_VIEW_SCROLL_STEPS_H
#define TALVERO_VIEW_SCROLL_STEPS_H

// How the first visible cell and the moving cursor follow each scroll code,
// and how a cell is brought into view. Fully visible and partly visible mean
// LastVisibleColumn and LastVisibleRow over the available extents.

#include <cstdint>

#include "view/geometry/sheet_viewport.h"

struct ScrollPosition {
  uint32_t firstRow;
  uint16_t firstColumn;
  uint32_t cursorRow;
  uint16_t cursorColumn;
};

// The line steps move the cursor one cell and scroll as far as it needs to
// stay visible; they return the pixels by which the contents moved.
int64_t ScrollLineLeft(const SheetViewport& view, ScrollPosition* position);
int64_t ScrollLineRight(const SheetViewport& view, ScrollPosition* position);
int64_t ScrollLineUp(const SheetViewport& view, ScrollPosition* position);
int64_t ScrollLineDown(const SheetViewport& view, ScrollPosition* position);

// The page steps scroll by what was visible, the cursor moving with the
// first visible cell and then back into full view.
void ScrollPageLeft(const SheetViewport& view, ScrollPosition* position);
void ScrollPageRight(const SheetViewport& view, ScrollPosition* position);
void ScrollPageUp(const SheetViewport& view, ScrollPosition* position);
void ScrollPageDown(const SheetViewport& view, ScrollPosition* position);

// To the first column or row; to the last used column (leaving a column
// beyond it in view when there is room) or the last used row (at the bottom
// edge).
void ScrollHome(const SheetViewport& view, ScrollPosition* position);
void ScrollTop(const SheetViewport& view, ScrollPosition* position);
void ScrollEnd(const SheetViewport& view, ScrollPosition* position);
void ScrollBottom(const SheetViewport& view, ScrollPosition* position);

// Leaves a fully visible cell alone; otherwise centres the view on it on
// both axes. The cursor is not moved.
void ScrollToCell(const SheetViewport& view, ScrollPosition* position, uint32_t row, uint16_t column);

#endif
