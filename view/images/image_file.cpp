#include "view/images/image_file.h"

#include <cstdio>
#include <cstdlib>

#include "view/images/image_layout.h"

namespace {

const ImageEncoders* g_encoders = nullptr;

ImageEncoder EncoderOf(uint8_t format) {
  if (g_encoders == nullptr) return nullptr;
  if (format == kImageFormatPng) return g_encoders->png;
  if (format == kImageFormatJpeg) return g_encoders->jpeg;
  return nullptr;
}

}  // namespace

void SetImageEncoders(const ImageEncoders* encoders) { g_encoders = encoders; }

bool SaveImageFile(const uint8_t* dib, size_t dibBytes, uint8_t format, double number, const char* path,
                   uint8_t* error) {
  const uint8_t* bytes = dib;
  size_t count = dibBytes;
  uint8_t* encoded = nullptr;
  if (format != kImageFormatPackedDib) {
    const ImageEncoder encode = EncoderOf(format);
    uint8_t codecError = 0;
    // The codec's own code says less to the user than the format's.
    if (encode == nullptr || !encode(dib, number, &encoded, &count, &codecError)) {
      *error = kImageSaveUnsupportedFormat;
      return false;
    }
    bytes = encoded;
  }
  FILE* file = std::fopen(path, "w+b");
  if (file == nullptr) {
    std::free(encoded);
    *error = kImageSaveCannotOpen;
    return false;
  }
  const bool written = std::fwrite(bytes, 1, count, file) == count;
  const bool closed = std::fclose(file) == 0;
  std::free(encoded);
  if (!written || !closed) {
    *error = kImageSaveWriteError;
    return false;
  }
  return true;
}
