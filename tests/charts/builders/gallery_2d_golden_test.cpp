// The gallery's 2D and XY sample charts drawn whole onto the display-list
// surface and compared with the committed lists in tests/charts/golden
// (TALVERO_UPDATE_GOLDEN=1 rewrites them): every 2D tile, the XY tile, and
// the 2D tiles again with their data-point labels shown.

#include <gtest/gtest.h>

#include <string>

#include "tests/charts/support/chart_golden.h"
#include "tests/charts/support/gallery_chart.h"

namespace {

const char* const kTileNames[kGalleryTiles] = {
    "columns",      "stacked columns", "100 percent columns", "bars",        "stacked bars", "100 percent bars",
    "lines",        "stacked areas",   "100 percent areas",   "pie",         "scatter"};

std::string Tile(uint8_t kind, int tile, uint8_t labelKind, const char* name) {
  TestArrays arrays;
  auto chart = NewChart(kind);
  if (!LoadGallerySample(*chart, tile, arrays))
    return std::string("== ") + name + " ==\n(not loaded)\n";
  for (int i = 0; i < kChartMaxSeries; ++i) chart->series[i].labelKind = labelKind;
  return std::string("== ") + name + " ==\n" + DrawnChart(*chart, kGalleryTestTile);
}

TEST(Gallery2DGolden, SampleCharts) {
#ifdef _WIN32
  GTEST_SKIP() << "display lists are compared in the native build";
#endif
  std::string drawn;
  for (int tile = 0; tile < kGalleryTiles; ++tile) drawn += Tile(kChart2D, tile, 0, kTileNames[tile]);
  ExpectDisplayListGolden("gallery_2d", drawn);
  ExpectDisplayListGolden("gallery_xy", Tile(kChartXY, 0, 0, "xy scatter"));
}

TEST(Gallery2DGolden, SampleChartsWithLabels) {
#ifdef _WIN32
  GTEST_SKIP() << "display lists are compared in the native build";
#endif
  std::string drawn;
  for (int tile = 0; tile < kGalleryTiles; ++tile) drawn += Tile(kChart2D, tile, 2, kTileNames[tile]);
  drawn += Tile(kChartXY, 0, 3, "xy scatter");
  ExpectDisplayListGolden("gallery_2d_labels", drawn);
}

}  // namespace
