#ifndef TALVERO_DIALOGS_CHART_EDITOR_SERIES_PAGE_VALUES_H
#define TALVERO_DIALOGS_CHART_EDITOR_SERIES_PAGE_VALUES_H

// What the chart editor's "Data" and "Style" pages show of the selected
// series, which of their controls a series enables, and how their values
// go back into the series. Typed numbers use the regional decimal
// separator.

#include <cstdint>

#include "core/model/chart_record.h"
#include "dialogs/chart_editor/page_numbers.h"

// "Data".
constexpr int kRangeTextSize = 330;
enum DataPageField : int { kDataFromField = 1, kDataToField = 2 };

struct DataPageValues {
  bool enabled;           // a data or X-values series
  bool xDomainEnabled;    // a data series of an XY chart
  bool errorBarsEnabled;  // a scatter data series, or any but categories in an XY chart
  bool fromSet;
  bool toSet;
  char fromText[kRangeTextSize];
  char toText[kRangeTextSize];
  char relatedX[kSeriesTextSize];
  char relatedSigma[kSeriesTextSize];
  NumFormatParams numberFormat;
};

// series -1 (or one beyond the chart's) loads a cleared, disabled page.
void LoadDataPage(const ChartRecord& chart, int32_t series, char decimalSeparator, DataPageValues* values);
// kPageStored, or the edit of a checked box that holds no number (the
// series is then unchanged). Pages of other series store nothing.
int StoreDataPage(const DataPageValues& values, char decimalSeparator, ChartRecord* chart, int32_t series);

// "Style". The controls a data series enables.
enum StyleControl : uint16_t {
  kStyleVisible = 1,
  kStyleLabels = 2,
  kStyleLabelFont = 4,
  kStyleFill = 8,
  kStyleLine = 16,
  kStyleSymbol = 32,
  kStylePieSlices = 64,
};
uint16_t StyleControlsOf(uint8_t chartKind, uint8_t viewType);

constexpr int kAdvancedPercents = 5;  // bar, stacked bar, pie split, 3D line, 3D pie
constexpr int kPieSplitPercent = 2;

struct StylePageValues {
  bool enabled;     // a data series
  bool visible;
  uint8_t labelKind;
  ColorFontRecord labelFont;
  FillRecord fill;
  BorderLine line;
  uint8_t symbol;
  bool connectPoints;
  FillRecord slices[kSeriesSliceCount];
  bool withPercents;  // any series selected
  uint8_t percents[kAdvancedPercents];
};

// The slice fills are shown one at a time; the page keeps which (0..15).
void LoadStylePage(const ChartRecord& chart, int32_t series, StylePageValues* values);
void StoreStylePage(const StylePageValues& values, int slice, ChartRecord* chart, int32_t series);

// The slice a spin step moves to, never before the first or past the 16th.
int StepPieSlice(int slice, int delta);
// The lowest value an advanced percent takes: 0 for the pie split, 1 for
// the others (their sizes divide).
int AdvancedPercentMinimum(int field);
// An advanced percent's text; false when it holds no whole number within
// its range.
bool ParseAdvancedPercent(int field, const char* text, uint8_t* value);

#endif
