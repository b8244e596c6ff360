#ifndef TALVERO_CHARTS_JPEG_JPEG_CODEC_H
#define TALVERO_CHARTS_JPEG_JPEG_CODEC_H

// JPEG pictures to and from packed bitmaps, through the JPEG library
// (jpeg_library.h), bound for each single decode or encode and released at
// its end. Blocks handed out come from malloc and are released with free().
// The error byte is set only on failure; the caller clears it first.

#include <cstddef>
#include <cstdint>

#include "charts/images/packed_dib.h"

// The packed bitmap of JPEG bytes, rows from the top: 24 bits per pixel in
// blue-green-red order for a grey or colour JPEG, 32 bits premultiplied
// blue-green-red-alpha for a four-channel one. Null with *error set: 48 no
// library, 49 it cannot start, 50 unreadable data, 52 another channel count,
// 47 a picture beyond kMaxImagePixels or a block that cannot be had.
uint8_t* DecodeJpeg(const uint8_t* bytes, size_t count, uint8_t* error);

// JPEG bytes (YCbCr, chroma halved both ways) of a 24-bit packed bitmap
// whose rows follow its 40-byte header, at the quality (1 to 100; 0 means
// 75). False with *error set: 48, 49, 47, or 51 when the bitmap is not one
// or the library fails.
bool EncodeJpeg(const BitmapInfoHeader* dib, uint8_t** bytesOut, size_t* countOut, int quality, uint8_t* error);

// Pixels of red, green, blue and alpha bytes, width x height without row
// padding, become blue, green and red scaled by alpha / 255 (rounded) and
// alpha, in place.
void PremultiplyAlpha(uint8_t* pixels, uint32_t width, uint32_t height);

#endif
