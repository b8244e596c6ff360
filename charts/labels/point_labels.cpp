#include "charts/labels/point_labels.h"

#include <cstring>

#include "charts/frame/chart_colours.h"
#include "charts/labels/label_placement.h"
#include "charts/labels/label_record.h"
#include "charts/labels/label_text.h"
#include "charts/series/series_points.h"

namespace {

bool ShowsPointLabels(const SeriesRecord& s) { return s.role == kSeriesData && s.labelKind != kNoPointLabels; }

void SelectLabelFont(ChartCanvas& canvas, const SeriesRecord& s) {
  canvas.surface.SelectFont(s.labelFont.font, 0, canvas.chart.zoomY);
}

}  // namespace

void DrawPointLabels(ChartCanvas& canvas, int series, int related) {
  ChartRecord& chart = canvas.chart;
  const SeriesRecord& s = chart.series[series];
  SeriesLists& lists = chart.seriesLists[series];
  if (!ShowsPointLabels(s) || lists.labels.Count() == 0)
    return;
  char code[kNumFormatCodeSize];
  PointLabelCode(s, code, sizeof code);
  const PaintSurface& surface = canvas.surface;
  surface.SetBkMode(1);
  surface.SetTextColor(TextColour(s.labelFont));
  SelectLabelFont(canvas, s);
  // Walking the lists' pages for every label would cost a chain walk each.
  lists.labels.BuildPageTable();
  chart.vertices.BuildPageTable();
  const uint32_t count = lists.labels.Count();
  for (uint32_t i = 0; i < count; ++i) {
    const LabelRecord* label = LabelAt(lists, i);
    const VertexRecord* anchor = label ? VertexAt(chart, label->anchor) : nullptr;
    if (!anchor)
      continue;
    const VertexRecord* at = anchor;
    LabelAlignment alignment = {label->horizontal, label->vertical};
    if (label->horizontal == 0 && label->vertical == 0) {
      const VertexRecord* second = VertexAt(chart, label->second);
      const VertexRecord* third = VertexAt(chart, label->third);
      if (!second || !third)
        continue;
      PlaceAutomaticLabel(*anchor, *second, *third, &at, &alignment);
    }
    char text[kPointLabelSize];
    PixelPoint p;
    if (!PointLabelText(chart, series, related, label->point, code, kLabelToDraw, text, sizeof text) ||
        !DevicePoint(*at, &p))
      continue;
    surface.SetTextAlign(alignment.horizontal, alignment.vertical);
    surface.DrawText(p.x, p.y, text, std::strlen(text), 0);
  }
}

void MeasurePointLabels(ChartCanvas& canvas, int series, int related, int32_t* width, int32_t* height) {
  *width = 0;
  *height = 0;
  const ChartRecord& chart = canvas.chart;
  const SeriesRecord& s = chart.series[series];
  if (!ShowsPointLabels(s))
    return;
  char code[kNumFormatCodeSize];
  PointLabelCode(s, code, sizeof code);
  SelectLabelFont(canvas, s);
  const SeriesLists& lists = chart.seriesLists[series];
  const uint32_t count = lists.points.Count();
  for (uint32_t i = 0; i < count; ++i) {
    const SeriesPoint* p = PointAt(lists, i);
    char text[kPointLabelSize];
    int32_t w = 0;
    int32_t h = 0;
    if (!p || !IsUsablePoint(*p) ||
        !PointLabelText(chart, series, related, i, code, kLabelToMeasure, text, sizeof text) ||
        !TextExtent(canvas.surface.measurer, text, std::strlen(text), &w, &h))
      continue;
    if (w > *width) *width = w;
    if (h > *height) *height = h;
  }
}
