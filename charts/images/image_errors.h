#ifndef TALVERO_CHARTS_IMAGES_IMAGE_ERRORS_H
#define TALVERO_CHARTS_IMAGES_IMAGE_ERRORS_H

// The codes the image cache keeps and the codecs report; a codec that fails
// returns no picture. The error-message table holds their texts.

#include <cstdint>

enum ImageErrorCode : uint8_t {
  kImageNoError = 0,
  kImageLoadOutOfMemory = 1,     // the file's bytes cannot be allocated
  kImageUnsupportedSource = 3,   // a web, FTP or inline link
  kImageUnsupportedFormat = 6,   // an extension other than BMP, JPG, JPEG or PNG
  kImageCannotOpen = 34,         // the file cannot be opened for reading
  kImageReadError = 38,          // the file is shorter than its length
  kImageOutOfMemory = 47,        // a picture too large or that cannot be allocated
  kImageJpegNoLibrary = 48,      // the JPEG library's entry points cannot be had
  kImageJpegInitFailed = 49,
  kImageJpegReadError = 50,
  kImageJpegWriteError = 51,
  kImageJpegChannels = 52,       // a JPEG of other than 1, 3 or 4 channels
  kImageInvalidBitmap = 53,
  kImagePngReadError = 54,
  kImagePngWriteError = 55,
};

#endif
