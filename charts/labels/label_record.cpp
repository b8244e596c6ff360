#include "charts/labels/label_record.h"

namespace {

bool AppendViewVertex(ChartRecord& chart, PlotPoint p) {
  const VertexRecord vertex = {p.x, p.x, p.y, p.y, 0, 0};
  return chart.vertices.Append(&vertex);
}

}  // namespace

bool AddPointLabel(ChartRecord& chart, int series, uint32_t point, PlotPoint at, uint8_t horizontal,
                   uint8_t vertical) {
  const uint32_t vertex = chart.vertices.Count();
  if (!AppendViewVertex(chart, at))
    return false;
  const LabelRecord label = {point, 0, vertex, vertex, vertex, horizontal, vertical, {0, 0}};
  return chart.seriesLists[series].labels.Append(&label);
}

bool AddAutomaticLabel(ChartRecord& chart, int series, uint32_t point, PlotPoint anchor, PlotPoint second,
                       PlotPoint third) {
  const uint32_t first = chart.vertices.Count();
  return AppendViewVertex(chart, anchor) && AppendViewVertex(chart, second) && AppendViewVertex(chart, third) &&
         AppendAutomaticLabel(chart, series, point, first);
}

bool AppendAutomaticLabel(ChartRecord& chart, int series, uint32_t point, uint32_t first) {
  const LabelRecord label = {point, 0, first, first + 1, first + 2, 0, 0, {0, 0}};
  return chart.seriesLists[series].labels.Append(&label);
}

void ClearLabels(ChartRecord& chart, const SeriesList& list) {
  for (int k = 0; k < list.count; ++k) chart.seriesLists[list.index[k]].labels.Clear(true);
}
