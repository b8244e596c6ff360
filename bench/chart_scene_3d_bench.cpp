// A 3D column chart of 10 series of 1,000 points (10,000 columns, 120,000
// faces): preparing its scene (build, projection, light, perspective, depth
// sort) and drawing it onto the display-list surface of the tests.

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "charts/prepare/chart_prepare.h"
#include "tests/charts/support/chart_test_data.h"
#include "tests/charts/support/display_list_surface.h"

namespace {

constexpr int kSeries = 10;
constexpr uint32_t kPoints = 1000;
const PixelRect kSlot = {0, 0, 799, 599};

std::unique_ptr<ChartRecord> ColumnScene(TestArrays& arrays) {
  auto chart = NewChart(kChart3D);
  std::mt19937 random(11);
  std::uniform_real_distribution<double> value(-500, 1500);
  for (int i = 0; i < kSeries; ++i) {
    SetSeries(*chart, i, kSeriesData, kViewColumn3D);
    std::vector<double> values(kPoints);
    for (double& v : values) v = value(random);
    arrays.AddNumbers(values);
  }
  ChartRecord::Transform(chart->viewMatrix, kRotateAboutX, 0.4);
  ChartRecord::Transform(chart->viewMatrix, kRotateAboutY, 0.7);
  return chart;
}

void BM_Prepare3DColumns(benchmark::State& state) {
  TestArrays arrays;
  auto chart = ColumnScene(arrays);
  arrays.LoadInto(*chart);
  DisplayListSurface surface;
  for (auto _ : state) {
    chart->flags = static_cast<uint8_t>(chart->flags & ~kChartPrepared);
    benchmark::DoNotOptimize(Prepare(*chart, surface.Surface(), kSlot, 100, 100));
  }
  state.counters["faces"] = chart->faces.Count();
}
BENCHMARK(BM_Prepare3DColumns)->Unit(benchmark::kMillisecond);

void BM_Draw3DColumns(benchmark::State& state) {
  TestArrays arrays;
  auto chart = ColumnScene(arrays);
  arrays.LoadInto(*chart);
  DisplayListSurface surface;
  Prepare(*chart, surface.Surface(), kSlot, 100, 100);
  for (auto _ : state) {
    surface.Clear();
    Draw(*chart, kSlot, surface.Surface());
  }
}
BENCHMARK(BM_Draw3DColumns)->Unit(benchmark::kMillisecond);

}  // namespace
