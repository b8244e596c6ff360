#include "view/geometry/scroll_steps.h"

#include "core/workbook/worksheet.h"
#include "view/geometry/sheet_sizes.h"

namespace {

// The two axes share every step; an axis knows its sizes, its extent and its
// last index.
struct Axis {
  CWorkSheet* sheet;
  int64_t extent;
  uint16_t zoom;
  bool columns;

  uint32_t Last() const { return columns ? kMaxColumn : kMaxRow; }
  int64_t Size(uint32_t i) const {
    return columns ? GetColumnWidth(sheet, i, zoom) : GetRowHeight(sheet, i, zoom);
  }
  uint32_t LastVisible(uint32_t first, bool fullyOnly) const {
    return columns ? LastVisibleColumn(sheet, extent, first, zoom, fullyOnly)
                   : LastVisibleRow(sheet, extent, first, zoom, fullyOnly);
  }
};

Axis ColumnAxis(const SheetViewport& view, uint32_t firstRow) {
  return {view.sheet, AvailableWidth(view, firstRow), view.zoomX, true};
}

Axis RowAxis(const SheetViewport& view) { return {view.sheet, AvailableHeight(view), view.zoomY, false}; }

int64_t LineBack(const Axis& axis, uint32_t* first, uint32_t* cursor) {
  if (*cursor > 0)
    --*cursor;
  int64_t moved = 0;
  while (*first > *cursor) {
    --*first;
    moved += axis.Size(*first) + 1;
  }
  return moved;
}

int64_t LineForward(const Axis& axis, uint32_t* first, uint32_t* cursor) {
  if (*cursor < axis.Last())
    ++*cursor;
  int64_t moved = 0;
  while (*cursor > axis.LastVisible(*first, true) && *first < *cursor) {
    moved += axis.Size(*first) + 1;
    ++*first;
  }
  return moved;
}

void PageBack(const Axis& axis, uint32_t* first, uint32_t* cursor) {
  if (*first == 0) {
    *cursor = 0;
    return;
  }
  const uint32_t formerFirst = *first;
  while (*first > 0 && axis.LastVisible(*first, false) > formerFirst) {
    --*first;
    if (*cursor > 0)
      --*cursor;
  }
  while (*cursor > *first && *cursor > axis.LastVisible(*first, true)) --*cursor;
}

void PageForward(const Axis& axis, uint32_t* first, uint32_t* cursor) {
  const uint32_t formerLast = axis.LastVisible(*first, false);
  if (formerLast >= axis.Last()) {
    *cursor = axis.Last();
    return;
  }
  while (*first < formerLast && axis.LastVisible(*first, true) < axis.Last()) {
    ++*first;
    if (*cursor < axis.Last())
      ++*cursor;
  }
  while (*cursor > *first && *cursor > axis.LastVisible(*first, true)) --*cursor;
}

// The smallest first index from which every index from it through last fits
// whole; last itself when even last alone does not.
uint32_t FirstShowingWhole(const Axis& axis, uint32_t last, uint32_t notAbove) {
  int64_t sum = 0;
  for (uint32_t i = last;; --i) {
    sum += axis.Size(i) + 1;
    if (sum > axis.extent)
      return i < last ? i + 1 : last;
    if (i == notAbove || i == 0)
      return i;
  }
}

// The start from which index is centred: from index upwards while it stays
// fully visible, then half of what is visible from there.
uint32_t Centred(const Axis& axis, uint32_t index) {
  uint32_t start = index;
  while (start > 0) {
    --start;
    if (axis.LastVisible(start, true) < index)
      break;
  }
  const uint32_t half = (axis.LastVisible(start, true) - start) / 2;
  return index < half ? 0 : index - half;
}

}  // namespace

int64_t ScrollLineLeft(const SheetViewport& view, ScrollPosition* p) {
  uint32_t first = p->firstColumn, cursor = p->cursorColumn;
  const int64_t moved = LineBack(ColumnAxis(view, p->firstRow), &first, &cursor);
  p->firstColumn = static_cast<uint16_t>(first);
  p->cursorColumn = static_cast<uint16_t>(cursor);
  return moved;
}

