#include "charts/builders/builders_2d.h"

#include "charts/builders/builder_steps.h"
#include "charts/builders/plot_box.h"
#include "charts/labels/label_record.h"
#include "charts/series/series_points.h"
#include "view/draw_context/text_placement.h"

namespace {

// Columns stand on the categories along x with their values up y; bars lie
// with x and y exchanged.
struct ColumnFrame {
  PlotAxis categories;
  PlotAxis values;
  bool bars;

  PlotPoint At(float category, float value) const {
    return bars ? PlotPoint{value, category} : PlotPoint{category, value};
  }
  // The shape between two category positions and two value positions.
  void DrawSpan(const PaintSurface& surface, float left, float right, float start, float end) const {
    const PlotPoint corners[5] = {At(left, start), At(right, start), At(right, end), At(left, end),
                                  At(left, start)};
    DrawPlotPolygon(surface, corners, 5);
  }
};

ColumnFrame FrameOf(const PlotBox& box, bool bars) {
  return bars ? ColumnFrame{box.y, box.x, true} : ColumnFrame{box.x, box.y, false};
}

// A width in percent of a length, in whole pixels.
float PercentWidth(uint8_t percent, float length) {
  int32_t pixels = 0;
  ToDevicePixel(percent / 100.0f * length, &pixels);
  return static_cast<float>(pixels);
}

bool IsRising(const SeriesPoint& p) { return (p.flags & (kPointPositive | kPointZero)) != 0; }

// One line unit beyond the end of the value, the text away from the column.
bool AddValueEndLabel(ChartRecord& chart, const ColumnFrame& frame, int series, uint32_t j, float middle,
                      float valueEnd, bool rising) {
  const float unit = static_cast<float>(chart.lineUnit);
  const float beyond = frame.values.direction * (rising ? unit : -unit);
  const PlotPoint anchor = frame.At(middle, valueEnd + beyond);
  if (frame.bars)
    return AddPointLabel(chart, series, j, anchor, rising ? kAlignLeft : kAlignRight, kAlignMiddle);
  return AddPointLabel(chart, series, j, anchor, kAlignCentre, rising ? kAlignBottom : kAlignTop);
}

bool DrawColumns(ChartCanvas& canvas, const SeriesList& list, const PlotBox& box, uint32_t n, bool bars) {
  ChartRecord& chart = canvas.chart;
  const ColumnFrame frame = FrameOf(box, bars);
  const float slot = frame.categories.length / static_cast<float>(n);
  const float sub = slot / static_cast<float>(list.count + 1);
  const float width = PercentWidth(chart.options.barSize, sub);
  for (int k = 0; k < list.count; ++k) {
    const int series = list.index[k];
    const SeriesRecord& s = chart.series[series];
    if (!s.visible)
      continue;
    SelectSeriesFill(canvas.surface, s, ColumnOutline(canvas.surface));
    float base;
    if (!ColumnBase(s, &base))
      continue;
    const float baseAt = frame.values.Position(base);
    const SeriesLists& lists = chart.seriesLists[series];
    const uint32_t count = lists.points.Count();
    for (uint32_t j = 0; j < count; ++j) {
      const SeriesPoint* p = PointAt(lists, j);
      if (!p || !IsUsablePoint(*p))
        continue;
      // Half a sub-slot before the first series and after the last parts
      // the categories.
      const float left = frame.categories.Along(static_cast<float>(j) * slot +
                                                (static_cast<float>(k) + 0.5f) * sub + (sub - width) / 2);
      const float right = frame.categories.direction > 0 ? left + width : left - width;
      const float valueAt = frame.values.Position(p->position);
      const bool rising = IsRising(*p);
      if (s.labelKind != 0 &&
          !AddValueEndLabel(chart, frame, series, j, (left + right) / 2, valueAt, rising))
        return false;
      if (!(p->flags & kPointZero))
        frame.DrawSpan(canvas.surface, left, right, rising ? valueAt : baseAt, rising ? baseAt : valueAt);
    }
  }
  return true;
}

bool DrawStackedColumns(ChartCanvas& canvas, const SeriesList& list, const PlotBox& box, uint32_t n, bool bars) {
  ChartRecord& chart = canvas.chart;
  float base;
  if (!StackBase(chart.series[list.index[0]], &base))
    return false;
  const ColumnFrame frame = FrameOf(box, bars);
  const float slot = frame.categories.length / static_cast<float>(n);
  const float width = PercentWidth(chart.options.stackBarSize, slot);
  const uint8_t outline = ColumnOutline(canvas.surface);
  for (uint32_t j = 0; j < n; ++j) {
    const float left = frame.categories.Along(static_cast<float>(j) * slot + (slot - width) / 2);
    const float right = frame.categories.direction > 0 ? left + width : left - width;
    float up = base;
    float down = base;
    for (int k = 0; k < list.count; ++k) {
      const int series = list.index[k];
      const SeriesPoint* p = PointAt(chart.seriesLists[series], j);
      if (!p || !IsUsablePoint(*p))
        continue;
      float& total = IsRising(*p) ? up : down;
      const float start = frame.values.Position(total);
      total += p->position - base;
      const float end = frame.values.Position(total);
      const SeriesRecord& s = chart.series[series];
      if (!s.visible)
        continue;
      SelectSeriesFill(canvas.surface, s, outline);
      frame.DrawSpan(canvas.surface, left, right, start, end);
      if (s.labelKind != 0 &&
          !AddPointLabel(chart, series, j, frame.At((left + right) / 2, (start + end) / 2), kAlignCentre,
                         kAlignMiddle))
        return false;
    }
  }
  return true;
}

}  // namespace

bool BuildColumns(ChartCanvas& canvas, const SeriesList& list, bool bars) {
  return RunPlotBuilder(canvas, list, DrawColumns, bars);
}

bool BuildStackedColumns(ChartCanvas& canvas, const SeriesList& list, bool bars) {
  return RunPlotBuilder(canvas, list, DrawStackedColumns, bars);
}
