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

// Divisions 1 to Periods - 1.
bool VisitMajorPositions(const ChartRecord& chart, int series, PositionVisitor visit, void* context);
// Subdivisions 1 to Subperiods - 1 of every division; value axes only.
bool VisitMinorPositions(const ChartRecord& chart, int series, PositionVisitor visit, void* context);
// The position of user grid line k, false when it lies off the axis.
bool UserLinePosition(const ChartRecord& chart, int series, int k, float* position);

// A data or X-values series: its axis shows values.
inline bool IsValueAxis(const SeriesRecord& series) {
  return series.role == kSeriesData || series.role == kSeriesXValues;
}

#endif
