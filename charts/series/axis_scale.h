#ifndef TALVERO_CHARTS_SERIES_AXIS_SCALE_H
#define TALVERO_CHARTS_SERIES_AXIS_SCALE_H

// A series' value axis as the geometry sees it: values in axis units (their
// logarithms on a logarithmic scale) and their normalised positions, from
// the limits that scaling left in the series.

#include <cstdint>

#include "core/model/series_record.h"

enum AxisScale : uint8_t {
  kScaleLinear = 0,
  kScaleLog2 = 1,
  kScaleLogE = 2,
  kScaleLog10 = 3,
};

inline bool IsLogScale(uint8_t scale) { return scale >= kScaleLog2 && scale <= kScaleLog10; }

// The logarithm on the scale's base of a positive value, or the value on a
// linear scale.
double ScaleLog(uint8_t scale, double value);
// The base of a logarithmic scale raised to the exponent.
double ScalePower(uint8_t scale, double exponent);
// A value as a log axis places it: a value not above 0 stands at log value 0.
double AxisLogOf(uint8_t scale, double value);

// The axis limits in axis units: the log limits on a logarithmic scale.
void AxisUnitsRange(const SeriesRecord& series, double* minimum, double* maximum);
// The axis value of division i of `Periods` (at least 1): minimum + i (maximum
// - minimum) / Periods.
double DivisionValue(const SeriesRecord& series, double i);

// A double as a float; false when it is not finite, beyond the float range
// or a non-zero magnitude below the smallest normal float.
bool ToRepresentableFloat(double value, float* out);

// The normalised position of a value in axis units, the series' offset
// applied: 0 at the axis minimum, 1 at its maximum. False when it is not a
// representable float.
bool ValueToAxis(const SeriesRecord& series, double value, float* position);

#endif
