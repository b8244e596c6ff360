#include "charts/containers/container_painter.h"

#include "charts/prepare/chart_prepare.h"
#include "core/model/chart_record.h"
#include "view/draw_context/rect_margins.h"

namespace {

int32_t AtLeastOne(int32_t pixels) { return pixels > 0 ? pixels : 1; }

}  // namespace

bool ContainerSlot(const ContainerHeader& header, const PixelRect& grid, int index, uint16_t zoomX, uint16_t zoomY,
                   PixelRect* slot) {
  // Files may hold any byte; a grid of no columns or rows has one.
  const int columns = header.columns ? header.columns : 1;
  const int rows = header.rows ? header.rows : 1;
  const int column = index % columns;
  const int row = index / columns;
  if (row >= rows)
    return false;
  const int32_t cellWidth = (grid.right - grid.left + 1) / columns;
  const int32_t cellHeight = (grid.bottom - grid.top + 1) / rows;
  slot->left = grid.left + column * cellWidth;
  slot->right = slot->left + cellWidth - 1;
  slot->top = grid.top + row * cellHeight;
  slot->bottom = slot->top + cellHeight - 1;
  const int32_t horizontal = AtLeastOne(header.horizontalSpacing * zoomX / 100);
  const int32_t vertical = AtLeastOne(header.verticalSpacing * zoomY / 100);
  ShrinkRectByMargins(slot, horizontal, vertical, horizontal, vertical);
  return true;
}

void Draw(ContainerRecord& container, const PaintSurface& surface, const PixelRect& rect, ImageCache* images,
          uint16_t zoomX, uint16_t zoomY) {
  surface.PushClip(rect);
  DrawBackground(container, surface, rect, images, zoomX, zoomY);
  surface.PushClip({rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1});
  PixelRect grid = rect;
  DrawTitles(container, surface, &grid, zoomX, zoomY, true);
  const int count = container.header.itemCount;
  for (int i = 0; i < count; ++i) {
    const ContainerItem& item = container.items[i];
    PixelRect slot;
    if (item.kind != kItemChart || !item.chart || !ContainerSlot(container.header, grid, i, zoomX, zoomY, &slot))
      continue;
    ChartRecord& chart = *item.chart;
    if (Prepare(chart, surface, slot, zoomX, zoomY))
      ::Draw(chart, slot, surface);
    else
      container.error = chart.error;
  }
  PixelRect titles = rect;
  DrawTitles(container, surface, &titles, zoomX, zoomY, false);
  surface.PopClip();
  surface.PopClip();
}
