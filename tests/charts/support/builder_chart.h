#ifndef TALVERO_TESTS_CHARTS_BUILDER_CHART_H
#define TALVERO_TESTS_CHARTS_BUILDER_CHART_H

// Charts of data series for the builder tests: every series of one view
// type on an axis of fixed range, loaded from the given values (NaN leaves
// a point missing).

#include <memory>
#include <vector>

#include "charts/series/series_selection.h"
#include "tests/charts/support/chart_test_data.h"
#include "tests/charts/support/plot_canvas.h"

struct TestSeries {
  std::vector<double> values;
  bool visible = true;
};

inline std::unique_ptr<ChartRecord> LoadedChart(TestArrays& arrays, uint8_t kind, uint8_t viewType, bool stacked,
                                                const std::vector<TestSeries>& series, double from, double to,
                                                uint8_t labelKind) {
  auto chart = NewChart(kind);
  for (size_t i = 0; i < series.size(); ++i) {
    SeriesRecord& s = SetSeries(*chart, static_cast<int>(i), kSeriesData, viewType);
    s.stacked = stacked;
    s.visible = series[i].visible;
    s.labelKind = labelKind;
    SetRange(s, from, to);
    arrays.AddNumbers(series[i].values);
  }
  EXPECT_TRUE(arrays.LoadInto(*chart));
  return chart;
}

inline SeriesList DataSeries(const ChartRecord& chart) {
  SeriesList list;
  CollectSeries(chart, &list, kSeriesData);
  return list;
}

#endif
