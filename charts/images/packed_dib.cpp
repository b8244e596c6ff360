#include "charts/images/packed_dib.h"

#include <cstdlib>
#include <cstring>

#include "charts/images/image_errors.h"

uint8_t* NewTopDownDib(uint32_t width, uint32_t height, uint16_t bitCount, uint8_t* error) {
  const uint64_t pixels = uint64_t{width} * height;
  const uint64_t stride = DibRowStride(uint64_t{width} * (bitCount / 8));
  const uint64_t blockBytes = sizeof(BitmapInfoHeader) + stride * height;
  uint8_t* block = nullptr;
  if (pixels != 0 && pixels <= kMaxImagePixels && blockBytes <= kMaxPackedDibBytes)
    block = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(blockBytes)));
  if (!block) {
    *error = kImageOutOfMemory;
    return nullptr;
  }
  BitmapInfoHeader header{};
  header.biSize = sizeof(BitmapInfoHeader);
  header.biWidth = static_cast<int32_t>(width);
  header.biHeight = -static_cast<int32_t>(height);
  header.biPlanes = 1;
  header.biBitCount = bitCount;
  header.biSizeImage = static_cast<uint32_t>(stride * height);
  std::memcpy(block, &header, sizeof header);
  return block;
}
