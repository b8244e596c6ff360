#ifndef TALVERO_TESTS_CHARTS_CHART_TEST_DATA_H
#define TALVERO_TESTS_CHARTS_CHART_TEST_DATA_H

// Charts and the evaluated arrays they load, built the way the workbook
// builds them: each array a detached chain of value cells at 0-based
// positions, with its column and row counts.

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "charts/series/load_series_data.h"
#include "core/cells/cell_store.h"
#include "core/eval/eval_array_builder.h"
#include "core/model/chart_record.h"

class TestArrays {
 public:
  TestArrays() = default;
  TestArrays(const TestArrays&) = delete;
  TestArrays& operator=(const TestArrays&) = delete;
  ~TestArrays() {
    for (CellBlock* chain : chains_)
      if (chain)
        store_.ReleaseChain(chain);
  }

  // Numbers row by row in the given number of columns; a NaN leaves its
  // cell out, so that its point is missing.
  void AddNumbers(const std::vector<double>& values, uint16_t columns = 1) {
    ArrayBuilder builder(store_);
    for (size_t i = 0; i < values.size(); ++i)
      if (!std::isnan(values[i]))
        builder.AddNumber(static_cast<uint32_t>(i % columns), static_cast<uint32_t>(i / columns), values[i], 0);
    Keep(builder.Finish(), columns, static_cast<uint32_t>((values.size() + columns - 1) / columns));
  }
  // Texts in one column.
  void AddTexts(const std::vector<std::string>& texts) {
    ArrayBuilder builder(store_);
    for (size_t i = 0; i < texts.size(); ++i)
      builder.AddText(0, static_cast<uint32_t>(i), texts[i].data(), texts[i].size(), 0);
    Keep(builder.Finish(), 1, static_cast<uint32_t>(texts.size()));
  }
  // The numbers 1 to n in one column, built in one pass.
  void AddCounting(uint32_t n) {
    ArrayBuilder builder(store_);
    for (uint32_t i = 0; i < n; ++i) builder.AddNumber(0, i, i + 1.0, 0);
    Keep(builder.Finish(), 1, n);
  }

  bool LoadInto(ChartRecord& chart) {
    return LoadSeriesData(chart, chains_.data(), columns_.data(), rows_.data(), static_cast<uint32_t>(chains_.size()));
  }

 private:
  void Keep(CellBlock* chain, uint16_t columns, uint32_t rows) {
    chains_.push_back(chain);
    columns_.push_back(columns);
    rows_.push_back(rows);
  }

  CellStore store_;
  std::vector<CellBlock*> chains_;
  std::vector<uint16_t> columns_;
  std::vector<uint32_t> rows_;
};

inline std::unique_ptr<ChartRecord> NewChart(uint8_t kind) { return std::make_unique<ChartRecord>(kind); }

// Series i takes the role and view type; the chart uses at least i + 1 series.
inline SeriesRecord& SetSeries(ChartRecord& chart, int i, uint8_t role, uint8_t viewType) {
  SeriesRecord& s = chart.series[i];
  s.role = role;
  s.viewType = viewType;
  if (chart.options.seriesCount < i + 1)
    chart.options.seriesCount = static_cast<uint8_t>(i + 1);
  return s;
}

inline void SetName(SeriesRecord& s, const char* name) {
  std::memset(s.name, 0, sizeof s.name);
  std::strncpy(s.name, name, sizeof s.name - 1);
}

#endif
