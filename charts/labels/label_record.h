#ifndef TALVERO_CHARTS_LABELS_LABEL_RECORD_H
#define TALVERO_CHARTS_LABELS_LABEL_RECORD_H

// Where a data-point label goes: the builders leave one record per label in
// its series' label list, naming vertices of the chart's vertex list, and
// the label drawing reads them back after the series are drawn.

#include <cstddef>
#include <cstdint>

#include "charts/frame/chart_canvas.h"
#include "charts/series/series_selection.h"

#pragma pack(push, 1)

struct LabelRecord {
  uint32_t point;
  uint32_t unused;
  uint32_t anchor;  // vertex at which the text is set
  uint32_t second;  // with the third, the direction of an automatic label
  uint32_t third;
  uint8_t horizontal;  // 1 left, 2 centre, 3 right; both codes 0: automatic
  uint8_t vertical;    // 4 top, 5 middle, 7 bottom
  uint8_t spare[2];
};

#pragma pack(pop)

static_assert(sizeof(LabelRecord) == 24, "label records are 24 bytes");
static_assert(offsetof(LabelRecord, anchor) == 8 && offsetof(LabelRecord, horizontal) == 20, "");

inline const LabelRecord* LabelAt(const SeriesLists& lists, uint32_t i) {
  return reinterpret_cast<const LabelRecord*>(lists.labels.At(i));
}

// Adds a vertex at the point (view and model values alike, z 0) and a label
// of the series' point anchored on it with the codes; false when the vertex
// or the label list cannot grow.
bool AddPointLabel(ChartRecord& chart, int series, uint32_t point, PlotPoint at, uint8_t horizontal,
                   uint8_t vertical);

// Adds the three vertices and a label placed automatically: set at the
// second or the third point, whichever lies farther from the anchor, on the
// side away from it.
bool AddAutomaticLabel(ChartRecord& chart, int series, uint32_t point, PlotPoint anchor, PlotPoint second,
                       PlotPoint third);

// A label placed automatically on three vertices already in the list, from
// `first` on: the anchor, the second and the third.
bool AppendAutomaticLabel(ChartRecord& chart, int series, uint32_t point, uint32_t first);

// Empties the label lists of the series, keeping their pages.
void ClearLabels(ChartRecord& chart, const SeriesList& list);

#endif
