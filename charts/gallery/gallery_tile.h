#ifndef TALVERO_CHARTS_GALLERY_GALLERY_TILE_H
#define TALVERO_CHARTS_GALLERY_GALLERY_TILE_H

// A tile of the chart gallery: the sample chart of the tile drawn by the
// chart engine itself, so that every picture shows what a series of that
// view type looks like.

#include <cstdint>

#include "view/painting/paint_surface.h"

// Builds the sample chart of the kind's tile, loads it, prepares it at zoom
// 100 and draws it into the tile (inclusive pixels) less 4 pixels on every
// side, one step after the other whatever each gives, and frees it again. A
// negative tile (the focus of an empty list) draws nothing.
void PaintGallerySample(const PaintSurface& surface, uint8_t kind, int tile, const PixelRect& tileRect);

#endif
