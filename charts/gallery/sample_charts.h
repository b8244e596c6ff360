#ifndef TALVERO_CHARTS_GALLERY_SAMPLE_CHARTS_H
#define TALVERO_CHARTS_GALLERY_SAMPLE_CHARTS_H

// The chart gallery's sample charts: fixed numbers shown as each view type
// of a chart kind, the tiles of the chart editor's View page and the
// charts the rendering tests draw.

#include <cstdint>

#include "core/model/chart_record.h"

constexpr int kGallerySampleRows = 3;
constexpr int kGallerySampleValues = 6;
extern const double kGallerySampleData[kGallerySampleRows][kGallerySampleValues];

// Tiles of a chart kind: 11 for 2D and 3D charts, 1 for an XY chart.
int GalleryTileCount(uint8_t kind);

// Makes the chart (of its kind, with its defaults) the sample of the tile:
// its series, their view types and the tile's other settings. The count of
// values each series takes goes to *valuesUsed. False for a tile the kind
// does not have.
bool SetUpGallerySample(ChartRecord& chart, int tile, uint32_t* valuesUsed);

// SetUpGallerySample, then the sample numbers loaded into the series
// (LoadSeriesData); false when either fails.
bool LoadGallerySample(ChartRecord& chart, int tile);

#endif
