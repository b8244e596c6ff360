// The view-type bytes the gallery's tiles stand for, and the tile a series
// of any view-type bytes selects.

#include <gtest/gtest.h>

#include "charts/gallery/sample_charts.h"

namespace {

TEST(GalleryTiles, EveryTileSelectsItselfAndSavesItsOwnViewType) {
  for (uint8_t kind : {kChart2D, kChart3D, kChartXY}) {
    GalleryViewType view = {};
    for (int tile = 0; tile < GalleryTileCount(kind); ++tile) {
      ASSERT_TRUE(GalleryTileViewType(kind, tile, &view));
      EXPECT_EQ(GalleryTileOfViewType(kind, view), tile) << int(kind) << " " << tile;
    }
    EXPECT_FALSE(GalleryTileViewType(kind, GalleryTileCount(kind), &view));
  }
}

TEST(GalleryTiles, ViewTypesWithoutTheirOwnTileSelectTheNearestOne) {
  const struct {
    uint8_t kind;
    GalleryViewType view;
    int tile;
  } cases[] = {
      {kChart2D, {kViewLine, 1, 0}, 6},      // no stacked lines: plain
      {kChart2D, {kViewLine, 1, 1}, 6},
      {kChart2D, {kViewColumn, 0, 1}, 0},    // relative alone: plain
      {kChart2D, {kViewBar, 0, 1}, 3},
      {kChart2D, {kViewArea, 0, 0}, 7},      // no plain areas: stacked
      {kChart2D, {kViewArea, 0, 1}, 8},      // or 100 percent
      {kChart2D, {kViewPie, 1, 1}, 9},
      {kChart2D, {kViewColumn3D, 0, 0}, 0},  // not offered: the first tile
      {kChart2D, {0, 0, 0}, 0},
      {kChart2D, {200, 1, 1}, 0},
      {kChart3D, {kViewArea3D, 1, 0}, 8},
      {kChart3D, {kViewArea3D, 0, 1}, 7},
      {kChart3D, {kViewLine3D, 1, 1}, 6},
      {kChart3D, {kViewPie3D, 1, 0}, 10},
      {kChart3D, {kViewColumn, 0, 0}, 0},
      {kChartXY, {kViewColumn, 1, 1}, 0},
      {kChartXY, {kViewScatter, 0, 0}, 0},
      {0, {kViewColumn, 0, 0}, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GalleryTileOfViewType(c.kind, c.view), c.tile)
        << int(c.kind) << ": " << int(c.view.viewType) << "," << int(c.view.stacked) << "," << int(c.view.relative);
  }
}

}  // namespace
