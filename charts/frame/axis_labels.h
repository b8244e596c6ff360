#ifndef TALVERO_CHARTS_FRAME_AXIS_LABELS_H
#define TALVERO_CHARTS_FRAME_AXIS_LABELS_H

// The texts along an axis and the room they take: a value axis labels its
// division values through the series' number format (powers of 2 and e as
// "2^n" and "e^n"), a category axis each group of categories by its middle
// category.

#include <cstddef>
#include <cstdint>

#include "charts/frame/chart_canvas.h"

// Room for any label, with its NUL; longer labels are cut.
constexpr size_t kAxisLabelSize = 256;

// Axis flag bits of a series.
constexpr uint16_t kAxisLabelsVertical = 1;
constexpr uint16_t kAxisLabelsHorizontal = 2;
constexpr uint16_t kAxisTitleVertical = 4;
constexpr uint16_t kAxisTitleHorizontal = 8;
constexpr uint16_t kAxisMajorTicks = 16;
constexpr uint16_t kAxisMinorTicks = 32;

inline bool ShowsAxisLabels(const SeriesRecord& s) {
  return (s.axisFlags & (kAxisLabelsVertical | kAxisLabelsHorizontal)) != 0;
}
inline bool ShowsAxisTitle(const SeriesRecord& s) {
  return (s.axisFlags & (kAxisTitleVertical | kAxisTitleHorizontal)) != 0;
}

// The labels of the axis: Periods + 1 on a value axis, Periods (the label
// count) on a category axis.
uint32_t AxisLabelCount(const SeriesRecord& series);

// The text of label i of the series' axis; false when there is none (a
// series without values, or no value or category axis).
bool AxisLabelText(const ChartRecord& chart, int series, uint32_t i, char* text, size_t size);

// The widest and tallest label and the title in the axis font at the zoom,
// and the extent they take across the axis (each part with one line unit),
// into the record, whose position code is set.
void MeasureAxisLabels(ChartCanvas& canvas, int series, AxisRecord* record);

#endif
