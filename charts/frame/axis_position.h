#ifndef TALVERO_CHARTS_FRAME_AXIS_POSITION_H
#define TALVERO_CHARTS_FRAME_AXIS_POSITION_H

// Where a series' axes stand. A data series' first axis runs up the left
// side and an X-values or category series' along the bottom, the second
// axes opposite; bars turn the plot, and a 3D chart puts its value and
// category axes on the box.

#include <cstdint>

#include "charts/frame/chart_layout.h"
#include "core/model/chart_record.h"

enum WhichAxis : int {
  kFirstAxis = 1,
  kSecondAxis = 2,
};

// Whether the series shows that axis (its axis display 1 or 3, 2 or 3).
bool ShowsAxis(const SeriesRecord& series, int which);

// The position code of the series' axis, kAxisNone for an error-bar series.
uint8_t AxisPosition(const ChartRecord& chart, const SeriesRecord& series, int which);

// Codes whose axis runs up the plot's side (left and right, 2D and 3D).
inline bool IsSideAxis(uint8_t code) {
  return code == kAxisLeft || code == kAxisRight || code == kAxisLeft3D || code == kAxisRight3D;
}
// Codes on the 3D box, which keep no room for ticks in the margins.
inline bool IsBoxAxis(uint8_t code) {
  return code == kAxisLeft3D || code == kAxisBottom3D || code == kAxisRight3D;
}
// -1 for axes whose labels stand on the left or top, +1 right or bottom.
inline int AxisSide(uint8_t code) {
  return code == kAxisLeft || code == kAxisLeft3D || code == kAxisTop ? -1 : 1;
}

#endif
