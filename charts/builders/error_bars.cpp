#include "charts/builders/error_bars.h"

#include <cmath>

#include "charts/labels/related_series.h"
#include "charts/series/axis_scale.h"
#include "charts/series/series_points.h"

namespace {

// The bar's length in pixels; 0 when the end has no place on the axis.
int32_t BarLength(const SeriesRecord& series, double end, const PlotAxis& axis, float at, uint8_t arrow,
                  uint8_t* arrows) {
  if (IsLogScale(series.scale)) {
    if (!(end > 0))
      return 0;
    end = ScaleLog(series.scale, end);
  }
  float scaled;
  if (!ValueToAxis(series, end, &scaled))
    return 0;
  const float low = axis.direction > 0 ? axis.start : axis.start - axis.length;
  const float high = low + axis.length;
  float reach = axis.Position(scaled);
  if (reach < low || reach > high) {
    reach = reach < low ? low : high;
    *arrows = static_cast<uint8_t>(*arrows | arrow);
  }
  int32_t length = 0;
  ToDevicePixel(std::fabs(static_cast<double>(reach) - at), &length);
  return length;
}

}  // namespace

bool PointError(const ChartRecord& chart, int errorSeries, uint32_t i, double* error) {
  if (errorSeries == kNoSeries)
    return false;
  const SeriesPoint* p = PointAt(chart.seriesLists[errorSeries], i);
  if (!p || (p->flags & kPointMissing))
    return false;
  *error = p->value;
  return true;
}

ErrorBarPair MeasureErrorBars(const SeriesRecord& series, double value, double error, const PlotAxis& axis,
                              float at, uint8_t lowerArrow, uint8_t upperArrow) {
  ErrorBarPair bars = {0, 0, 0};
  bars.lower = BarLength(series, value - error, axis, at, lowerArrow, &bars.arrows);
  bars.upper = BarLength(series, value + error, axis, at, upperArrow, &bars.arrows);
  return bars;
}
