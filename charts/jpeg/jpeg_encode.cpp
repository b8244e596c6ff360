#include <cstdlib>

#include "charts/images/image_errors.h"
#include "charts/jpeg/jpeg_codec.h"
#include "charts/jpeg/jpeg_library.h"

namespace {

constexpr int kDefaultQuality = 75;

bool IsEncodable(const BitmapInfoHeader* dib) {
  return dib && dib->biSize == sizeof(BitmapInfoHeader) && dib->biBitCount == 24 && dib->biCompression == 0 &&
         dib->biClrUsed == 0 && dib->biWidth > 0 && dib->biHeight != 0 && dib->biHeight != INT32_MIN;
}

}  // namespace

bool EncodeJpeg(const BitmapInfoHeader* dib, uint8_t** bytesOut, size_t* countOut, int quality, uint8_t* error) {
  *bytesOut = nullptr;
  *countOut = 0;
  if (quality == 0)
    quality = kDefaultQuality;
  if (!IsEncodable(dib)) {
    *error = kImageJpegWriteError;
    return false;
  }
  const uint32_t width = static_cast<uint32_t>(dib->biWidth);
  const uint32_t height = dib->biHeight < 0 ? 0u - static_cast<uint32_t>(dib->biHeight) : uint32_t(dib->biHeight);
  const uint64_t rowBytes = uint64_t{width} * 3;
  const uint64_t rawBytes = sizeof(BitmapInfoHeader) + DibRowStride(rowBytes) * height;
  if (uint64_t{width} * height > kMaxImagePixels || rawBytes > kMaxPackedDibBytes) {
    *error = kImageOutOfMemory;
    return false;
  }
  JpegLibrary library;
  JpegCoreProperties p;
  if (const uint8_t failure = library.Start(&p)) {
    *error = failure;
    return false;
  }
  // The library only reads the pixels. A bottom-up bitmap is handed over
  // bottom row first, so that the picture stands upright either way.
  p.dibBytes = const_cast<uint8_t*>(reinterpret_cast<const uint8_t*>(dib)) + sizeof(BitmapInfoHeader);
  p.dibWidth = width;
  p.dibHeight = dib->biHeight < 0 ? static_cast<int32_t>(height) : -static_cast<int32_t>(height);
  p.dibPadBytes = static_cast<uint32_t>(DibRowStride(rowBytes) - rowBytes);
  p.dibChannels = 3;
  p.dibColour = kJpegColourBgr;
  p.jpgWidth = width;
  p.jpgHeight = height;
  p.jpgChannels = 3;
  p.jpgColour = kJpegColourYCbCr;
  p.jpgSubsampling = kJpegSubsampling411;
  p.quality = static_cast<uint32_t>(quality);
  // A first block as large as the raw picture; the library grows it when a
  // small or noisy picture needs more.
  p.jpgBytes = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(rawBytes)));
  p.jpgSizeBytes = static_cast<uint32_t>(rawBytes);
  uint8_t failure = kImageNoError;
  if (!p.jpgBytes)
    failure = kImageOutOfMemory;
  else if (library.ijlWrite(&p, kJpegWriteImage) != 0)
    failure = kImageJpegWriteError;
  library.ijlFree(&p);
  library.Unload();
  if (failure != kImageNoError) {
    std::free(p.jpgBytes);
    *error = failure;
    return false;
  }
  *bytesOut = p.jpgBytes;
  *countOut = p.jpgSizeBytes;
  return true;
}
