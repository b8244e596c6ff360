#include "view/painting/container_placement.h"

#include "core/workbook/worksheet.h"
#include "view/geometry/sheet_sizes.h"
#include "view/geometry/sheet_viewport.h"

namespace {

// One direction of the grid: columns with their widths, or rows with their heights.
struct Axis {
  CWorkSheet* sheet;
  uint16_t zoom;
  bool isRows;
  int32_t Size(uint32_t index) const {
    return isRows ? GetRowHeight(sheet, index, zoom) : GetColumnWidth(sheet, index, zoom);
  }
  uint32_t Last() const { return isRows ? kMaxRow : kMaxColumn; }
};

int32_t Scaled(int32_t offset, uint16_t zoom) { return static_cast<int32_t>(static_cast<int64_t>(offset) * zoom / 100); }

// The container's first and last pixel along one axis; false when it ends
// before areaStart or starts past areaEnd.
bool Span(const Axis& axis, int32_t areaStart, int32_t areaEnd, int32_t frozenSize, uint32_t first, uint32_t anchor,
          int32_t offsetFrom, int32_t offsetTo, int32_t* from, int32_t* to) {
  const int32_t x1 = Scaled(offsetFrom, axis.zoom);
  const int32_t size = Scaled(offsetTo, axis.zoom) - x1 + 1;
  int64_t start = 0;
  if (anchor < first) {
    int64_t s = -x1;
    for (uint32_t i = anchor; i < first; ++i) {
      s += axis.Size(i) + 1;
      if (s > size)
        return false;
    }
    start = areaStart - s + frozenSize;
  } else {
    int64_t at = static_cast<int64_t>(areaStart) + frozenSize;
    for (uint32_t i = first; i < anchor; ++i) {
      if (at + x1 > areaEnd)
        return false;
      at += axis.Size(i) + 1;
    }
    if (at + x1 > areaEnd)
      return false;
    start = at + x1;
  }
  *from = static_cast<int32_t>(start);
  *to = static_cast<int32_t>(start + size - 1);
  return true;
}

// The anchor index under a pixel and the pixel's offset from that index's
// grid line, at zoom 100.
void Place(const Axis& axis, int32_t origin, int32_t frozenSize, uint32_t first, int32_t point, uint32_t* anchor,
           int32_t* offset) {
  int64_t at = origin;
  uint32_t index = first;
  if (point < origin) {
    while (at > point && index > 0) {
      --index;
      at -= axis.Size(index) + 1;
    }
  } else {
    at += frozenSize;
    while (index < axis.Last() && at + axis.Size(index) + 1 < point) {
      at += axis.Size(index) + 1;
      ++index;
    }
  }
  *anchor = index;
  *offset = axis.zoom ? static_cast<int32_t>((point - at) * 100 / axis.zoom) : 0;
}

}  // namespace

bool GetColumnRangeRect(const PixelRect& cellArea, CWorkSheet* sheet, uint32_t firstRow, uint16_t firstColumn,
                        const ContainerRecord& container, PixelRect* rect, uint16_t zoomX, uint16_t zoomY) {
  const FrozenPanes panes = GetFrozenPanes(sheet);
  const Axis columns = {sheet, zoomX, false};
  const Axis rows = {sheet, zoomY, true};
  const ContainerHeader& h = container.header;
  const int32_t frozenWidth = panes.column ? columns.Size(panes.frozenColumn) + 1 : 0;
  const int32_t frozenHeight = panes.row ? rows.Size(panes.frozenRow) + 1 : 0;
  PixelRect r;
  if (!Span(columns, cellArea.left, cellArea.right, frozenWidth, firstColumn, h.anchor.column, h.rect.left,
            h.rect.right, &r.left, &r.right) ||
      !Span(rows, cellArea.top, cellArea.bottom, frozenHeight, firstRow, h.anchor.row, h.rect.top, h.rect.bottom,
            &r.top, &r.bottom))
    return false;
  *rect = r;
  return true;
}

void PlaceContainerAt(const PixelPoint& origin, CWorkSheet* sheet, uint32_t firstRow, uint16_t firstColumn,
                      ContainerRecord* container, const PixelPoint& point, uint16_t zoomX, uint16_t zoomY) {
  const FrozenPanes panes = GetFrozenPanes(sheet);
  const Axis columns = {sheet, zoomX, false};
  const Axis rows = {sheet, zoomY, true};
  ContainerHeader& h = container->header;
  uint32_t column = 0;
  uint32_t row = 0;
  int32_t left = 0;
  int32_t top = 0;
  Place(columns, origin.x, panes.column ? columns.Size(panes.frozenColumn) + 1 : 0, firstColumn, point.x, &column,
        &left);
  Place(rows, origin.y, panes.row ? rows.Size(panes.frozenRow) + 1 : 0, firstRow, point.y, &row, &top);
  h.anchor.column = static_cast<uint16_t>(column);
  h.anchor.row = row;
  h.rect.right = left + (h.rect.right - h.rect.left);
  h.rect.left = left;
  h.rect.bottom = top + (h.rect.bottom - h.rect.top);
  h.rect.top = top;
}
