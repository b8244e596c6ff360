#include "charts/builders/builders_2d.h"

#include "charts/builders/builder_steps.h"
#include "charts/builders/plot_box.h"
#include "charts/frame/chart_colours.h"
#include "charts/labels/label_record.h"
#include "charts/series/series_points.h"
#include "view/draw_context/text_placement.h"

namespace {

bool DrawLines(ChartCanvas& canvas, const SeriesList& list, const PlotBox& box, uint32_t n, bool) {
  ChartRecord& chart = canvas.chart;
  const float slot = box.x.length / static_cast<float>(n);
  const float unit = static_cast<float>(chart.lineUnit);
  for (int k = 0; k < list.count; ++k) {
    const int series = list.index[k];
    const SeriesRecord& s = chart.series[series];
    if (!s.visible)
      continue;
    canvas.surface.SelectPen(s.line.style, LineColour(s.line), 100);
    const SeriesLists& lists = chart.seriesLists[series];
    const uint32_t count = lists.points.Count();
    bool joined = false;  // the previous point was drawn
    PlotPoint previous = {0, 0};
    double previousValue = 0;
    for (uint32_t j = 0; j < count; ++j) {
      const SeriesPoint* p = PointAt(lists, j);
      if (!p || !IsUsablePoint(*p)) {
        joined = false;
        continue;
      }
      const PlotPoint at = {SlotCentre(box.x, j, slot), box.y.Position(p->position)};
      if (joined)
        DrawPlotLine(canvas.surface, previous, at);
      if (s.labelKind != 0) {
        // A label hangs below a point the line fell to and stands above any
        // other.
        const bool fell = joined && p->value < previousValue;
        const PlotPoint anchor = {at.x, at.y + box.y.direction * (fell ? -unit : unit)};
        if (!AddPointLabel(chart, series, j, anchor, kAlignCentre, fell ? kAlignTop : kAlignBottom))
          return false;
      }
      joined = true;
      previous = at;
      previousValue = p->value;
    }
  }
  return true;
}

}  // namespace

bool BuildLines(ChartCanvas& canvas, const SeriesList& list) { return RunPlotBuilder(canvas, list, DrawLines, false); }
