#ifndef TALVERO_TESTS_CHARTS_PNG_SAMPLE_PICTURE_H
#define TALVERO_TESTS_CHARTS_PNG_SAMPLE_PICTURE_H

// A 24-bit packed bitmap with every channel varying, an odd width (so rows
// are padded) and rows stored bottom-up or top-down.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "charts/images/packed_dib.h"

constexpr int32_t kSampleWidth = 37;
constexpr int32_t kSampleHeight = 23;

struct SampleRgb {
  uint8_t r, g, b;
};

inline SampleRgb SamplePixel(int32_t x, int32_t y) {
  return SampleRgb{uint8_t(x * 7 + y * 3), uint8_t(x * x + y * 11), uint8_t(x * y * 5 + 40)};
}

struct FreeSampleBlock {
  void operator()(void* p) const { free(p); }
};
using SampleDibPtr = std::unique_ptr<BitmapInfoHeader, FreeSampleBlock>;

inline SampleDibPtr MakeSampleDib(bool topDown) {
  const uint32_t stride = (kSampleWidth * 3 + 3) & ~3u;
  const size_t size = sizeof(BitmapInfoHeader) + size_t{stride} * kSampleHeight;
  auto* block = static_cast<uint8_t*>(calloc(1, size));
  BitmapInfoHeader header{};
  header.biSize = sizeof header;
  header.biWidth = kSampleWidth;
  header.biHeight = topDown ? -kSampleHeight : kSampleHeight;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biSizeImage = stride * kSampleHeight;
  memcpy(block, &header, sizeof header);
  for (int32_t y = 0; y < kSampleHeight; ++y) {
    int32_t stored = topDown ? y : kSampleHeight - 1 - y;
    uint8_t* row = block + sizeof header + size_t{stride} * stored;
    for (int32_t x = 0; x < kSampleWidth; ++x) {
      SampleRgb p = SamplePixel(x, y);
      row[x * 3] = p.b;
      row[x * 3 + 1] = p.g;
      row[x * 3 + 2] = p.r;
    }
  }
  return SampleDibPtr(reinterpret_cast<BitmapInfoHeader*>(block));
}

#endif
