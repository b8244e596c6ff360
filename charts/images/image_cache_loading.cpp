#include "charts/images/image_cache_loading.h"

#include <cstdio>
#include <cstdlib>

#include "charts/images/bmp_codec.h"
#include "charts/images/image_errors.h"
#include "charts/images/image_kinds.h"
#include "charts/jpeg/jpeg_codec.h"
#include "charts/png/png_codec.h"
#include "core/base/scheme_colors.h"

namespace {

bool Fail(ImageCache& cache, uint8_t code) {
  cache.error = code;
  return false;
}

// The length of an open file, or -1 when it cannot be had.
long FileLength(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0)
    return -1;
  const long length = std::ftell(file);
  return length >= 0 && std::fseek(file, 0, SEEK_SET) == 0 ? length : -1;
}

}  // namespace

ImageNode* GetImage(ImageCache& cache, const char* name) {
  if (ImageNode* known = cache.Find(name))
    return known;
  ImageNode* node = cache.Add(name);
  if (!node) {
    cache.error = kImageLoadOutOfMemory;
    return nullptr;
  }
  if (ReadImageFile(cache, *node))
    DecodeImage(cache, *node);
  return node;
}

bool ReadImageFile(ImageCache& cache, ImageNode& node) {
  if (node.bytes)
    return true;
  if (LinkKindFromPrefix(node.name) != kLinkPlain)
    return Fail(cache, kImageUnsupportedSource);
  std::FILE* file = std::fopen(PathOfPlainName(node.name), "rb");
  if (!file)
    return Fail(cache, kImageCannotOpen);
  const long length = FileLength(file);
  if (length < 0) {
    std::fclose(file);
    return Fail(cache, kImageReadError);
  }
  // One byte at least, so that an empty file still has its (empty) bytes;
  // no picture's file is larger than a picture may be.
  uint8_t* bytes = static_cast<unsigned long>(length) <= kMaxPackedDibBytes
                       ? static_cast<uint8_t*>(std::malloc(length > 0 ? static_cast<size_t>(length) : 1))
                       : nullptr;
  if (!bytes) {
    std::fclose(file);
    return Fail(cache, kImageLoadOutOfMemory);
  }
  const size_t got = std::fread(bytes, 1, static_cast<size_t>(length), file);
  std::fclose(file);
  if (got != static_cast<size_t>(length)) {
    std::free(bytes);
    return Fail(cache, kImageReadError);
  }
  node.bytes = bytes;
  node.byteCount = static_cast<uint32_t>(length);
  return true;
}

bool DecodeImage(ImageCache& cache, ImageNode& node) {
  if (!node.bytes)
    return false;
  if (node.picture)
    return true;
  uint8_t error = kImageNoError;
  uint8_t* picture = nullptr;
  switch (ImageTypeFromExtension(node.name)) {
    case kImageTypeBmp:
      picture = DecodeBmp(node.bytes, node.byteCount, &error);
      break;
    case kImageTypeJpeg:
      picture = DecodeJpeg(node.bytes, node.byteCount, &error);
      break;
    case kImageTypePng:
      picture = reinterpret_cast<uint8_t*>(
          DecodePng(node.bytes, node.byteCount, false, GetSchemeColor(kSchemeWindow), &error));
      break;
    default:
      return Fail(cache, kImageUnsupportedFormat);
  }
  if (error != kImageNoError || !picture) {
    std::free(picture);
    return Fail(cache, error != kImageNoError ? error : uint8_t{kImageOutOfMemory});
  }
  node.picture = picture;
  return true;
}
