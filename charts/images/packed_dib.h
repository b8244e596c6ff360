#ifndef TALVERO_CHARTS_IMAGES_PACKED_DIB_H
#define TALVERO_CHARTS_IMAGES_PACKED_DIB_H

// The packed device-independent bitmap every drawing and encoding routine
// takes: this 40-byte header, then (for decoded pictures) the pixel rows, each
// padded to a multiple of 4 bytes. A negative height means rows from the top.

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct BitmapInfoHeader {
  uint32_t biSize;
  int32_t biWidth;
  int32_t biHeight;
  uint16_t biPlanes;
  uint16_t biBitCount;
  uint32_t biCompression;
  uint32_t biSizeImage;
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
};
#pragma pack(pop)
static_assert(sizeof(BitmapInfoHeader) == 40, "the header is 40 bytes");
static_assert(offsetof(BitmapInfoHeader, biBitCount) == 14, "bits per pixel at 14");
static_assert(offsetof(BitmapInfoHeader, biSizeImage) == 20, "image size at 20");

// Pictures whose block would pass this are refused before anything is
// allocated: the header's 32-bit image size and a 32-bit address space both
// have to hold it.
constexpr uint64_t kMaxPackedDibBytes = 0x7fffffffu;

// The most pixels a decoded or rendered picture may have; a larger one is
// refused with kImageOutOfMemory before anything is allocated. Sizes are
// computed in 64 bits, so that no product wraps in the 32-bit program.
constexpr uint64_t kMaxImagePixels = uint64_t{1} << 26;

// Bytes of one stored row: the pixel bytes rounded up to a multiple of 4.
inline uint64_t DibRowStride(uint64_t pixelBytes) { return (pixelBytes + 3) & ~uint64_t{3}; }

// A malloc block for a picture of width x height pixels of 24 or 32 bits,
// rows from the top: its header filled (size 40, the width, the height
// negated, 1 plane, the bits, compression 0, the image size = stride x
// height), its rows not cleared. Null with *error = kImageOutOfMemory for
// an empty picture, one beyond kMaxImagePixels or a block that cannot be had.
uint8_t* NewTopDownDib(uint32_t width, uint32_t height, uint16_t bitCount, uint8_t* error);

#endif
