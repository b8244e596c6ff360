#include "charts/builders/builders_2d.h"

#include <cmath>

#include "charts/builders/builder_steps.h"
#include "charts/builders/pie_layout.h"
#include "charts/builders/plot_box.h"
#include "charts/builders/slice_fill.h"
#include "charts/frame/chart_colours.h"
#include "charts/labels/label_record.h"
#include "charts/labels/point_labels.h"
#include "charts/labels/related_series.h"
#include "charts/series/series_points.h"

namespace {

// Angles run clockwise from the top of a box whose first corner is at the
// lower left; a mirrored box turns them with it.
struct PieGeometry {
  float cx;
  float cy;
  float sx;
  float sy;

  PlotPoint At(double angle, double distance, double dx, double dy) const {
    return {static_cast<float>(cx + sx * (distance * std::sin(angle) + dx)),
            static_cast<float>(cy + sy * (distance * std::cos(angle) + dy))};
  }
};

void DrawSlice(const PaintSurface& surface, const PieGeometry& pie, PlotPoint centre, double a0, double a1,
               double radius, double dx, double dy) {
  const uint32_t steps = ArcStepCount(a0, a1);
  for (uint32_t i = 0; i < steps; ++i) {
    const double t0 = a0 + i * kArcStep;
    const PlotPoint end = pie.At(i + 1 == steps ? a1 : t0 + kArcStep, radius, dx, dy);
    const PlotPoint corners[4] = {centre, pie.At(t0, radius, dx, dy), end, end};
    DrawPlotPolygon(surface, corners, 4);
  }
}

bool DrawPie(ChartCanvas& canvas, const SeriesList& list, const PlotBox& box, uint32_t, bool) {
  ChartRecord& chart = canvas.chart;
  const int series = list.index[0];
  SeriesLists& lists = chart.seriesLists[series];
  const double total = ClassifyPieValues(chart, series);
  if (!(total != 0))
    return true;

  const SeriesRecord& s = chart.series[series];
  const int related = FindRelatedX(chart, series);
  int32_t labelWidth;
  int32_t labelHeight;
  MeasurePointLabels(canvas, series, related, &labelWidth, &labelHeight);
  const float unit = static_cast<float>(chart.lineUnit);
  const float split = chart.options.pieSplit / 100.0f;
  const int32_t labelSize = labelWidth > labelHeight ? labelWidth : labelHeight;
  const float radius = SliceRadius(box.x.length, box.y.length, chart.lineUnit, static_cast<float>(labelSize),
                                   chart.options.pieSplit);
  const PieGeometry pie = {(box.x0 + box.x1) / 2, (box.y0 + box.y1) / 2, box.x.direction, box.y.direction};

  double a0 = 0;
  double sum = 0;
  const uint32_t count = lists.points.Count();
  for (uint32_t i = 0; i < count; ++i) {
    const SeriesPoint* p = PointAt(lists, i);
    if (!p || !IsUsablePoint(*p))
      continue;
    sum += std::fabs(p->value);
    const double a1 = sum * 2 * kPiePi / total;
    const double middle = (a0 + a1) / 2;
    const double offset = chart.options.pieSplit != 0 ? split * radius : 0;
    const double dx = offset * std::sin(middle);
    const double dy = offset * std::cos(middle);
    const PlotPoint centre = pie.At(0, 0, dx, dy);

    const FillRecord& fill = s.sliceFills[SliceFillIndex(s, i)];
    const uint32_t colour = FillColour1(fill);
    canvas.surface.SelectPen(0, colour, 100);
    canvas.surface.SelectBrush(fill.pattern, colour, FillColour2(fill));
    DrawSlice(canvas.surface, pie, centre, a0, a1, radius, dx, dy);
    if (s.labelKind != 0) {
      const PlotPoint outside = pie.At(middle, radius + 2 * unit, dx, dy);
      if (!AddAutomaticLabel(chart, series, i, centre, outside, outside))
        return false;
    }
    a0 = a1;
  }
  return true;
}

}  // namespace

// Only the first series of the list is drawn.
bool BuildPie(ChartCanvas& canvas, const SeriesList& list) {
  if (list.count == 0)
    return true;
  SeriesList first = list;
  first.count = 1;
  return RunPlotBuilder(canvas, first, DrawPie, false);
}
