#include "dialogs/chart_editor/axis_page_values.h"

#include <cstring>

#include "dialogs/chart_editor/page_numbers.h"

namespace {

bool ParseTickSetting(const char* text, uint16_t* stored) {
  int value = 0;
  if (!ParsePageInteger(text, 0, kTickSettingMaximum, &value))
    return false;
  *stored = static_cast<uint16_t>(value + 1);
  return true;
}

void FormatTickSetting(uint16_t stored, char* out, size_t size) {
  FormatPageInteger(stored > 0 ? stored - 1 : 0, out, size);
}

}  // namespace

AxisPageMode AxisPageModeOf(const ChartRecord& chart, int32_t series) {
  if (series < 0 || series >= chart.UsedSeriesCount())
    return kAxisPageDisabled;
  const SeriesRecord& s = chart.series[series];
  if (s.viewType == kViewPie || s.viewType == kViewPie3D)
    return kAxisPageDisabled;
  if (s.role == kSeriesData || s.role == kSeriesXValues)
    return kAxisPageFull;
  return s.role == kSeriesCategories ? kAxisPageCategories : kAxisPageDisabled;
}

void LoadAxesPage(const ChartRecord& chart, int32_t series, AxesPageValues* values) {
  std::memset(values, 0, sizeof *values);
  values->line.style = 1;
  values->mode = AxisPageModeOf(chart, series);
  if (values->mode == kAxisPageDisabled)
    return;
  const SeriesRecord& s = chart.series[series];
  values->axisType = s.axisType <= 3 ? s.axisType : 0;
  values->line = s.axisLine;
  values->majorTicks = (s.axisFlags & kAxisMajorTicks) != 0;
  if (values->mode == kAxisPageFull) {
    FormatTickSetting(s.periods, values->majorText, sizeof values->majorText);
    FormatTickSetting(s.subperiods, values->minorText, sizeof values->minorText);
    values->minorTicks = (s.axisFlags & kAxisMinorTicks) != 0;
    values->scale = s.scale <= 3 ? s.scale : 0;
  }
  values->title = (s.axisFlags & (kAxisTitleHorizontal | kAxisTitleVertical)) != 0;
  values->titleVertical = (s.axisFlags & kAxisTitleVertical) != 0;
  values->labels = (s.axisFlags & (kAxisLabelsHorizontal | kAxisLabelsVertical)) != 0;
  values->labelsVertical = (s.axisFlags & kAxisLabelsVertical) != 0;
  CopyPageText(s.axisTitleText, values->name, sizeof values->name);
  values->font = s.axisTitleFont;
}

int StoreAxesPage(const AxesPageValues& values, ChartRecord* chart, int32_t series) {
  const AxisPageMode mode = AxisPageModeOf(*chart, series);
  if (mode == kAxisPageDisabled)
    return kPageStored;
  SeriesRecord& s = chart->series[series];
  uint16_t periods = s.periods;
  uint16_t subperiods = s.subperiods;
  // The tick numbers count even when their boxes are unchecked.
  if (mode == kAxisPageFull) {
    if (!ParseTickSetting(values.majorText, &periods))
      return kAxesMajorField;
    if (!ParseTickSetting(values.minorText, &subperiods))
      return kAxesMinorField;
  }
  uint16_t flags = 0;
  if (values.majorTicks)
    flags |= kAxisMajorTicks;
  if (mode == kAxisPageFull && values.minorTicks)
    flags |= kAxisMinorTicks;
  if (values.title)
    flags |= values.titleVertical ? kAxisTitleVertical : kAxisTitleHorizontal;
  if (values.labels)
    flags |= values.labelsVertical ? kAxisLabelsVertical : kAxisLabelsHorizontal;
  s.axisType = values.axisType <= 3 ? values.axisType : 0;
  s.axisLine = values.line;
  s.axisFlags = flags;
  if (mode == kAxisPageFull) {
    s.periods = periods;
    s.subperiods = subperiods;
    s.scale = values.scale <= 3 ? values.scale : 0;
  }
  CopyPageText(values.name, s.axisTitleText, sizeof s.axisTitleText);
  s.axisTitleFont = values.font;
  return kPageStored;
}

void LoadGridPage(const ChartRecord& chart, int32_t series, GridPageValues* values) {
  std::memset(values, 0, sizeof *values);
  values->major.style = 1;
  values->minor.style = 1;
  values->mode = AxisPageModeOf(chart, series);
  if (values->mode == kAxisPageDisabled)
    return;
  const SeriesRecord& s = chart.series[series];
  values->major = s.majorGrid;
  values->minor = s.minorGrid;
  if (values->mode != kAxisPageFull)
    return;
  values->userCount = s.userGridCount <= kSeriesUserGridLines ? s.userGridCount : kSeriesUserGridLines;
  std::memcpy(values->userLines, s.userGridLines, sizeof values->userLines);
  std::memcpy(values->userValues, s.userGridValues, sizeof values->userValues);
}

void StoreGridPage(const GridPageValues& values, ChartRecord* chart, int32_t series) {
  const AxisPageMode mode = AxisPageModeOf(*chart, series);
  if (mode == kAxisPageDisabled)
    return;
  SeriesRecord& s = chart->series[series];
  s.majorGrid = values.major;
  s.minorGrid = values.minor;
  if (mode != kAxisPageFull)
    return;
  const int count = values.userCount < 0 ? 0 : values.userCount > kSeriesUserGridLines ? kSeriesUserGridLines
                                                                                        : values.userCount;
  s.userGridCount = static_cast<uint8_t>(count);
  std::memcpy(s.userGridLines, values.userLines, sizeof s.userGridLines);
  std::memcpy(s.userGridValues, values.userValues, sizeof s.userGridValues);
}

bool AddUserGridline(GridPageValues* values, double value, const BorderLine& line) {
  if (values->userCount >= kSeriesUserGridLines)
    return false;
  values->userLines[values->userCount] = line;
  values->userValues[values->userCount] = value;
  ++values->userCount;
  return true;
}

int DeleteUserGridline(GridPageValues* values, int index) {
  const int count = values->userCount;
  if (index < 0 || index >= count)
    return -1;
  for (int i = index; i + 1 < count; ++i) {
    values->userLines[i] = values->userLines[i + 1];
    values->userValues[i] = values->userValues[i + 1];
  }
  values->userCount = count - 1;
  if (values->userCount == 0)
    return -1;
  return index < values->userCount ? index : values->userCount - 1;
}
