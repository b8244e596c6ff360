#include "charts/builders/builder_steps.h"

#include "charts/builders/plot_box.h"
#include "charts/frame/chart_colours.h"
#include "charts/labels/label_record.h"
#include "charts/labels/point_labels.h"
#include "charts/labels/related_series.h"
#include "charts/series/axis_scale.h"
#include "charts/series/series_points.h"

namespace {

constexpr int kMaxPolygonCorners = 8;

}  // namespace

bool RunPlotBuilder(ChartCanvas& canvas, const SeriesList& list, PlotBuilderBody body, bool option) {
  PlotBox box;
  if (!LoadPlotBox(canvas, &box))
    return false;
  ChartRecord& chart = canvas.chart;
  ClearLabels(chart, list);
  uint32_t categories = 0;
  for (int k = 0; k < list.count; ++k) {
    const uint32_t count = chart.seriesLists[list.index[k]].points.Count();
    if (count > categories)
      categories = count;
  }
  if (categories == 0)
    return true;
  if (!body(canvas, list, box, categories, option))
    return false;
  for (int k = 0; k < list.count; ++k) {
    const int series = list.index[k];
    if (chart.series[series].labelKind != 0)
      DrawPointLabels(canvas, series, FindRelatedX(chart, series));
  }
  return true;
}

bool ColumnBase(const SeriesRecord& series, float* base) {
  const uint8_t signs = series.limits.state;
  if ((signs & kStatePositive) && (signs & kStateNegative))
    return ValueToAxis(series, 0.0, base);
  *base = (signs & kStateNegative) ? 1.0f : 0.0f;
  return true;
}

bool StackBase(const SeriesRecord& first, float* base) {
  if (first.limits.state & kStateNegative)
    return ValueToAxis(first, 0.0, base);
  *base = 0;
  return true;
}

void SelectSeriesFill(const PaintSurface& surface, const SeriesRecord& series, uint8_t penStyle) {
  const uint32_t colour = FillColour1(series.fill);
  surface.SelectPen(penStyle, colour, 100);
  surface.SelectBrush(series.fill.pattern, colour, FillColour2(series.fill));
}

uint8_t ColumnOutline(const PaintSurface& surface) { return surface.IsPrinting() ? 0 : 1; }

void DrawPlotPolygon(const PaintSurface& surface, const PlotPoint* corners, int count) {
  PixelPoint points[kMaxPolygonCorners];
  if (count > kMaxPolygonCorners)
    return;
  for (int i = 0; i < count; ++i)
    if (!DevicePoint(corners[i], &points[i]))
      return;
  surface.Polygon(points, count);
}

void DrawPlotLine(const PaintSurface& surface, PlotPoint from, PlotPoint to) {
  PixelPoint a;
  PixelPoint b;
  if (DevicePoint(from, &a) && DevicePoint(to, &b))
    surface.Line(a.x, a.y, b.x, b.y);
}
