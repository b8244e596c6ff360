#include "charts/containers/container_painter.h"

#include <cstdio>

#include "charts/frame/chart_colours.h"
#include "charts/prepare/chart_prepare.h"
#include "core/model/chart_record.h"
#include "view/draw_context/rect_margins.h"

namespace {

int32_t AtLeastOne(int32_t pixels) { return pixels > 0 ? pixels : 1; }

ChartErrorText chartErrorText = nullptr;

// A chart whose series cannot be read (or that cannot be laid out) says so
// in its slot, in its legend's font, centred below the slot's top.
void DrawChartError(const ChartRecord& chart, const PaintSurface& surface, const PixelRect& slot, uint16_t zoomY) {
  if (!chartErrorText || chart.error == 0)
    return;
  const char* text = chartErrorText(chart.error);
  if (!text || !text[0])
    return;
  char codes[kContainerTextSize + 3] = "&c";
  std::snprintf(codes + 2, sizeof codes - 2, "%s", text);
  surface.SelectFont(chart.options.legendFont.font, 0, zoomY);
  surface.SetTextColor(TextColour(chart.options.legendFont));
  surface.SetBkMode(1);
  PixelRect line = {slot.left, slot.top + (slot.bottom - slot.top) / 2, slot.right, slot.bottom};
  surface.DrawHeaderFooter(&line, codes, false);
}

}  // namespace

void SetChartErrorText(ChartErrorText text) { chartErrorText = text; }

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
    if (Prepare(chart, surface, slot, zoomX, zoomY)) {
      ::Draw(chart, slot, surface);
    } else {
      container.error = chart.error;
      DrawChartError(chart, surface, slot, zoomY);
    }
  }
  PixelRect titles = rect;
  DrawTitles(container, surface, &titles, zoomX, zoomY, false);
  surface.PopClip();
  surface.PopClip();
}
