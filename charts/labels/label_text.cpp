#include "charts/labels/label_text.h"

#include <cstdio>
#include <cstring>

#include "charts/labels/related_series.h"
#include "charts/series/series_points.h"
#include "core/numfmt/format_code_builder.h"
#include "core/numfmt/number_format.h"
#include "core/numfmt/regional_settings.h"

namespace {

// A percent format shows a fraction as its hundredfold.
bool FormatLabelValue(const SeriesRecord& s, double value, const char* code, char* text, size_t size) {
  if (s.numberFormat.category == kNumFormatPercent)
    value *= 100;
  return FormatNumberToString(value, code, text, size, &CurrentRegionalSettings());
}

void PointNumber(uint32_t point, char* text, size_t size) {
  std::snprintf(text, size, "%u", static_cast<unsigned>(point + 1));
}

bool CategoryText(const ChartRecord& chart, int series, int related, uint32_t point, const char* code,
                  LabelPurpose purpose, char* text, size_t size) {
  text[0] = '\0';
  if (related == kNoSeries)
    return true;
  const SeriesLists& lists = chart.seriesLists[related];
  const uint8_t role = chart.series[related].role;
  if (role == kSeriesXValues) {
    const SeriesPoint* x = PointAt(lists, point);
    if (x && IsUsablePoint(*x))
      return FormatLabelValue(chart.series[series], x->value, code, text, size);
    PointNumber(point, text, size);
    return true;
  }
  if (role != kSeriesCategories && purpose == kLabelToDraw)
    return true;
  const CategoryLabel* category = role == kSeriesCategories ? CategoryAt(lists, point) : nullptr;
  if (category && !(category->flags & (kPointCut | kPointMissing))) {
    const size_t length = strnlen(category->text, sizeof category->text);
    const size_t kept = length < size - 1 ? length : size - 1;
    std::memcpy(text, category->text, kept);
    text[kept] = '\0';
    return true;
  }
  PointNumber(point, text, size);
  return true;
}

}  // namespace

void PointLabelCode(const SeriesRecord& series, char* code, size_t size) {
  const NumFormatParams& format = series.numberFormat;
  if (format.category == kNumFormatUserPattern) {
    const size_t length = strnlen(format.code, sizeof format.code);
    const size_t kept = length < size - 1 ? length : size - 1;
    std::memcpy(code, format.code, kept);
    code[kept] = '\0';
    return;
  }
  BuildFormatCode(format.category, format.options, code, size, nullptr);
}

bool PointLabelText(const ChartRecord& chart, int series, int related, uint32_t point, const char* code,
                    LabelPurpose purpose, char* text, size_t size) {
  const SeriesRecord& s = chart.series[series];
  const uint8_t kind = s.labelKind;
  if (kind < kLabelCategory || kind > kLabelValueCategory)
    return false;
  char value[kLabelPartSize] = "";
  char category[kLabelPartSize] = "";
  if (kind != kLabelCategory) {
    const SeriesPoint* p = PointAt(chart.seriesLists[series], point);
    if (!p || !FormatLabelValue(s, p->value, code, value, sizeof value))
      return false;
  }
  if (kind != kLabelValue &&
      !CategoryText(chart, series, related, point, code, purpose, category, sizeof category))
    return false;
  switch (kind) {
    case kLabelCategory: std::snprintf(text, size, "%s", category); break;
    case kLabelValue: std::snprintf(text, size, "%s", value); break;
    case kLabelCategoryValue: std::snprintf(text, size, "%s\n%s", category, value); break;
    default: std::snprintf(text, size, "%s\n%s", value, category); break;
  }
  return true;
}
