#ifndef TALVERO_CHARTS_IMAGES_BMP_CODEC_H
#define TALVERO_CHARTS_IMAGES_BMP_CODEC_H

// BMP files as packed bitmaps: the file's bitmap header, colour table and
// rows exactly as stored, once they are known to describe a picture that
// lies within the file.

#include <cstddef>
#include <cstdint>

// The bytes after the 14-byte file header, as many as the file-size field
// gives (all of them when it is 0, never more than there are), in a malloc
// block. The picture must have a 40, 108 or 124-byte header, one plane, 1, 4,
// 8, 16, 24 or 32 bits per pixel, no compression (or bit masks at 16 and 32
// bits), and its header, colour table and rows must lie within those bytes;
// otherwise null with *error = kImageInvalidBitmap (kImageOutOfMemory for a
// picture beyond kMaxImagePixels or a block that cannot be had). *error is
// set only on failure.
uint8_t* DecodeBmp(const uint8_t* bytes, size_t count, uint8_t* error);

#endif
