#ifndef TALVERO_VIEW_BACKGROUND_BANDS_H
#define TALVERO_VIEW_BACKGROUND_BANDS_H

// A fractal background is rendered and shown band by band, so that the user
// sees it grow: bands of max((H + 1) / 15, 1) + 1 rows of an image of H + 1
// rows, the last band cut at row H.

#include <cstdint>

struct FractalParameters;

// The image a background is drawn from: a packed DIB, made and owned by the
// renderer that fills it.
struct BackgroundImage {
  const void* dib = nullptr;
};

// Renders rows first..last of the width x height fractal into the holder,
// creating its image on first use; false on failure.
using FractalRenderer = bool (*)(BackgroundImage* holder, uint32_t firstRow, uint32_t lastRow, int32_t width,
                                 int32_t height, const FractalParameters& parameters);

struct BackgroundBand {
  uint32_t first;
  uint32_t last;
};

// The band that starts at row first, for an image whose last row is lastRow.
inline BackgroundBand BandFrom(uint32_t first, uint32_t lastRow) {
  const uint32_t size = (lastRow + 1) / 15 > 1 ? (lastRow + 1) / 15 : 1;
  return {first, first + size < lastRow ? first + size : lastRow};
}

#endif
