#ifndef TALVERO_CHARTS_PNG_PNG_CODEC_H
#define TALVERO_CHARTS_PNG_PNG_CODEC_H

// PNG pictures to and from packed bitmaps, through libpng over memory
// buffers. Blocks handed out come from malloc and are released with free().

#include <cstddef>
#include <cstdint>

#include "charts/images/packed_dib.h"

// The packed bitmap of PNG bytes: 24 bits per pixel, transparent pixels laid
// over the file's own background colour or else over `background` (0x00BBGGRR,
// as a Windows colour), or 32 bits with straight alpha when keepAlpha is set.
// Blue-green-red order, rows from the top. Null with *error set on failure.
BitmapInfoHeader* DecodePng(const uint8_t* bytes, size_t count, bool keepAlpha, uint32_t background,
                            uint8_t* error);

// PNG bytes (8-bit RGB, not interlaced, with a gamma chunk) of a 24-bit packed
// bitmap whose rows follow its 40-byte header. A gamma of 0.0 means 1/2.2.
bool EncodePng(const BitmapInfoHeader* dib, uint8_t** bytesOut, size_t* countOut, double gamma,
               uint8_t* error);

// The version text of the libpng the program runs with.
const char* PngLibraryVersion();

#endif
