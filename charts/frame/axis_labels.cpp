#include "charts/frame/axis_labels.h"

#include <cstring>

#include "charts/frame/axis_position.h"
#include "charts/series/axis_scale.h"
#include "charts/series/series_points.h"
#include "core/base/error_code.h"
#include "core/edit/cell_display_text.h"
#include "core/numfmt/double_to_text.h"
#include "core/numfmt/regional_settings.h"

namespace {

// The series' number format shows the value as a cell of that format would.
void FormatAxisValue(const SeriesRecord& series, double value, char* text, size_t size) {
  FormatNumberDisplayText(value, kErrorNone, series.numberFormat, text, size);
}

void CategoryLabelText(const ChartRecord& chart, int series, uint32_t i, char* text, size_t size) {
  const uint32_t step = chart.series[series].divisor > 0 ? chart.series[series].divisor : 1;
  const uint64_t middle = static_cast<uint64_t>(i) * step + step / 2;
  const CategoryLabel* label =
      middle < chart.seriesLists[series].categories.Count()
          ? CategoryAt(chart.seriesLists[series], static_cast<uint32_t>(middle))
          : nullptr;
  if (label && !(label->flags & kPointMissing)) {
    const size_t length = strnlen(label->text, sizeof label->text);
    const size_t kept = length < size - 1 ? length : size - 1;
    std::memcpy(text, label->text, kept);
    text[kept] = '\0';
    return;
  }
  DoubleToText(static_cast<double>(middle + 1), text, size, &CurrentRegionalSettings());
}

// The extent across an axis of a text w x h: its height when it is set
// vertically on a side axis or horizontally on a top or bottom one.
int32_t Across(uint8_t code, bool vertical, int32_t width, int32_t height) {
  return IsSideAxis(code) == vertical ? height : width;
}

}  // namespace

uint32_t AxisLabelCount(const SeriesRecord& series) {
  return series.role == kSeriesCategories ? series.periods : series.periods + 1u;
}

bool AxisLabelText(const ChartRecord& chart, int series, uint32_t i, char* text, size_t size) {
  const SeriesRecord& s = chart.series[series];
  if (s.role == kSeriesCategories) {
    CategoryLabelText(chart, series, i, text, size);
    return true;
  }
  if ((s.role != kSeriesData && s.role != kSeriesXValues) || !HasValues(s))
    return false;
  const double value = DivisionValue(s, i);
  switch (s.scale) {
    case kScaleLog2:
    case kScaleLogE:
      // A second section keeps the minus sign on the exponent.
      FormatNumberToString(value, s.scale == kScaleLog2 ? "2^#;2^-#" : "e^#;e^-#", text, size,
                           &CurrentRegionalSettings());
      return true;
    case kScaleLog10:
      FormatAxisValue(s, ScalePower(s.scale, value), text, size);
      return true;
    default:
      FormatAxisValue(s, value, text, size);
      return true;
  }
}

void MeasureAxisLabels(ChartCanvas& canvas, int series, AxisRecord* record) {
  const SeriesRecord& s = canvas.chart.series[series];
  const TextMeasurer& measurer = canvas.surface.measurer;
  const int32_t unit = static_cast<int32_t>(canvas.chart.lineUnit);
  uint32_t extent = 0;
  if (ShowsAxisLabels(s) || ShowsAxisTitle(s))
    canvas.surface.SelectFont(s.axisTitleFont.font, 0, canvas.chart.zoomY);
  if (ShowsAxisLabels(s)) {
    const uint32_t count = AxisLabelCount(s);
    for (uint32_t i = 0; i < count; ++i) {
      char text[kAxisLabelSize];
      int32_t width = 0;
      int32_t height = 0;
      if (!AxisLabelText(canvas.chart, series, i, text, sizeof text) ||
          !TextExtent(measurer, text, std::strlen(text), &width, &height))
        continue;
      if (width > record->labelWidth) record->labelWidth = width;
      if (height > record->labelHeight) record->labelHeight = height;
    }
    const bool vertical = (s.axisFlags & kAxisLabelsVertical) != 0;
    extent += Across(record->position, vertical, record->labelWidth, record->labelHeight) + unit;
  }
  const size_t titleLength = strnlen(s.axisTitleText, sizeof s.axisTitleText);
  int32_t titleWidth = 0;
  int32_t titleHeight = 0;
  if (ShowsAxisTitle(s) && titleLength > 0 &&
      TextExtent(measurer, s.axisTitleText, titleLength, &titleWidth, &titleHeight)) {
    const bool vertical = (s.axisFlags & kAxisTitleVertical) != 0;
    extent += Across(record->position, vertical, titleWidth, titleHeight) + unit;
    record->titleWidth = titleWidth;
    record->titleHeight = titleHeight;
  }
  record->extent = extent;
}
