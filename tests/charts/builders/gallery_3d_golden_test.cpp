// The gallery's 3D sample charts (columns, stacked and 100 percent columns,
// bars, lines, areas, stacked areas and the pie) drawn whole onto the
// display-list surface and compared with tests/charts/golden in every
// build: the scene's geometry is the program's own float arithmetic, so the
// Windows build must draw exactly what the native one draws.

#include <gtest/gtest.h>

#include <string>

#include "tests/charts/support/chart_golden.h"
#include "tests/charts/support/gallery_chart.h"

namespace {

TEST(Gallery3DGolden, SampleCharts) {
  std::string drawn;
  for (int tile = 0; tile < GalleryTileCount(kChart3D); ++tile) {
    TestArrays arrays;
    auto chart = NewChart(kChart3D);
    ASSERT_TRUE(LoadGallerySample(*chart, tile, arrays)) << tile;
    drawn += "== 3D tile " + std::to_string(tile) + " ==\n" + DrawnChart(*chart, kGalleryTestTile);
  }
  ExpectDisplayListGolden("gallery_3d", drawn);
}

}  // namespace
