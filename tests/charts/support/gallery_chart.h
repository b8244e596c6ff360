#ifndef TALVERO_TESTS_CHARTS_GALLERY_CHART_H
#define TALVERO_TESTS_CHARTS_GALLERY_CHART_H

// The gallery's sample chart of a tile, loaded, prepared and drawn onto the
// display-list surface in a tile of the given rectangle.

#include <memory>
#include <string>
#include <vector>

#include "charts/gallery/sample_charts.h"
#include "charts/prepare/chart_prepare.h"
#include "tests/charts/support/chart_test_data.h"
#include "tests/charts/support/display_list_surface.h"

// A square gallery tile of 160 pixels less 4 on every side.
const PixelRect kGalleryTestTile = {4, 4, 155, 155};

// Loads the sample of the tile into the chart (of its kind).
inline bool LoadGallerySample(ChartRecord& chart, int tile, TestArrays& arrays) {
  const GallerySample sample = SetUpGallerySample(chart, tile);
  for (int i = 0; i < sample.seriesCount; ++i) {
    const double* row = GalleryRowValues(sample.rows[i]);
    arrays.AddNumbers(std::vector<double>(row, row + sample.points));
  }
  return sample.seriesCount > 0 && arrays.LoadInto(chart);
}

// What preparing and drawing the chart in the rectangle at zoom 100 drew.
inline std::string DrawnChart(ChartRecord& chart, const PixelRect& rect) {
  DisplayListSurface surface;
  if (!Prepare(chart, surface.Surface(), rect, 100, 100))
    return "(not prepared, error " + std::to_string(chart.error) + ")\n";
  surface.Clear();
  Draw(chart, rect, surface.Surface());
  return surface.Text();
}

#endif
