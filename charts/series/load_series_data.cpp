#include "charts/series/load_series_data.h"

#include <cstring>

#include "charts/series/axis_scale.h"
#include "charts/series/chart_errors.h"
#include "charts/series/compute_scales.h"
#include "charts/series/series_points.h"
#include "core/base/result_check.h"
#include "core/cells/cell_store.h"
#include "core/edit/cell_display_text.h"

namespace {

constexpr uint32_t kMaxCategoryLabels = 65534;

// Each cell of an array's detached chain in storage order, through a walk
// of the whole grid; a record of no known size ends the walk.
const CellRecord* NextArrayCell(CellCursor& walk) { return NextCellInRange(walk, 0, kMaxColumn, 0, kMaxRow); }

// Element count of a rows x columns array; false when a list could not
// count that far.
bool ElementCount(uint32_t rows, uint32_t columns, uint32_t* count) {
  const uint64_t n = static_cast<uint64_t>(rows) * columns;
  if (n > UINT32_MAX)
    return false;
  *count = static_cast<uint32_t>(n);
  return true;
}

bool Fail(ChartRecord& chart, uint8_t code) {
  chart.error = code;
  return false;
}

// The extremes of the stored values and their order against the first one.
struct ValueStatistics {
  bool any = false;
  double first = 0;
  double minimum = 0;
  double maximum = 0;
  bool below = false;
  bool above = false;

  void Add(double v) {
    if (!any) {
      any = true;
      first = minimum = maximum = v;
      return;
    }
    if (v < minimum) minimum = v;
    if (v > maximum) maximum = v;
    below = below || v < first;
    above = above || v > first;
  }
};

uint8_t SignState(double v) { return v > 0 ? kStatePositive : v < 0 ? kStateNegative : kStateZero; }

void DropAllPoints(ChartRecord& chart) {
  for (int i = 0; i < chart.UsedSeriesCount(); ++i) chart.series[i].ClearPoints(chart.seriesLists[i]);
  chart.flags = static_cast<uint8_t>(chart.flags & ~(kChartDataLoaded | kChartPrepared));
}

}  // namespace

bool LoadSeriesPoints(ChartRecord& chart, int index, CellBlock* cells, uint32_t rows, uint32_t columns) {
  SeriesRecord& series = chart.series[index];
  if (series.role == kSeriesCategories)
    return LoadCategories(chart, index, cells, rows, columns);
  SeriesLists& lists = chart.seriesLists[index];
  uint32_t n = 0;
  if (!ElementCount(rows, columns, &n))
    return Fail(chart, kChartOutOfMemory);
  const SeriesPoint missing = {0.0, 0.0f, kPointMissing, {0, 0, 0}};
  for (uint32_t i = lists.points.Count(); i < n; ++i)
    if (!lists.points.Append(&missing))
      return Fail(chart, kChartOutOfMemory);
  lists.points.BuildPageTable();  // without the table points are still found, only slower

  const bool log = IsLogScale(series.scale);
  ValueStatistics statistics;
  uint8_t state = 0;
  CellCursor walk = StartRangeWalk(nullptr, cells, 0);
  while (const CellRecord* cell = NextArrayCell(walk)) {
    if (!cell->IsNumber() || cell->ErrorCode() != 0 || cell->Row() >= rows || cell->Column() >= columns)
      continue;
    const double v = cell->Number();
    if (IsBadNumber(v) || (log && !(v > 0)))
      continue;
    SeriesPoint* point = PointAt(lists, cell->Row() * columns + cell->Column());
    point->value = v;
    if (((series.flags & kSeriesFromValueSet) && v < series.fromValue) ||
        ((series.flags & kSeriesToValueSet) && v > series.toValue)) {
      point->flags = kPointCut;
      state |= kStateSomeCut;
      continue;
    }
    point->flags = 0;
    statistics.Add(v);
    state |= SignState(v);
  }
  state |= !statistics.below ? kStateNoneBelowFirst : !statistics.above ? kStateNoneAboveFirst : 0;
  series.limits.state = state;
  // Zeros count like any value: the range must not depend on where a zero
  // stands among the values.
  series.limits.minimum = statistics.minimum;
  series.limits.maximum = statistics.maximum;
  return true;
}

bool LoadCategories(ChartRecord& chart, int index, CellBlock* cells, uint32_t rows, uint32_t columns) {
  SeriesRecord& series = chart.series[index];
  SeriesLists& lists = chart.seriesLists[index];
  uint32_t n = 0;
  if (!ElementCount(rows, columns, &n))
    return Fail(chart, kChartOutOfMemory);
  // The step grows by factors of 1000 while there would be too many labels,
  // and goes back down as far as these categories allow: a step left from
  // a longer series would show a short one with few labels or none. A step
  // of its own (from a file) stays while it leaves at least one label.
  uint32_t step = series.divisor > 0 ? series.divisor : 1;
  while (n / step > kMaxCategoryLabels) step *= 1000;
  while (step >= 1000 && n / (step / 1000) <= kMaxCategoryLabels) step /= 1000;
  if (n > 0 && n / step == 0) step = 1;
  series.divisor = step;
  series.periods = static_cast<uint16_t>(n / step);

  CategoryLabel empty = {};
  empty.flags = kPointMissing;
  for (uint32_t i = lists.categories.Count(); i < n; ++i)
    if (!lists.categories.Append(&empty))
      return Fail(chart, kChartOutOfMemory);
  lists.categories.BuildPageTable();

  CellCursor walk = StartRangeWalk(nullptr, cells, 0);
  while (const CellRecord* cell = NextArrayCell(walk)) {
    if (!cell->IsText() && !cell->IsNumber())
      return Fail(chart, kChartNeedsArray);
    if (cell->Row() >= rows || cell->Column() >= columns)
      continue;
    CategoryLabel* label = CategoryAt(lists, cell->Row() * columns + cell->Column());
    FormatCellDisplayText(*cell, series.numberFormat, label->text, sizeof label->text);
    label->flags = 0;
  }
  return true;
}

bool LoadSeriesData(ChartRecord& chart, CellBlock* const* arrays, const uint16_t* columnCounts,
                    const uint32_t* rowCounts, uint32_t arrayCount) {
  chart.ClearSeries();
  chart.ResetStyles();
  const int used = chart.UsedSeriesCount();
  for (int i = 0; i < used; ++i) {
    const bool given = arrays && static_cast<uint32_t>(i) < arrayCount;
    if (!LoadSeriesPoints(chart, i, given ? arrays[i] : nullptr, given ? rowCounts[i] : 0,
                          given ? columnCounts[i] : 0)) {
      DropAllPoints(chart);
      return false;
    }
  }
  if (!ComputeScales(chart)) {
    DropAllPoints(chart);
    return false;
  }
  return true;
}
