#include <png.h>

#include <cstdlib>
#include <cstring>

#include "charts/images/image_errors.h"
#include "charts/png/png_codec.h"
#include "charts/png/png_memory_io.h"

namespace {

constexpr size_t kPngSignatureBytes = 8;

// Everything a failed decode has to release. It lives in DecodePng's frame,
// outside the function that calls setjmp, so its values survive the jump.
struct PngDecodeJob {
  PngReadSource source;
  bool keepAlpha;
  uint32_t background;
  png_structp png;
  png_infop info;
  png_infop endInfo;
  uint8_t* block;
  png_bytep* rows;
  uint8_t error;
};

void SetTransforms(PngDecodeJob& job) {
  png_structp png = job.png;
  png_infop info = job.info;
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colorType = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);

  if (bitDepth == 16) png_set_strip_16(png);
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_expand(png);
  if (bitDepth < 8) png_set_expand(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_expand(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  // Grey images are widened to RGB above, so every picture arrives in colour.
  png_set_bgr(png);

  if (!job.keepAlpha) {
    png_color_16p fileBackground = nullptr;
    if (png_get_bKGD(png, info, &fileBackground)) {
      png_set_background(png, fileBackground, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
    } else {
      png_color_16 given{};
      given.red = job.background & 0xff;
      given.green = (job.background >> 8) & 0xff;
      given.blue = (job.background >> 16) & 0xff;
      png_set_background(png, &given, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
    }
  }
  double fileGamma = 0.0;
  if (png_get_gAMA(png, info, &fileGamma)) png_set_gamma(png, 2.2, fileGamma);
}

// Reads the picture into job.block; false when libpng stopped with an error
// or the block could not be had (job.error says which).
bool ReadPicture(PngDecodeJob& job) {
  if (setjmp(png_jmpbuf(job.png))) {
    job.error = kImagePngReadError;
    return false;
  }
  png_set_read_fn(job.png, &job.source, PngReadFromMemory);
  png_set_sig_bytes(job.png, kPngSignatureBytes);
  png_read_info(job.png, job.info);
  SetTransforms(job);
  png_read_update_info(job.png, job.info);

  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colorType = 0;
  png_get_IHDR(job.png, job.info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
  uint64_t rowBytes = png_get_rowbytes(job.png, job.info);
  uint64_t channels = png_get_channels(job.png, job.info);
  uint64_t stride = DibRowStride(rowBytes);
  uint64_t blockBytes = sizeof(BitmapInfoHeader) + stride * height;
  // Refused before allocating: a block the header or the address space could
  // not describe would wrap the row arithmetic.
  if (rowBytes == 0 || height == 0 || rowBytes != uint64_t{width} * channels || blockBytes > kMaxPackedDibBytes) {
    job.error = kImagePngReadError;
    return false;
  }
  job.block = static_cast<uint8_t*>(malloc(static_cast<size_t>(blockBytes)));
  job.rows = static_cast<png_bytep*>(malloc(sizeof(png_bytep) * height));
  if (job.block == nullptr || job.rows == nullptr) {
    job.error = kImageOutOfMemory;
    return false;
  }
  for (png_uint_32 i = 0; i < height; ++i) {
    uint8_t* row = job.block + sizeof(BitmapInfoHeader) + stride * i;
    memset(row + rowBytes, 0, static_cast<size_t>(stride - rowBytes));
    job.rows[i] = row;
  }
  png_read_image(job.png, job.rows);
  png_read_end(job.png, job.endInfo);

  BitmapInfoHeader header{};
  header.biSize = sizeof(BitmapInfoHeader);
  header.biWidth = static_cast<int32_t>(width);
  header.biHeight = -static_cast<int32_t>(height);
  header.biPlanes = 1;
  header.biBitCount = static_cast<uint16_t>(channels * 8);
  header.biSizeImage = static_cast<uint32_t>(blockBytes - sizeof(BitmapInfoHeader));
  memcpy(job.block, &header, sizeof header);
  return true;
}

}  // namespace

BitmapInfoHeader* DecodePng(const uint8_t* bytes, size_t count, bool keepAlpha, uint32_t background,
                            uint8_t* error) {
  *error = kImageNoError;
  // Fewer bytes than a signature would have png_sig_cmp read past the data.
  if (bytes == nullptr || count < kPngSignatureBytes || png_sig_cmp(bytes, 0, kPngSignatureBytes) != 0) {
    *error = kImagePngReadError;
    return nullptr;
  }
  char messages[kPngMessageBufferSize] = {};
  PngDecodeJob job{};
  job.source = PngReadSource{bytes, count, kPngSignatureBytes};
  job.keepAlpha = keepAlpha;
  job.background = background;
  job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, messages, PngErrorHandler, PngWarningHandler);
  if (job.png != nullptr) job.info = png_create_info_struct(job.png);
  if (job.info != nullptr) job.endInfo = png_create_info_struct(job.png);

  bool read = false;
  if (job.endInfo == nullptr) {
    job.error = kImageOutOfMemory;
  } else {
    read = ReadPicture(job);
  }
  free(job.rows);
  if (job.png != nullptr) png_destroy_read_struct(&job.png, job.info ? &job.info : nullptr, job.endInfo ? &job.endInfo : nullptr);
  if (!read) {
    free(job.block);
    *error = job.error;
    return nullptr;
  }
  return reinterpret_cast<BitmapInfoHeader*>(job.block);
}

const char* PngLibraryVersion() { return png_get_libpng_ver(nullptr); }
