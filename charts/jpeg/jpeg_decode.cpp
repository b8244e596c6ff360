#include <cstdlib>

#include "charts/images/image_errors.h"
#include "charts/jpeg/jpeg_codec.h"
#include "charts/jpeg/jpeg_library.h"

namespace {

constexpr uint32_t kCommentBufferSize = 1000;

struct JpegShape {
  uint32_t channels;  // of the bitmap
  uint32_t colour;
  uint16_t bitCount;
};

// The bitmap a JPEG of that many channels becomes; false for other counts.
bool ShapeOfChannels(uint32_t jpegChannels, JpegShape* shape) {
  switch (jpegChannels) {
    case 1:
    case 3:
      *shape = {3, kJpegColourBgr, 24};
      return true;
    case 4:
      *shape = {4, kJpegColourRgba, 32};
      return true;
    default:
      return false;
  }
}

// Reads the parameters and then the pixels; 0 or the error code. The
// library is initialised and stays so.
uint8_t ReadPicture(JpegLibrary& library, JpegCoreProperties& p, uint8_t** block) {
  char comment[kCommentBufferSize] = {};
  p.comment = comment;
  p.commentSize = kCommentBufferSize - 1;
  if (library.ijlRead(&p, kJpegReadParameters) != 0)
    return kImageJpegReadError;
  p.comment = nullptr;
  JpegShape shape;
  if (!ShapeOfChannels(p.jpgChannels, &shape))
    return kImageJpegChannels;
  uint8_t error = kImageNoError;
  *block = NewTopDownDib(p.jpgWidth, p.jpgHeight, shape.bitCount, &error);
  if (!*block)
    return error;
  const uint32_t rowBytes = p.jpgWidth * shape.channels;
  p.dibBytes = *block + sizeof(BitmapInfoHeader);
  p.dibWidth = p.jpgWidth;
  p.dibHeight = static_cast<int32_t>(p.jpgHeight);
  p.dibChannels = shape.channels;
  p.dibColour = shape.colour;
  p.dibPadBytes = static_cast<uint32_t>(DibRowStride(rowBytes) - rowBytes);
  if (library.ijlRead(&p, kJpegReadImage) != 0)
    return kImageJpegReadError;
  // Four-byte rows have no padding, as PremultiplyAlpha expects.
  if (shape.channels == 4)
    PremultiplyAlpha(p.dibBytes, p.jpgWidth, p.jpgHeight);
  return kImageNoError;
}

}  // namespace

uint8_t* DecodeJpeg(const uint8_t* bytes, size_t count, uint8_t* error) {
  if (!bytes || count == 0 || count > UINT32_MAX) {
    *error = kImageJpegReadError;
    return nullptr;
  }
  JpegLibrary library;
  JpegCoreProperties p;
  if (const uint8_t failure = library.Start(&p)) {
    *error = failure;
    return nullptr;
  }
  // The library only reads the bytes.
  p.jpgBytes = const_cast<uint8_t*>(bytes);
  p.jpgSizeBytes = static_cast<uint32_t>(count);
  uint8_t* block = nullptr;
  const uint8_t failure = ReadPicture(library, p, &block);
  library.ijlFree(&p);
  library.Unload();
  if (failure != kImageNoError) {
    std::free(block);
    *error = failure;
    return nullptr;
  }
  return block;
}