int64_t ScrollLineRight(const SheetViewport& view, ScrollPosition* p) {
  uint32_t first = p->firstColumn, cursor = p->cursorColumn;
  const int64_t moved = LineForward(ColumnAxis(view, p->firstRow), &first, &cursor);
  p->firstColumn = static_cast<uint16_t>(first);
  p->cursorColumn = static_cast<uint16_t>(cursor);
  return moved;
}

int64_t ScrollLineUp(const SheetViewport& view, ScrollPosition* p) {
  return LineBack(RowAxis(view), &p->firstRow, &p->cursorRow);
}

int64_t ScrollLineDown(const SheetViewport& view, ScrollPosition* p) {
  return LineForward(RowAxis(view), &p->firstRow, &p->cursorRow);
}

void ScrollPageLeft(const SheetViewport& view, ScrollPosition* p) {
  uint32_t first = p->firstColumn, cursor = p->cursorColumn;
  PageBack(ColumnAxis(view, p->firstRow), &first, &cursor);
  p->firstColumn = static_cast<uint16_t>(first);
  p->cursorColumn = static_cast<uint16_t>(cursor);
}

void ScrollPageRight(const SheetViewport& view, ScrollPosition* p) {
  uint32_t first = p->firstColumn, cursor = p->cursorColumn;
  PageForward(ColumnAxis(view, p->firstRow), &first, &cursor);
  p->firstColumn = static_cast<uint16_t>(first);
  p->cursorColumn = static_cast<uint16_t>(cursor);
}

void ScrollPageUp(const SheetViewport& view, ScrollPosition* p) { PageBack(RowAxis(view), &p->firstRow, &p->cursorRow); }

void ScrollPageDown(const SheetViewport& view, ScrollPosition* p) {
  PageForward(RowAxis(view), &p->firstRow, &p->cursorRow);
}

void ScrollHome(const SheetViewport&, ScrollPosition* p) { p->firstColumn = p->cursorColumn = 0; }

void ScrollTop(const SheetViewport&, ScrollPosition* p) { p->firstRow = p->cursorRow = 0; }

void ScrollEnd(const SheetViewport& view, ScrollPosition* p) {
  uint16_t lastColumn = 0;
  view.sheet->cells.GetUsedRange(nullptr, &lastColumn, nullptr, nullptr);
  p->cursorColumn = lastColumn;
  if (lastColumn >= kMaxColumn) {
    p->firstColumn = lastColumn;
    return;
  }
  // The column beyond the last used one must fit whole with it.
  const Axis axis = ColumnAxis(view, p->firstRow);
  const uint32_t first = FirstShowingWhole(axis, lastColumn + 1u, 0);
  p->firstColumn = static_cast<uint16_t>(first > lastColumn ? lastColumn : first);
}

void ScrollBottom(const SheetViewport& view, ScrollPosition* p) {
  uint32_t lastRow = 0;
  view.sheet->cells.GetUsedRange(nullptr, nullptr, nullptr, &lastRow);
  p->cursorRow = lastRow;
  p->firstRow = FirstShowingWhole(RowAxis(view), lastRow, 0);
}

void ScrollToCell(const SheetViewport& view, ScrollPosition* p, uint32_t row, uint16_t column) {
  const Axis rows = RowAxis(view);
  const uint32_t lastFullRow = rows.LastVisible(p->firstRow, true);
  const Axis columns = {view.sheet, AvailableWidthForLastRow(view, lastFullRow), view.zoomX, true};
  if (row >= p->firstRow && row <= lastFullRow && column >= p->firstColumn &&
      column <= columns.LastVisible(p->firstColumn, true))
    return;
  p->firstRow = Centred(rows, row);
  p->firstColumn = static_cast<uint16_t>(Centred(columns, column));
}
