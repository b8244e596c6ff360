#include "charts/prepare/chart_legend.h"

#include <cstring>

#include "charts/builders/point_marker.h"
#include "charts/frame/chart_colours.h"
#include "charts/series/series_selection.h"
#include "view/draw_context/rect_margins.h"
#include "view/draw_context/text_placement.h"

namespace {

struct LegendEntry {
  const SeriesRecord* series;
  size_t nameLength;
  int32_t textWidth;
  int32_t textHeight;
  int32_t markerSize;
};

int32_t Larger(int32_t a, int32_t b) { return a > b ? a : b; }

void SelectEntryTools(const PaintSurface& surface, const SeriesRecord& s) {
  if (s.viewType == kViewLine) {
    const uint32_t colour = LineColour(s.line);
    surface.SelectPen(1, colour, 100);
    surface.SelectBrush(1, colour, colour);
    return;
  }
  surface.SelectPen(1, s.viewType == kViewScatter ? LineColour(s.line) : FillColour1(s.fill), 100);
  surface.SelectBrush(s.fill.pattern, FillColour1(s.fill), FillColour2(s.fill));
}

}  // namespace

void LayoutLegend(ChartCanvas& canvas, const PixelRect& slot, bool measureOnly) {
  const uint8_t position = canvas.chart.options.legend;
  if (position == 0 || position > kLegendPositions)
    return;
  const ChartRecord& chart = canvas.chart;
  const PaintSurface& surface = canvas.surface;
  const ColorFontRecord& font = chart.options.legendFont;
  surface.SelectFont(font.font, 0, chart.zoomY);
  surface.SetTextColor(TextColour(font));
  surface.SetBkMode(1);

  const int32_t u = static_cast<int32_t>(chart.lineUnit);
  const bool column = position % 2 == 1;
  LegendEntry entries[kChartMaxSeries];
  int count = 0;
  int32_t width = 0;
  int32_t height = 0;
  for (int i = 0; i < chart.UsedSeriesCount(); ++i) {
    const SeriesRecord& s = chart.series[i];
    if (s.role != kSeriesData || !s.visible)
      continue;
    LegendEntry& e = entries[count++];
    e = {&s, strnlen(s.name, sizeof s.name), 0, 0, 0};
    TextExtent(surface.measurer, s.name, e.nameLength, &e.textWidth, &e.textHeight);
    e.markerSize = MarkerSizeCode(s.viewType == kViewScatter ? s.symbol : 4) * chart.zoomY / 100;
    if (column) {
      width = Larger(width, Larger(e.textWidth + e.markerSize + u, e.markerSize));
      height += Larger(e.textHeight, e.markerSize);
    } else {
      width += e.textWidth + 3 * u + e.markerSize;
      height = Larger(height, Larger(e.textHeight, e.markerSize));
    }
  }

  ChartMargins& margins = canvas.layout.margins;
  PixelRect area = slot;
  ShrinkRectByMargins(&area, margins.left, margins.top, margins.right, margins.bottom);
  const int side = (position - 1) / 2;  // 0 left, 1 top, 2 right, 3 bottom
  switch (side) {
    case 0: margins.left += width + 2 * u; break;
    case 1: margins.top += height + 2 * u; break;
    case 2: margins.right += width + 2 * u; break;
    default: margins.bottom += height + 2 * u; break;
  }
  if (measureOnly)
    return;

  const int32_t centreX = (area.left + area.right) / 2;
  const int32_t centreY = (area.top + area.bottom) / 2;
  int32_t x;
  int32_t y;
  switch (side) {
    case 0: x = area.left + u; y = centreY - height / 2; break;
    case 1: x = centreX - width / 2; y = area.top + u; break;
    case 2: x = area.right - width - u; y = centreY - height / 2; break;
    default: x = centreX - width / 2; y = area.bottom - height - u; break;
  }
  const uint16_t zoom = chart.zoomX > chart.zoomY ? chart.zoomX : chart.zoomY;
  for (int k = 0; k < count; ++k) {
    const LegendEntry& e = entries[k];
    SelectEntryTools(surface, *e.series);
    DrawMarker(surface, x + e.markerSize / 2, y + e.textHeight / 2, e.series->symbol, MarkerErrorBars{}, zoom);
    surface.SetTextAlign(kAlignLeft, kAlignTop);
    surface.DrawText(x + e.markerSize + u, y, e.series->name, e.nameLength, 0);
    if (column)
      y += e.textHeight + u;
    else
      x += e.textWidth + 2 * u + e.markerSize;
  }
}
