#include "charts/series/axis_scale.h"

#include <cfloat>
#include <cmath>

#include "core/base/result_check.h"

double ScaleLog(uint8_t scale, double value) {
  switch (scale) {
    case kScaleLog2: return std::log2(value);
    case kScaleLogE: return std::log(value);
    case kScaleLog10: return std::log10(value);
    default: return value;
  }
}

double ScalePower(uint8_t scale, double exponent) {
  switch (scale) {
    case kScaleLog2: return std::exp2(exponent);
    case kScaleLogE: return std::exp(exponent);
    case kScaleLog10: return std::pow(10.0, exponent);
    default: return exponent;
  }
}

double AxisLogOf(uint8_t scale, double value) { return value > 0 ? ScaleLog(scale, value) : 0.0; }

void AxisUnitsRange(const SeriesRecord& series, double* minimum, double* maximum) {
  const bool log = IsLogScale(series.scale);
  *minimum = log ? series.limits.logMinimum : series.limits.minimum;
  *maximum = log ? series.limits.logMaximum : series.limits.maximum;
}

double DivisionValue(const SeriesRecord& series, double i) {
  double m;
  double big;
  AxisUnitsRange(series, &m, &big);
  // A series read with no divisions has its one division, as scaling gives it.
  const double periods = series.periods > 1 ? series.periods : 1;
  return m + i * (big - m) / periods;
}

bool ToRepresentableFloat(double value, float* out) {
  if (IsBadNumber(value) || value > FLT_MAX || value < -FLT_MAX)
    return false;
  const float f = static_cast<float>(value);
  if (IsBadFloat(f))
    return false;
  *out = f;
  return true;
}

bool ValueToAxis(const SeriesRecord& series, double value, float* position) {
  double m;
  double big;
  AxisUnitsRange(series, &m, &big);
  const double base = 0.0 < m ? m : 0.0 > big ? big : 0.0;
  return ToRepresentableFloat((value - base) / (big - m) - series.limits.offset, position);
}
