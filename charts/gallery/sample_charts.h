#ifndef TALVERO_CHARTS_GALLERY_SAMPLE_CHARTS_H
#define TALVERO_CHARTS_GALLERY_SAMPLE_CHARTS_H

// The gallery's sample charts: the small chart each view-type tile of the
// chart editor shows, built from fixed numbers and loaded, prepared and
// drawn by the ordinary chart code, so that a tile depends only on the
// chart kind and the tile.

#include <cstdint>

#include "core/model/chart_record.h"

constexpr int kGalleryRowCount = 3;
constexpr int kGalleryRowLength = 6;
extern const double kGallerySampleData[kGalleryRowCount][kGalleryRowLength];

// 11 tiles for a 2D or 3D chart, 1 for an XY chart, none for other kinds.
int GalleryTileCount(uint8_t kind);

// Makes the chart the sample of the tile for its kind (defaults first, then
// the tile's series, view types and settings) and loads the sample numbers
// into its series. False when the kind has no such tile (the chart is
// unchanged) or when the load fails.
bool LoadGallerySample(ChartRecord& chart, int tile);

#endif
