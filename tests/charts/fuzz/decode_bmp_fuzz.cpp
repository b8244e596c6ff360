// libFuzzer target: any bytes as a BMP file. A decode either fails with one
// of its codes and no picture, or keeps exactly the bytes after the file
// header that the size field allows, and they hold the picture they
// describe.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "charts/images/bmp_codec.h"
#include "charts/images/image_errors.h"
#include "charts/images/packed_dib.h"
#include "tests/charts/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint8_t error = 0;
  uint8_t* block = DecodeBmp(data, size, &error);
  if (block == nullptr) {
    Check(error == kImageInvalidBitmap || error == kImageOutOfMemory);
    return 0;
  }
  Check(error == 0 && size >= 14 + sizeof(BitmapInfoHeader));
  uint32_t field;
  std::memcpy(&field, data + 2, 4);
  const size_t kept = (field != 0 && field < size ? field : size) - 14;
  Check(std::memcmp(block, data + 14, kept) == 0);
  BitmapInfoHeader h;
  std::memcpy(&h, block, sizeof h);
  Check(h.biWidth > 0 && h.biHeight != 0 && h.biPlanes == 1);
  std::free(block);
  return 0;
}
