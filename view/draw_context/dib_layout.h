#ifndef TALVERO_VIEW_DIB_LAYOUT_H
#define TALVERO_VIEW_DIB_LAYOUT_H

// Where the parts of a packed device-independent bitmap lie: its header of
// 40, 108 or 124 bytes, then its colour table or bit masks, then its rows.
// Shared by the drawing context and the BMP decoder that checks a file's.

#include <cstdint>
#include <cstring>

constexpr uint32_t kDibBitFields = 3;  // compression: rows of 16 or 32 bits with masks

// Bytes of the colour table (and masks) between the header and the rows.
// The larger headers hold their masks themselves: skipping 12 more bytes
// would read past the end of the rows.
inline uint64_t DibColourTableBytes(uint16_t bitCount, uint32_t compression, uint32_t coloursUsed,
                                    uint32_t headerSize) {
  switch (bitCount) {
    case 1:
    case 4:
    case 8:
      return 4 * uint64_t{coloursUsed ? coloursUsed : (1u << bitCount)};
    case 16:
    case 32:
      return (compression == kDibBitFields && headerSize == 40 ? 12 : 0) + 4 * uint64_t{coloursUsed};
    default:
      return 4 * uint64_t{coloursUsed};
  }
}

// The width and height in pixels of a packed bitmap, from its header (rows
// stored top-down give a negative height).
inline void DibPixelSize(const void* dib, int32_t* width, int32_t* height) {
  const uint8_t* header = static_cast<const uint8_t*>(dib);
  std::memcpy(width, header + 4, sizeof *width);
  std::memcpy(height, header + 8, sizeof *height);
  if (*height < 0)
    *height = *height == INT32_MIN ? 0 : -*height;
}

#endif
