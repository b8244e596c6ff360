// The gallery's 3D sample charts (columns, stacked and 100 percent columns,
// bars, lines, areas, stacked areas and the pie) prepared and drawn onto
// the display-list surface, compared with tests/charts/golden in every
// build: the scene's geometry is the program's own float arithmetic, so the
// Windows build must draw exactly what the native one draws.

#include <gtest/gtest.h>

#include <string>

#include "charts/gallery/sample_charts.h"
#include "charts/prepare/chart_prepare.h"
#include "tests/charts/support/chart_golden.h"
#include "tests/charts/support/display_list_surface.h"

namespace {

// A gallery tile less its 4-pixel border.
const PixelRect kTile = {4, 4, 195, 155};

TEST(GalleryGolden, ThreeDSampleCharts) {
  std::string drawn;
  for (int tile = 0; tile < GalleryTileCount(kChart3D); ++tile) {
    ChartRecord chart(kChart3D);
    ASSERT_TRUE(LoadGallerySample(chart, tile)) << tile;
    DisplayListSurface surface;
    ASSERT_TRUE(Prepare(chart, surface.Surface(), kTile, 100, 100)) << tile << " error " << int(chart.error);
    surface.Clear();
    Draw(chart, kTile, surface.Surface());
    drawn += "== 3D tile " + std::to_string(tile) + " ==\n" + surface.Text();
  }
  ExpectDisplayListGolden("gallery_3d", drawn);
}

}  // namespace
