#include <cstdlib>
#include <cstring>

#include "charts/images/bmp_codec.h"
#include "charts/images/image_errors.h"
#include "charts/images/packed_dib.h"
#include "view/draw_context/dib_layout.h"

namespace {

constexpr size_t kFileHeaderBytes = 14;

uint32_t ReadU32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t{p[3]} << 24; }

bool SupportedLayout(uint16_t bitCount, uint32_t compression) {
  switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
      return compression == 0;
    case 16:
    case 32:
      return compression == 0 || compression == kDibBitFields;
    default:
      return false;
  }
}

// 0 when the kept bytes hold a picture the drawing routines can show, else
// the error code.
uint8_t CheckPicture(const uint8_t* kept, uint64_t keptBytes) {
  if (keptBytes < sizeof(BitmapInfoHeader))
    return kImageInvalidBitmap;
  BitmapInfoHeader h;
  std::memcpy(&h, kept, sizeof h);
  if ((h.biSize != 40 && h.biSize != 108 && h.biSize != 124) || h.biPlanes != 1 ||
      !SupportedLayout(h.biBitCount, h.biCompression) || h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN)
    return kImageInvalidBitmap;
  const uint64_t width = static_cast<uint32_t>(h.biWidth);
  const uint64_t height = h.biHeight < 0 ? uint64_t{0} - h.biHeight : static_cast<uint64_t>(h.biHeight);
  if (width * height > kMaxImagePixels)
    return kImageOutOfMemory;
  const uint64_t needed = h.biSize + DibColourTableBytes(h.biBitCount, h.biCompression, h.biClrUsed, h.biSize) +
                          DibRowStride((width * h.biBitCount + 7) / 8) * height;
  return needed <= keptBytes ? 0 : kImageInvalidBitmap;
}

}  // namespace

uint8_t* DecodeBmp(const uint8_t* bytes, size_t count, uint8_t* error) {
  if (!bytes || count < kFileHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M') {
    *error = kImageInvalidBitmap;
    return nullptr;
  }
  // A file-size field larger than the file must not make us read past it.
  const uint32_t field = ReadU32(bytes + 2);
  const uint64_t kept = (field != 0 && field < count ? field : count);
  if (kept < kFileHeaderBytes) {
    *error = kImageInvalidBitmap;
    return nullptr;
  }
  const uint64_t keptBytes = kept - kFileHeaderBytes;
  if (const uint8_t failure = CheckPicture(bytes + kFileHeaderBytes, keptBytes)) {
    *error = failure;
    return nullptr;
  }
  uint8_t* block = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(keptBytes)));
  if (!block) {
    *error = kImageOutOfMemory;
    return nullptr;
  }
  std::memcpy(block, bytes + kFileHeaderBytes, static_cast<size_t>(keptBytes));
  return block;
}
