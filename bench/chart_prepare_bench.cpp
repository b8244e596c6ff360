// A chart of 10 line series of 10,000 points each over 10,000 categories:
// loading and scaling the points, then preparing and drawing the chart onto
// the display-list surface of the tests (frame, axes, the lines, titles and
// legend), and drawing it again and again with every point labelled.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "charts/prepare/chart_prepare.h"
#include "tests/charts/support/chart_test_data.h"
#include "tests/charts/support/display_list_surface.h"

namespace {

constexpr int kSeries = 10;
constexpr uint32_t kPoints = 10000;
const PixelRect kSlot = {0, 0, 799, 599};

std::unique_ptr<ChartRecord> LargeChart(TestArrays& arrays) {
  auto chart = NewChart(kChart2D);
  SeriesRecord& categories = SetSeries(*chart, 0, kSeriesCategories, kViewLine);
  categories.axisType = 1;
  arrays.AddCounting(kPoints);
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(-500, 1500);
  for (int i = 1; i <= kSeries; ++i) {
    SeriesRecord& s = SetSeries(*chart, i, kSeriesData, kViewLine);
    SetName(s, ("Series " + std::to_string(i)).c_str());
    s.axisType = i == 1 ? 1 : 0;
    s.periods = 10;
    s.subperiods = 5;
    std::vector<double> values(kPoints);
    for (double& v : values) v = value(random);
    arrays.AddNumbers(values);
  }
  chart->options.legend = 5;
  std::strcpy(chart->options.titleText, "&cTen series");
  return chart;
}

void BM_LoadSeriesData(benchmark::State& state) {
  TestArrays arrays;
  auto chart = LargeChart(arrays);
  for (auto _ : state) benchmark::DoNotOptimize(arrays.LoadInto(*chart));
}
BENCHMARK(BM_LoadSeriesData)->Unit(benchmark::kMillisecond);

void BM_PrepareAndDraw(benchmark::State& state) {
  TestArrays arrays;
  auto chart = LargeChart(arrays);
  arrays.LoadInto(*chart);
  DisplayListSurface surface;
  for (auto _ : state) {
    chart->flags = static_cast<uint8_t>(chart->flags & ~kChartPrepared);
    surface.Clear();
    benchmark::DoNotOptimize(Prepare(*chart, surface.Surface(), kSlot, 100, 100));
    Draw(*chart, kSlot, surface.Surface());
  }
}
BENCHMARK(BM_PrepareAndDraw)->Unit(benchmark::kMillisecond);

void BM_LoadPrepareAndDraw(benchmark::State& state) {
  TestArrays arrays;
  auto chart = LargeChart(arrays);
  DisplayListSurface surface;
  for (auto _ : state) {
    surface.Clear();
    arrays.LoadInto(*chart);
    benchmark::DoNotOptimize(Prepare(*chart, surface.Surface(), kSlot, 100, 100));
    Draw(*chart, kSlot, surface.Surface());
  }
}
BENCHMARK(BM_LoadPrepareAndDraw)->Unit(benchmark::kMillisecond);

// Labels place a vertex each while the chart is drawn; every drawing drops
// them again, so repeated drawings keep their pace.
void BM_DrawLabelled(benchmark::State& state) {
  TestArrays arrays;
  auto chart = LargeChart(arrays);
  arrays.LoadInto(*chart);
  for (int i = 1; i <= kSeries; ++i) chart->series[i].labelKind = 2;
  DisplayListSurface surface;
  Prepare(*chart, surface.Surface(), kSlot, 100, 100);
  for (auto _ : state) {
    surface.Clear();
    Draw(*chart, kSlot, surface.Surface());
  }
}
BENCHMARK(BM_DrawLabelled)->Unit(benchmark::kMillisecond);

}  // namespace
