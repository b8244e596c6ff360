#ifndef TALVERO_DIALOGS_CHART_EDITOR_AXIS_PAGE_VALUES_H
#define TALVERO_DIALOGS_CHART_EDITOR_AXIS_PAGE_VALUES_H

// What the chart editor's "Axes" and "Grid" pages show of the selected
// series' axis, which controls a series enables, and how their values go
// back into the series.

#include <cstdint>

#include "charts/frame/axis_labels.h"
#include "core/model/chart_record.h"
#include "dialogs/chart_editor/page_numbers.h"

// A tick setting is kept as the number shown plus 1 in 16 bits, and files
// hold at most 65534 there.
constexpr int kTickSettingMaximum = 65533;

enum AxisPageMode : uint8_t {
  kAxisPageDisabled = 0,  // no series, an error-bar series or a pie
  kAxisPageCategories = 1,  // no tick numbers, minor ticks or scale
  kAxisPageFull = 2,        // data and X-values series
};
AxisPageMode AxisPageModeOf(const ChartRecord& chart, int32_t series);

enum AxesPageField : int { kAxesMajorField = 1, kAxesMinorField = 2 };

struct AxesPageValues {
  AxisPageMode mode;
  uint8_t axisType;  // 0 "None" .. 3 "Dual"
  BorderLine line;
  bool majorTicks;
  bool minorTicks;
  char majorText[16];
  char minorText[16];
  bool title;
  bool titleVertical;
  bool labels;
  bool labelsVertical;
  uint8_t scale;  // 0 "Linear" .. 3 "Log10"
  char name[kSeriesTextSize];
  ColorFontRecord font;
};

void LoadAxesPage(const ChartRecord& chart, int32_t series, AxesPageValues* values);
// kPageStored, or the tick edit that holds no whole number 0..65533 (the
// series is then unchanged).
int StoreAxesPage(const AxesPageValues& values, ChartRecord* chart, int32_t series);

struct GridPageValues {
  AxisPageMode mode;
  BorderLine major;
  BorderLine minor;
  int userCount;
  BorderLine userLines[kSeriesUserGridLines];
  double userValues[kSeriesUserGridLines];
};

void LoadGridPage(const ChartRecord& chart, int32_t series, GridPageValues* values);
void StoreGridPage(const GridPageValues& values, ChartRecord* chart, int32_t series);

// A user gridline after the others; false when 16 are there already.
bool AddUserGridline(GridPageValues* values, double value, const BorderLine& line);
// Removes the entry, the later ones moving up; returns the row to select
// then (the same index, or the new last one; -1 when none is left or the
// index is none of the entries).
int DeleteUserGridline(GridPageValues* values, int index);

#endif
