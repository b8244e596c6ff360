#ifndef TALVERO_CHARTS_FRAME_GRID_POSITIONS_H
#define TALVERO_CHARTS_FRAME_GRID_POSITIONS_H

// The normalised positions along a series' axis where its grid lines and
// ticks stand: the divisions of a value axis or the label groups of a
// category axis, the subdivisions of a value axis (evenly spaced in value
// on a logarithmic scale), and the user grid lines. A position that is no
// representable float is left out.

#include <cstdint>

#include "core/model/chart_record.h"

// Receives each position in turn; false stops the walk with false.
using PositionVisitor = bool (*)(void* context, float position);

// Divisions 1 to Periods - 1, and subdivisions 1 to Subperiods - 1 of
// every division (value axes only); at most one position in each of the
// axis' slots (the axis split into slots equal parts): positions closer
// together than a slot would fall on one pixel of a drawn axis no longer
// than the slot count, so only the first of each run is laid out, and such
// runs are passed over without visiting each position. A slot count of 0
// visits every position.
bool VisitMajorPositions(const ChartRecord& chart, int series, uint32_t slots, PositionVisitor visit, void* context);
bool VisitMinorPositions(const ChartRecord& chart, int series, uint32_t slots, PositionVisitor visit, void* context);
// The position of user grid line k, false when it lies off the axis.
bool UserLinePosition(const ChartRecord& chart, int series, int k, float* position);

// Twice the longest an axis of a plot of those sides and depth can be drawn
// (pixels), at least 2: the slots of its positions.
inline uint32_t AxisSlots(float width, float height, float depth) {
  const double longest = double(width > 0 ? width : 0) + (height > 0 ? height : 0) + (depth > 0 ? depth : 0);
  return longest < 1 ? 2u : longest > 1e8 ? 200000000u : uint32_t(2 * longest);
}

// A data or X-values series: its axis shows values.
inline bool IsValueAxis(const SeriesRecord& series) {
  return series.role == kSeriesData || series.role == kSeriesXValues;
}

#endif
