#include "dialogs/chart_editor/series_page_values.h"

#include <cstring>

#include "dialogs/chart_editor/page_numbers.h"
#include "services/convert/number_text.h"

namespace {

const SeriesRecord* SeriesAt(const ChartRecord& chart, int32_t series) {
  return series >= 0 && series < chart.UsedSeriesCount() ? &chart.series[series] : nullptr;
}

void FormatRangeValue(double value, char decimalSeparator, char* out, size_t size) {
  if (FormatDouble(out, size, decimalSeparator, value, -1) == 0)
    out[0] = '\0';
}

bool IsPie(uint8_t viewType) { return viewType == kViewPie || viewType == kViewPie3D; }

uint8_t* AdvancedPercent(ChartOptions& options, int field) {
  uint8_t* const fields[kAdvancedPercents] = {&options.barSize, &options.stackBarSize, &options.pieSplit,
                                              &options.lineWidth3D, &options.pieTickness3D};
  return fields[field];
}

}  // namespace

void LoadDataPage(const ChartRecord& chart, int32_t series, char decimalSeparator, DataPageValues* values) {
  std::memset(values, 0, sizeof *values);
  const SeriesRecord* s = SeriesAt(chart, series);
  if (s == nullptr || (s->role != kSeriesData && s->role != kSeriesXValues))
    return;
  const bool xy = chart.Kind() == kChartXY;
  values->enabled = true;
  values->xDomainEnabled = xy && s->role == kSeriesData;
  values->errorBarsEnabled = xy || (s->role == kSeriesData && s->viewType == kViewScatter);
  values->fromSet = (s->flags & kSeriesFromValueSet) != 0;
  values->toSet = (s->flags & kSeriesToValueSet) != 0;
  if (values->fromSet)
    FormatRangeValue(s->fromValue, decimalSeparator, values->fromText, sizeof values->fromText);
  if (values->toSet)
    FormatRangeValue(s->toValue, decimalSeparator, values->toText, sizeof values->toText);
  if (values->xDomainEnabled)
    CopyPageText(s->relatedX, values->relatedX, sizeof values->relatedX);
  if (values->errorBarsEnabled)
    CopyPageText(s->relatedSigma, values->relatedSigma, sizeof values->relatedSigma);
  values->numberFormat = s->numberFormat;
}

int StoreDataPage(const DataPageValues& values, char decimalSeparator, ChartRecord* chart, int32_t series) {
  if (SeriesAt(*chart, series) == nullptr)
    return kPageStored;
  SeriesRecord& s = chart->series[series];
  if (s.role != kSeriesData && s.role != kSeriesXValues)
    return kPageStored;
  double from = s.fromValue;
  double to = s.toValue;
  if (values.fromSet && !ParsePageNumber(values.fromText, decimalSeparator, &from))
    return kDataFromField;
  if (values.toSet && !ParsePageNumber(values.toText, decimalSeparator, &to))
    return kDataToField;
  s.flags = static_cast<uint16_t>(s.flags & ~(kSeriesFromValueSet | kSeriesToValueSet));
  // Unchecked boxes keep the numbers; only the flags say whether they apply.
  if (values.fromSet) {
    s.fromValue = from;
    s.flags = static_cast<uint16_t>(s.flags | kSeriesFromValueSet);
  }
  if (values.toSet) {
    s.toValue = to;
    s.flags = static_cast<uint16_t>(s.flags | kSeriesToValueSet);
  }
  const bool xy = chart->Kind() == kChartXY;
  if (xy && s.role == kSeriesData)
    CopyTrimmedName(values.relatedX, s.relatedX, sizeof s.relatedX);
  if (xy || (s.role == kSeriesData && s.viewType == kViewScatter))
    CopyTrimmedName(values.relatedSigma, s.relatedSigma, sizeof s.relatedSigma);
  s.numberFormat = values.numberFormat;
  return kPageStored;
}

uint16_t StyleControlsOf(uint8_t chartKind, uint8_t viewType) {
  uint16_t controls = kStyleVisible | kStyleFill;
  if (chartKind != kChart3D)
    controls |= kStyleLabels | kStyleLabelFont;
  if (viewType == kViewLine || viewType == kViewScatter)
    controls |= kStyleLine;
  if (viewType == kViewScatter)
    controls |= kStyleSymbol;
  if (IsPie(viewType))
    controls |= kStyleLabels | kStylePieSlices;
  return controls;
}

void LoadStylePage(const ChartRecord& chart, int32_t series, StylePageValues* values) {
  std::memset(values, 0, sizeof *values);
  values->visible = true;
  values->symbol = 4;
  values->connectPoints = true;
  values->fill.pattern = 1;
  values->line.style = 1;
  const SeriesRecord* s = SeriesAt(chart, series);
  if (s == nullptr)
    return;
  ChartOptions options = chart.options;
  values->withPercents = true;
  for (int field = 0; field < kAdvancedPercents; ++field) values->percents[field] = *AdvancedPercent(options, field);
  if (s->role != kSeriesData)
    return;
  values->enabled = true;
  values->visible = s->visible != 0;
  if (chart.Kind() != kChart3D || s->viewType == kViewPie3D) {
    values->labelKind = s->labelKind;
    values->labelFont = s->labelFont;
  }
  if (s->viewType != kViewLine)
    values->fill = s->fill;
  std::memcpy(values->slices, s->sliceFills, sizeof values->slices);
  if (s->viewType == kViewLine || s->viewType == kViewScatter)
    values->line = s->line;
  if (s->viewType == kViewScatter) {
    values->symbol = s->symbol;
    values->connectPoints = s->connectingLine.style != 0;
  }
}

void StoreStylePage(const StylePageValues& values, int slice, ChartRecord* chart, int32_t series) {
  if (SeriesAt(*chart, series) == nullptr)
    return;
  SeriesRecord& s = chart->series[series];
  if (values.withPercents)
    for (int field = 0; field < kAdvancedPercents; ++field) {
      const int lowest = AdvancedPercentMinimum(field);
      const uint8_t value = values.percents[field];
      *AdvancedPercent(chart->options, field) =
          static_cast<uint8_t>(value < lowest ? lowest : value > 100 ? 100 : value);
    }
  if (s.role != kSeriesData)
    return;
  s.visible = values.visible ? 1 : 0;
  s.labelKind = values.labelKind <= 4 ? values.labelKind : 0;
  s.labelFont = values.labelFont;
  s.fill = values.fill;
  std::memcpy(s.sliceFills, values.slices, sizeof s.sliceFills);
  if (slice >= 0 && slice < kSeriesSliceCount)
    s.sliceFills[slice] = values.fill;
  s.line = values.line;
  if (s.viewType == kViewScatter) {
    s.connectingLine = values.line;
    s.symbol = values.symbol;
    if (!values.connectPoints)
      s.connectingLine.style = 0;
  }
}

int StepPieSlice(int slice, int delta) {
  if (delta > 0 && slice < kSeriesSliceCount - 1)
    return slice + 1;
  if (delta < 0 && slice > 0)
    return slice - 1;
  return slice;
}

int AdvancedPercentMinimum(int field) { return field == kPieSplitPercent ? 0 : 1; }

bool ParseAdvancedPercent(int field, const char* text, uint8_t* value) {
  int parsed = 0;
  if (field < 0 || field >= kAdvancedPercents || !ParsePageInteger(text, AdvancedPercentMinimum(field), 100, &parsed))
    return false;
  *value = static_cast<uint8_t>(parsed);
  return true;
}
