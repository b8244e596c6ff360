#include <png.h>

#include <cstdlib>
#include <cstring>

#include "charts/images/image_errors.h"
#include "charts/png/png_codec.h"
#include "charts/png/png_memory_io.h"

namespace {

constexpr double kDefaultFileGamma = 1.0 / 2.2;

// What a failed pass has to release; kept in EncodePng's frame, outside the
// function that calls setjmp, so its values survive the jump.
struct PngEncodeJob {
  PngWriteSink sink;
  png_uint_32 width;
  png_uint_32 height;
  double gamma;
  png_bytep* rows;
  png_structp png;
  png_infop info;
};

bool WritePicture(PngEncodeJob& job) {
  if (setjmp(png_jmpbuf(job.png))) return false;
  png_set_write_fn(job.png, &job.sink, PngWriteToMemory, PngFlushNone);
  png_set_IHDR(job.png, job.info, job.width, job.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_gAMA(job.png, job.info, job.gamma);
  png_write_info(job.png, job.info);
  png_set_bgr(job.png);
  png_write_image(job.png, job.rows);
  png_write_end(job.png, nullptr);
  return true;
}

// One pass over the rows into the job's sink; with capacity 0 it only counts.
bool RunPass(PngEncodeJob& job, char* messages, uint8_t* error) {
  job.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, messages, PngErrorHandler, PngWarningHandler);
  job.info = job.png ? png_create_info_struct(job.png) : nullptr;
  bool written = false;
  if (job.info == nullptr) {
    *error = kImageOutOfMemory;
  } else {
    written = WritePicture(job);
    if (!written) *error = kImagePngWriteError;
  }
  if (job.png != nullptr) png_destroy_write_struct(&job.png, job.info ? &job.info : nullptr);
  return written;
}

}  // namespace

bool EncodePng(const BitmapInfoHeader* dib, uint8_t** bytesOut, size_t* countOut, double gamma, uint8_t* error) {
  *error = kImageNoError;
  *bytesOut = nullptr;
  *countOut = 0;
  // Only what the rows behind a well-formed 24-bit header can be.
  if (dib == nullptr || dib->biSize < sizeof(BitmapInfoHeader) || dib->biBitCount != 24 || dib->biWidth <= 0 ||
      dib->biHeight == INT32_MIN || dib->biHeight == 0) {
    *error = kImagePngWriteError;
    return false;
  }
  PngEncodeJob job{};
  job.gamma = gamma == 0.0 ? kDefaultFileGamma : gamma;
  job.width = static_cast<png_uint_32>(dib->biWidth);
  job.height = static_cast<png_uint_32>(dib->biHeight < 0 ? -dib->biHeight : dib->biHeight);
  uint64_t stride = DibRowStride(uint64_t{job.width} * 3);
  if (sizeof(BitmapInfoHeader) + stride * job.height > kMaxPackedDibBytes) {
    *error = kImagePngWriteError;
    return false;
  }
  job.rows = static_cast<png_bytep*>(malloc(sizeof(png_bytep) * job.height));
  if (job.rows == nullptr) {
    *error = kImageOutOfMemory;
    return false;
  }
  // libpng copies each row before swapping its bytes, so the picture stays as it is.
  uint8_t* pixels = const_cast<uint8_t*>(reinterpret_cast<const uint8_t*>(dib)) + sizeof(BitmapInfoHeader);
  bool topDown = dib->biHeight < 0;
  for (png_uint_32 i = 0; i < job.height; ++i) {
    png_uint_32 stored = topDown ? i : job.height - 1 - i;
    job.rows[i] = pixels + stride * stored;
  }

  char messages[kPngMessageBufferSize] = {};
  bool encoded = RunPass(job, messages, error);
  if (encoded) {
    size_t size = job.sink.position;
    job.sink = PngWriteSink{static_cast<uint8_t*>(malloc(size)), size, 0};
    if (job.sink.buffer == nullptr) {
      *error = kImageOutOfMemory;
      encoded = false;
    } else {
      encoded = RunPass(job, messages, error);
    }
  }
  free(job.rows);
  if (!encoded) {
    free(job.sink.buffer);
    return false;
  }
  *bytesOut = job.sink.buffer;
  *countOut = job.sink.position;
  return true;
}
