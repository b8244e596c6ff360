#include "view/grid_view/grid_hit_test.h"

#include <algorithm>

#include "core/workbook/worksheet.h"
#include "view/geometry/cell_at_point.h"
#include "view/geometry/sheet_sizes.h"
#include "view/grid_view/grid_frame.h"
#include "view/painting/container_placement.h"

namespace {

// Walks the visible indexes from start; calls test(index, start, size) until
// it answers true or the walk leaves the client extent or the grid.
template <class SizeOf, class Test>
bool WalkBand(int64_t start, int64_t clientExtent, uint32_t first, uint32_t last, SizeOf sizeOf, Test test) {
  for (uint32_t i = first; i <= last && start < clientExtent; ++i) {
    const int64_t size = sizeOf(i);
    if (test(i, start, size))
      return true;
    start += size + 1;
  }
  return false;
}

bool InsideHeaderSpan(int32_t p, int64_t start, int64_t size, int64_t clientExtent) {
  return p >= start + 3 && p < std::min(start + size - 3, clientExtent);
}

bool InsideBorderSpan(int32_t p, int64_t start, int64_t size, int64_t clientExtent) {
  const int64_t edge = start + size;
  return edge < clientExtent && p >= edge - 3 && p < edge + 3;
}

using SpanTest = bool (*)(int32_t p, int64_t start, int64_t size, int64_t clientExtent);

struct BandHit {
  uint32_t index;
  int64_t start;
  int64_t size;
};

// The column whose span, by the test, holds x while y lies in the column
// headings.
bool HitColumnBand(const GridHitInput& in, int32_t x, int32_t y, SpanTest inside, BandHit* hit) {
  const SheetViewport& v = *in.view;
  const GridFrame f = ComputeGridFrame(v, in.firstRow);
  if (y < 0 || y > f.columnHeaderHeight)
    return false;
  return WalkBand(f.scrollLeft, v.clientWidth, in.firstColumn, kMaxColumn,
                  [&](uint32_t c) { return GetColumnWidth(v.sheet, c, v.zoomX); },
                  [&](uint32_t c, int64_t start, int64_t size) {
                    *hit = {c, start, size};
                    return inside(x, start, size, v.clientWidth);
                  });
}

// The row whose span, by the test, holds y while x lies in the row headings.
bool HitRowBand(const GridHitInput& in, int32_t x, int32_t y, SpanTest inside, BandHit* hit) {
  const SheetViewport& v = *in.view;
  const GridFrame f = ComputeGridFrame(v, in.firstRow);
  if (x < 0 || x > f.rowHeaderWidth)
    return false;
  return WalkBand(f.scrollTop, v.clientHeight, in.firstRow, kMaxRow,
                  [&](uint32_t r) { return GetRowHeight(v.sheet, r, v.zoomY); },
                  [&](uint32_t r, int64_t start, int64_t size) {
                    *hit = {r, start, size};
                    return inside(y, start, size, v.clientHeight);
                  });
}

}  // namespace

bool HitTestContainer(const GridHitInput& in, int32_t x, int32_t y, bool moveToEnd, uint16_t* id) {
  const SheetViewport& v = *in.view;
  const GridFrame f = ComputeGridFrame(v, in.firstRow);
  const PixelRect area = {f.rowHeaderWidth + 1, f.columnHeaderHeight + 1, v.clientWidth, v.clientHeight};
  if (x < f.scrollLeft + 1 || y < f.scrollTop + 1 || x > area.right || y > area.bottom)
    return false;
  ContainerRecord* found = nullptr;
  for (ContainerRecord* c = v.sheet->containers; c; c = c->next) {
    PixelRect r;
    if (GetColumnRangeRect(area, v.sheet, in.firstRow, in.firstColumn, *c, &r, v.zoomX, v.zoomY) &&
        x >= r.left && x <= r.right && y >= r.top && y <= r.bottom)
      found = c;
  }
  if (!found)
    return false;
  *id = found->header.id;
  if (moveToEnd && found->next) {
    v.sheet->RemoveContainer(found);
    v.sheet->AddContainer(found);
  }
  return true;
}

bool HitTestSelectionFrame(const GridHitInput& in, int32_t x, int32_t y) {
  const SelectionRange s = {std::min(in.currentColumn, in.endColumn), std::min(in.currentRow, in.endRow),
                            std::max(in.currentColumn, in.endColumn), std::max(in.currentRow, in.endRow)};
  const PixelRect r = GetRangeRect(*in.view, in.firstRow, in.firstColumn, s);
  if (x < r.left || x > r.right || y < r.top || y > r.bottom)
    return false;
  if (in.endRow > in.currentRow && in.endRow - in.currentRow > 1)
    return x < r.left + 8 || x > r.right - 8 || y < r.top + 8 || y > r.bottom - 8;
  return y <= r.top + 4;
}

bool HitTestCell(const GridHitInput& in, int32_t x, int32_t y, uint32_t* row, uint16_t* column) {
  return CellAtPoint(*in.view, in.firstRow, in.firstColumn, x, y, row, column);
}

bool HitTestColumnHeader(const GridHitInput& in, int32_t x, int32_t y, uint16_t* column) {
  BandHit hit;
  if (!HitColumnBand(in, x, y, InsideHeaderSpan, &hit))
    return false;
  *column = static_cast<uint16_t>(hit.index);
  return true;
}

bool HitTestRowHeader(const GridHitInput& in, int32_t x, int32_t y, uint32_t* row) {
  BandHit hit;
  if (!HitRowBand(in, x, y, InsideHeaderSpan, &hit))
    return false;
  *row = hit.index;
  return true;
}

bool HitTestColumnBorder(const GridHitInput& in, int32_t x, int32_t y, uint16_t* column, int32_t* left,
                         int32_t* end) {
  BandHit hit;
  if (!HitColumnBand(in, x, y, InsideBorderSpan, &hit))
    return false;
  *column = static_cast<uint16_t>(hit.index);
  *left = static_cast<int32_t>(hit.start);
  *end = static_cast<int32_t>(hit.start + hit.size + 1);
  return true;
}

bool HitTestRowBorder(const GridHitInput& in, int32_t x, int32_t y, uint32_t* row, int32_t* top, int32_t* end) {
  BandHit hit;
  if (!HitRowBand(in, x, y, InsideBorderSpan, &hit))
    return false;
  *row = hit.index;
  *top = static_cast<int32_t>(hit.start);
  *end = static_cast<int32_t>(hit.start + hit.size + 1);
  return true;
}

GridHit HitTestGrid(const GridHitInput& in, int32_t x, int32_t y) {
  GridHit hit = {};
  if (HitTestContainer(in, x, y, true, &hit.containerId))
    hit.kind = GridHitKind::kContainer;
  else if (HitTestSelectionFrame(in, x, y))
    hit.kind = GridHitKind::kSelectionFrame;
  else if (HitTestCell(in, x, y, &hit.row, &hit.column))
    hit.kind = GridHitKind::kCell;
  else if (HitTestColumnHeader(in, x, y, &hit.column))
    hit.kind = GridHitKind::kColumnHeader;
  else if (HitTestRowHeader(in, x, y, &hit.row))
    hit.kind = GridHitKind::kRowHeader;
  else if (HitTestColumnBorder(in, x, y, &hit.column, &hit.edgeStart, &hit.edgeEnd))
    hit.kind = GridHitKind::kColumnBorder;
  else if (HitTestRowBorder(in, x, y, &hit.row, &hit.edgeStart, &hit.edgeEnd))
    hit.kind = GridHitKind::kRowBorder;
  return hit;
}
