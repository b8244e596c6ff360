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

// SetUpGallerySample, then the sample numbers loaded into the series
// (LoadSeriesData); false when either fails.
bool LoadGallerySample(ChartRecord& chart, int tile);

#endif
