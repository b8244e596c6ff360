#include "charts/builders/builders_2d.h"

#include "charts/builders/builder_steps.h"
#include "charts/builders/plot_box.h"
#include "charts/labels/label_record.h"
#include "charts/series/series_points.h"
#include "view/draw_context/text_placement.h"

namespace {

// The running totals at one end of a pair of categories, positive values
// stacking upwards and negative ones downwards.
struct StackEnd {
  float up;
  float down;

  // Moves the total of the point's sign; old and new are the band's edge.
  void Add(const SeriesPoint& p, float base, float* before, float* after) {
    float& total = (p.flags & (kPointPositive | kPointZero)) ? up : down;
    *before = total;
    total += p.position - base;
    *after = total;
  }
};

bool DrawStackedAreas(ChartCanvas& canvas, const SeriesList& list, const PlotBox& box, uint32_t n, bool) {
  ChartRecord& chart = canvas.chart;
  float base;
  if (!StackBase(chart.series[list.index[0]], &base))
    return false;
  const float slot = box.x.length / static_cast<float>(n);
  // A point inside a series borders two pairs and lies at the same place in
  // both: it is labelled once, from the first pair that reaches it.
  int64_t labelled[kChartMaxSeries];
  for (int64_t& point : labelled) point = -1;
  for (uint32_t j = 0; j + 1 < n; ++j) {
    const float xLeft = SlotCentre(box.x, j, slot);
    const float xRight = SlotCentre(box.x, j + 1, slot);
    StackEnd left = {base, base};
    StackEnd right = {base, base};
    for (int k = 0; k < list.count; ++k) {
      const int series = list.index[k];
      const SeriesLists& lists = chart.seriesLists[series];
      const SeriesPoint* p = PointAt(lists, j);
      const SeriesPoint* q = PointAt(lists, j + 1);
      if (!p || !q || !IsUsablePoint(*p) || !IsUsablePoint(*q))
        break;
      const SeriesRecord& s = chart.series[series];
      SelectSeriesFill(canvas.surface, s, 0);
      float leftOld;
      float leftNew;
      float rightOld;
      float rightNew;
      left.Add(*p, base, &leftOld, &leftNew);
      right.Add(*q, base, &rightOld, &rightNew);
      if (!s.visible)
        continue;
      const PlotPoint a = {xLeft, box.y.Position(leftOld)};
      const PlotPoint b = {xLeft, box.y.Position(leftNew)};
      const PlotPoint c = {xRight, box.y.Position(rightOld)};
      const PlotPoint d = {xRight, box.y.Position(rightNew)};
      const PlotPoint first[4] = {a, b, c, a};
      const PlotPoint second[4] = {c, d, b, c};
      DrawPlotPolygon(canvas.surface, first, 4);
      DrawPlotPolygon(canvas.surface, second, 4);
      if (s.labelKind == 0)
        continue;
      if (labelled[k] != j &&
          !AddPointLabel(chart, series, j, {xLeft, (a.y + b.y) / 2}, kAlignCentre, kAlignMiddle))
        return false;
      if (!AddPointLabel(chart, series, j + 1, {xRight, (c.y + d.y) / 2}, kAlignCentre, kAlignMiddle))
        return false;
      labelled[k] = j + 1;
    }
  }
  return true;
}

}  // namespace

bool BuildStackedAreas(ChartCanvas& canvas, const SeriesList& list) {
  return RunPlotBuilder(canvas, list, DrawStackedAreas, false);
}
