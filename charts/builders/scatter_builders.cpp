#include "charts/builders/builders_2d.h"

#include "charts/builders/builder_steps.h"
#include "charts/builders/error_bars.h"
#include "charts/builders/plot_box.h"
#include "charts/builders/point_marker.h"
#include "charts/frame/chart_colours.h"
#include "charts/labels/label_record.h"
#include "charts/labels/related_series.h"
#include "charts/series/series_points.h"
#include "view/draw_context/text_placement.h"

namespace {

// Pens of 6 and more are the wide solid ones, which would swallow markers.
uint8_t MarkerPenStyle(uint8_t style) { return style >= 6 ? 1 : style; }

struct PlacedPoint {
  const SeriesPoint* point;
  const SeriesPoint* x;  // of the X-values series, null at a category
  PlotPoint at;
};

// Where one series' points stand: at the category centres, or at the values
// of its X-values series.
struct PointPlacer {
  const ChartRecord& chart;
  const PlotBox& box;
  int series;
  int xSeries;  // kNoSeries: categories
  float slot;

  uint32_t Count() const {
    const uint32_t own = chart.seriesLists[series].points.Count();
    if (xSeries == kNoSeries)
      return own;
    const uint32_t xs = chart.seriesLists[xSeries].points.Count();
    return own < xs ? own : xs;
  }
  // False when point j is not drawn.
  bool Place(uint32_t j, PlacedPoint* placed) const {
    const SeriesPoint* p = PointAt(chart.seriesLists[series], j);
    if (!p || !IsUsablePoint(*p))
      return false;
    placed->point = p;
    placed->x = nullptr;
    placed->at.y = box.y.Position(p->position);
    if (xSeries == kNoSeries) {
      placed->at.x = SlotCentre(box.x, j, slot);
      return true;
    }
    const SeriesPoint* x = PointAt(chart.seriesLists[xSeries], j);
    if (!x || !IsUsablePoint(*x))
      return false;
    placed->x = x;
    placed->at.x = box.x.Position(x->position);
    return true;
  }
};

void DrawConnectingLine(const PaintSurface& surface, const PointPlacer& placer, const BorderLine& line) {
  surface.SelectPen(MarkerPenStyle(line.style), LineColour(line), 100);
  bool joined = false;
  PlotPoint previous = {0, 0};
  const uint32_t count = placer.Count();
  for (uint32_t j = 0; j < count; ++j) {
    PlacedPoint placed;
    if (!placer.Place(j, &placed)) {
      // An XY line joins the points it draws whatever lies between them.
      if (placer.xSeries == kNoSeries)
        joined = false;
      continue;
    }
    if (joined)
      DrawPlotLine(surface, previous, placed.at);
    previous = placed.at;
    joined = true;
  }
}

// Labels alternate below and above while a series keeps its direction, so
// that neighbours do not cover each other; a run starts above its point.
uint8_t NextLabelCode(bool runStart, bool fell, uint8_t previous) {
  if (runStart)
    return kAlignBottom;
  const uint8_t wanted = fell ? kAlignBottom : kAlignTop;
  if (wanted != previous)
    return wanted;
  return wanted == kAlignBottom ? kAlignTop : kAlignBottom;
}

// The offset of a label's anchor from its point, above the point for a text
// standing on it (bottom code) and below it otherwise.
float LabelOffset(const PlotBox& box, bool xy, float y, uint8_t code, float unit) {
  const bool upward = xy ? box.y1 < box.y0 : y > box.y1;
  const float above = upward ? -unit : unit;
  return code == kAlignBottom ? above : -above;
}

// The bars of a point: vertical ones from the series' error series,
// horizontal ones from that of its X-values series.
MarkerErrorBars PointErrorBars(const PointPlacer& placer, const PlacedPoint& placed, uint32_t j) {
  const ChartRecord& chart = placer.chart;
  MarkerErrorBars bars = {0, 0, 0, 0, 0};
  double error;
  if (PointError(chart, FindRelatedSigma(chart, placer.series), j, &error)) {
    const ErrorBarPair v = MeasureErrorBars(chart.series[placer.series], placed.point->value, error, placer.box.y,
                                            placed.at.y, kArrowDown, kArrowUp);
    bars.down = v.lower;
    bars.up = v.upper;
    bars.arrows = v.arrows;
  }
  if (placed.x && PointError(chart, FindRelatedSigma(chart, placer.xSeries), j, &error)) {
    const ErrorBarPair h = MeasureErrorBars(chart.series[placer.xSeries], placed.x->value, error, placer.box.x,
                                            placed.at.x, kArrowLeft, kArrowRight);
    bars.left = h.lower;
    bars.right = h.upper;
    bars.arrows = static_cast<uint8_t>(bars.arrows | h.arrows);
  }
  return bars;
}

// The markers of one series and their labels; the previous label's code
// carries over from series to series.
bool DrawMarkers(ChartCanvas& canvas, const PointPlacer& placer, bool xy, uint8_t* previousCode) {
  ChartRecord& chart = canvas.chart;
  const SeriesRecord& s = chart.series[placer.series];
  const float unit = static_cast<float>(chart.lineUnit);
  const uint16_t zoom = chart.zoomX > chart.zoomY ? chart.zoomX : chart.zoomY;
  canvas.surface.SelectPen(MarkerPenStyle(s.line.style), LineColour(s.line), 100);
  bool runStart = true;
  double previousValue = 0;
  const uint32_t count = placer.Count();
  for (uint32_t j = 0; j < count; ++j) {
    PlacedPoint placed;
    if (!placer.Place(j, &placed)) {
      runStart = true;
      continue;
    }
    PixelPoint pixel;
    if (DevicePoint(placed.at, &pixel))
      DrawMarker(canvas.surface, pixel.x, pixel.y, s.symbol, PointErrorBars(placer, placed, j), zoom);
    const double value = placed.point->value;
    if (s.labelKind != 0) {
      const uint8_t code = NextLabelCode(runStart, value < previousValue, *previousCode);
      const float offset = LabelOffset(placer.box, xy, placed.at.y, code, unit);
      if (!AddPointLabel(chart, placer.series, j, {placed.at.x, placed.at.y + offset}, kAlignCentre, code))
        return false;
      *previousCode = code;
    }
    runStart = false;
    previousValue = value;
  }
  return true;
}

bool DrawScatter(ChartCanvas& canvas, const SeriesList& list, const PlotBox& box, uint32_t n, bool xy) {
  const ChartRecord& chart = canvas.chart;
  const float slot = box.x.length / static_cast<float>(n);
  uint8_t previousCode = 0;
  for (int k = 0; k < list.count; ++k) {
    const int series = list.index[k];
    const SeriesRecord& s = chart.series[series];
    const int xSeries = xy ? FindRelatedX(chart, series) : kNoSeries;
    if (!s.visible || (xy && xSeries == kNoSeries))
      continue;
    const PointPlacer placer = {chart, box, series, xSeries, slot};
    canvas.surface.SelectBrush(s.fill.pattern, FillColour1(s.fill), FillColour2(s.fill));
    canvas.surface.SetTextColor(FillColour1(s.fill));
    if (s.connectingLine.style != 0)
      DrawConnectingLine(canvas.surface, placer, s.connectingLine);
    if (!DrawMarkers(canvas, placer, xy, &previousCode))
      return false;
  }
  return true;
}

}  // namespace

bool BuildScatter(ChartCanvas& canvas, const SeriesList& list, bool xy) {
  return RunPlotBuilder(canvas, list, DrawScatter, xy);
}
