#ifndef TALVERO_CHARTS_FRACTAL_FRACTAL_RENDERER_H
#define TALVERO_CHARTS_FRACTAL_FRACTAL_RENDERER_H

// A container's Julia-set background: rows of a 24-bit packed bitmap
// coloured from 1024 shades spread from the user's 16 colours. Any range of
// rows can be rendered, so that a caller can show the picture while it
// grows.

#include <cstdint>

#include "core/model/container_record.h"

constexpr int kFractalPaletteSize = 1024;
constexpr int kFractalMaxIterations = 1023;

// Entry 64k + 31 of the palette is colour k; the 31 entries before it are
// darker by 4 per step per channel, the 32 from it brighter by 4 per step
// (capped at 0 and 255). Colours are 0x00BBGGRR.
void BuildFractalPalette(const uint32_t colours[kPaletteSize], uint32_t palette[kFractalPaletteSize]);

// Renders rows firstRow..lastRow (0-based, inclusive) of the width x height
// picture into *picture, a malloc block made on the first call (when
// *picture is null) and written into at later ones, which pass the same
// width and height; rows beyond the height are not rendered. The header's height and
// image size then cover rows 0..lastRow. A first row beyond the last
// renders nothing. False with *error = kImageOutOfMemory when the block
// cannot be had or the picture would pass kMaxImagePixels.
bool RenderFractal(uint8_t** picture, uint32_t firstRow, uint32_t lastRow, uint32_t width, uint32_t height,
                   const uint32_t colours[kPaletteSize], const FractalParameters& plane, uint8_t* error);

#endif
