#ifndef TALVERO_CHARTS_IMAGES_IMAGE_ERRORS_H
#define TALVERO_CHARTS_IMAGES_IMAGE_ERRORS_H

// The codes the image codecs report; a codec that fails returns no picture.

#include <cstdint>

enum ImageErrorCode : uint8_t {
  kImageNoError = 0,
  kImageOutOfMemory = 47,
  kImagePngReadError = 54,
  kImagePngWriteError = 55,
};

#endif
