#ifndef TALVERO_CHARTS_GALLERY_SAMPLE_CHARTS_H
#define TALVERO_CHARTS_GALLERY_SAMPLE_CHARTS_H

// The sample charts of the chart gallery's tiles: fixed numbers and the
// settings that give each tile its view type, so that a tile's picture
// depends only on the chart kind and the tile.

#include <cstdint>

#include "core/model/chart_record.h"

constexpr int kGalleryRows = 3;
constexpr int kGalleryRowLength = 6;
constexpr int kGalleryTiles = 11;  // of a 2D or 3D chart; an XY chart has one
constexpr int kGalleryXRow = kGalleryRows;  // the X values of the XY sample

extern const double kGallerySampleData[kGalleryRows][kGalleryRowLength];
extern const double kGalleryXValues[kGalleryRowLength];

// What a sample chart loads: series i takes the first `points` values of
// row rows[i] (kGalleryXRow: the X values), as one column.
struct GallerySample {
  int seriesCount;
  int rows[4];
  int points;
};

// Gives the chart, which keeps its kind, the defaults and then the sample
// settings of the tile; a tile the kind does not have gives no series.
GallerySample SetUpGallerySample(ChartRecord& chart, int tile);

// The values of a sample row.
inline const double* GalleryRowValues(int row) {
  return row == kGalleryXRow ? kGalleryXValues : kGallerySampleData[row];
}

// Tiles of a chart kind: 11 for 2D and 3D charts, 1 for an XY chart, 0 else.
int GalleryTileCount(uint8_t kind);

// The three view-type bytes of a series.
struct GalleryViewType {
  uint8_t viewType;
  uint8_t stacked;
  uint8_t relative;
};

// The view-type bytes a tile stands for (the XY tile: scatter); false for a
// tile the kind does not have.
bool GalleryTileViewType(uint8_t kind, int tile, GalleryViewType* view);

// The tile that shows a series of the view-type bytes: the tile of the type
// with the same flags; for flags no tile of the type has, its 100 percent
// tile when both flags are set, its stacked tile when only the stacked flag
// is, else its plain tile (a type without a plain tile, as 2D areas, takes
// its 100 percent tile when the relative flag is set, else its stacked
// one); tile 0 for a type the kind does not offer.
int GalleryTileOfViewType(uint8_t kind, const GalleryViewType& view);

// SetUpGallerySample, then the sample numbers loaded into the series
// (LoadSeriesData); false when either fails.
bool LoadGallerySample(ChartRecord& chart, int tile);

#endif
