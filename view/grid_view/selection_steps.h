#ifndef TALVERO_VIEW_SELECTION_STEPS_H
#define TALVERO_VIEW_SELECTION_STEPS_H

// How the grid view's selection follows clicks and scroll steps. The
// selection runs from the current cell to the selection end; while the
// anchor is active (Shift held, or a left-button drag) the anchor cell stays
// one corner and the moving coordinate takes the other.

#include <cstdint>

#include "view/painting/selection_painter.h"

struct GridSelection {
  uint32_t currentColumn;
  uint32_t currentRow;
  uint32_t endColumn;
  uint32_t endRow;
  uint8_t anchorActive;
  uint32_t anchorColumn;
  uint32_t anchorRow;
};

// The selection as a normalised range.
SelectionRange SelectionRangeOf(const GridSelection& s);
bool SameSelection(const GridSelection& a, const GridSelection& b);

// The rectangle spanned by two cells: current = the smaller column and row,
// end = the larger.
void SpanSelection(GridSelection* s, uint32_t column1, uint32_t row1, uint32_t column2, uint32_t row2);

// The coordinate a scroll step moves on one axis: the current one, or while
// the anchor is active the corner that is not the anchor's.
uint32_t MovingColumn(const GridSelection& s);
uint32_t MovingRow(const GridSelection& s);

// After a line, page, Home/End or top/bottom step brought the moving
// coordinate to value: without the anchor the cursor is that cell on this
// axis; with it, the axis spans the anchor and value, the anchor staying a
// corner on whichever side value lies.
void ApplyColumnStep(GridSelection* s, uint32_t value);
void ApplyRowStep(GridSelection* s, uint32_t value);

#endif
