#include "view/painting/selection_painter.h"

#include "core/base/scheme_colors.h"
#include "view/geometry/sheet_sizes.h"
#include "view/painting/paint_geometry.h"

namespace {

bool InRows(const SelectionRange& s, uint32_t r) { return r >= s.firstRow && r <= s.lastRow; }
bool InColumns(const SelectionRange& s, uint32_t c) { return c >= s.firstColumn && c <= s.lastColumn; }
bool StrictlyInRows(const SelectionRange& s, uint32_t r) { return r > s.firstRow && r < s.lastRow; }
bool StrictlyInColumns(const SelectionRange& s, uint32_t c) { return c > s.firstColumn && c < s.lastColumn; }

// Where the interior of a cell is inverted alike for both ranges, so that the
// two inversions would cancel: left out of both.
bool SameInteriorInBoth(const SelectionRange& s, const SelectionRange& o, uint32_t c, uint32_t r) {
  if (StrictlyInColumns(s, c) && StrictlyInColumns(o, c) && StrictlyInRows(s, r) && StrictlyInRows(o, r))
    return true;
  const bool betweenColumns = StrictlyInColumns(s, c) && StrictlyInColumns(o, c);
  const bool betweenRows = StrictlyInRows(s, r) && StrictlyInRows(o, r);
  if (betweenColumns && r == s.firstRow && r == o.firstRow && r != s.lastRow && r != o.lastRow)
    return true;
  if (betweenColumns && r == s.lastRow && r == o.lastRow && r != s.firstRow && r != o.firstRow)
    return true;
  if (betweenRows && c == s.firstColumn && c == o.firstColumn && c != s.lastColumn && c != o.lastColumn)
    return true;
  if (betweenRows && c == s.lastColumn && c == o.lastColumn && c != s.firstColumn && c != o.firstColumn)
    return true;
  return false;
}

struct Pass {
  const PaintSurface& surface;
  CWorkSheet* sheet;
  const PixelRect& area;
  const PaintGeometry& g;
  uint32_t firstRow;
  uint16_t firstColumn;
  uint16_t zoomX;
  uint16_t zoomY;

  void Invert(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t rop) const {
    surface.FillRect({left, top, right, bottom}, rop);
  }

  void Cell(const SelectionRange& s, const SelectionRange* o, uint32_t c, uint32_t r, int32_t x, int32_t w,
            int32_t y, int32_t h) const {
    const bool firstVisibleColumn = c == firstColumn;
    const bool firstVisibleRow = r == firstRow;
    const bool sFirstColumn = c == s.firstColumn;
    const bool sLastColumn = c == s.lastColumn;
    const bool sFirstRow = r == s.firstRow;
    const bool sLastRow = r == s.lastRow;

    const int32_t edgeLeft = sFirstColumn && !firstVisibleColumn ? x - 1 : x + 1;
    const int32_t edgeRight = sLastColumn ? x + w + 2 : x + w + 1;
    if (sFirstRow)
      Invert(edgeLeft, firstVisibleRow ? y + 1 : y - 1, edgeRight, y + 1, kRopDstInvert);
    if (sLastRow)
      Invert(edgeLeft, y + h, edgeRight, y + h + 2, kRopDstInvert);
    const int32_t sideTop = sFirstRow ? y + 2 : y;
    const int32_t sideBottom = sLastRow ? y + h - 1 : y + h;
    if (sFirstColumn)
      Invert(firstVisibleColumn ? x + 1 : x - 1, sideTop, x + 1, sideBottom, kRopDstInvert);
    if (sLastColumn)
      Invert(x + w, sideTop, x + w + 2, sideBottom, kRopDstInvert);

    if (sFirstColumn && sFirstRow)
      return;  // the active cell stays as it is
    if (o && SameInteriorInBoth(s, *o, c, r))
      return;
    const int32_t left = sFirstColumn ? x + 3 : (firstVisibleColumn ? x + 1 : x);
    const int32_t right = sLastColumn ? x + w + 1 - 3 : x + w + 1;
    const int32_t top = sFirstRow ? y + 3 : (firstVisibleRow ? y + 1 : y);
    const int32_t bottom = sLastRow ? y + h + 1 - 3 : y + h + 1;
    if (left > right || top > bottom)
      return;
    surface.SelectBrush(1, kSelectionInteriorColour, kSelectionInteriorColour);
    Invert(left, top, right, bottom, kRopPatInvert);
  }

  void Run(const SelectionRange& s, const SelectionRange* o) const {
    const int32_t rw = g.rowHeaderWidth;
    const int32_t ch = g.columnHeaderHeight;
    int32_t y = area.top + ch + 1 + g.frozenHeight;
    for (uint32_t r = firstRow; r <= g.lastRow; ++r) {
      const int32_t h = GetRowHeight(sheet, r, zoomY);
      if (InRows(s, r) && !(o && InRows(*o, r))) {
        surface.SelectBrush(1, kSelectionHeadingColour, kSelectionHeadingColour);
        Invert(area.left + 1, y + 1, area.left + rw, y + h, kRopPatInvert);
      }
      int32_t x = area.left + rw + 1 + g.frozenWidth;
      for (uint32_t c = firstColumn; c <= g.lastColumn; ++c) {
        const int32_t w = GetColumnWidth(sheet, c, zoomX);
        if (r == firstRow && InColumns(s, c) && !(o && InColumns(*o, c))) {
          surface.SelectBrush(1, kSelectionHeadingColour, kSelectionHeadingColour);
          Invert(x + 1, area.top + 1, x + w, area.top + ch, kRopPatInvert);
        }
        if (InRows(s, r) && InColumns(s, c))
          Cell(s, o, c, r, x, w, y, h);
        x += w + 1;
      }
      y += h + 1;
    }
  }
};

}  // namespace

void DrawSelection(const PaintSurface& surface, const PixelRect& area, CWorkSheet* sheet, uint32_t firstRow,
                   uint16_t firstColumn, const SelectionRange* a, const SelectionRange* b, uint16_t zoomX,
                   uint16_t zoomY) {
  const PaintGeometry g = ComputePaintGeometry(surface.measurer, area, sheet, firstRow, firstColumn, zoomX, zoomY);
  const Pass pass = {surface, sheet, area, g, firstRow, firstColumn, zoomX, zoomY};
  if (b)
    pass.Run(*b, a);
  if (a)
    pass.Run(*a, b);
}

void DrawSelectionHandles(const PaintSurface& surface, const PixelRect& rect) {
  const int32_t l = rect.left;
  const int32_t t = rect.top;
  const int32_t r = rect.right;
  const int32_t b = rect.bottom;
  surface.SelectPen(1, GetSchemeColor(kSchemeHighlight), 100);
  const PixelPoint frame[5] = {{l, t}, {r, t}, {r, b}, {l, b}, {l, t}};
  surface.Polyline(frame, 5);
  const uint32_t window = GetSchemeColor(kSchemeWindow);
  surface.SelectBrush(1, window, window);
  const PixelRect handles[8] = {
      {l, t, l + 5, t + 5},
      {(l + r - 5) / 2, t, (l + r + 5) / 2, t + 5},
      {r - 5, t, r, t + 5},
      {r - 5, (t + b - 5) / 2, r, (t + b + 5) / 2},
      {r - 5, b - 5, r, b},
      {(l + r - 5) / 2, b - 5, (l + r + 5) / 2, b},
      {l, b - 5, l + 5, b},
      {l, (t + b - 5) / 2, l + 5, (t + b + 5) / 2},
  };
  for (const PixelRect& handle : handles) surface.FillRectFramed(handle);
}
