// libFuzzer target: any bytes as a JPEG. A decode either fails with one of
// the codec's codes and no picture, or gives a packed bitmap whose header
// describes exactly the block behind it; a 24-bit one must encode again.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "charts/images/image_errors.h"
#include "charts/jpeg/jpeg_codec.h"
#include "tests/charts/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint8_t error = 0;
  uint8_t* block = DecodeJpeg(data, size, &error);
  if (block == nullptr) {
    Check(error == kImageJpegReadError || error == kImageJpegChannels || error == kImageOutOfMemory);
    return 0;
  }
  BitmapInfoHeader h;
  std::memcpy(&h, block, sizeof h);
  Check(error == 0 && h.biSize == 40 && h.biWidth > 0 && h.biHeight < 0);
  Check(h.biBitCount == 24 || h.biBitCount == 32);
  const uint64_t stride = DibRowStride(uint64_t(uint32_t(h.biWidth)) * (h.biBitCount / 8));
  Check(h.biSizeImage == stride * uint64_t(uint32_t(-h.biHeight)));
  // Touch the last byte so the sanitizer sees the whole block was allocated.
  volatile uint8_t last = block[40 + h.biSizeImage - 1];
  (void)last;
  if (h.biBitCount == 24 && uint64_t(uint32_t(h.biWidth)) * uint32_t(-h.biHeight) <= 1 << 20) {
    uint8_t* bytes = nullptr;
    size_t count = 0;
    Check(EncodeJpeg(reinterpret_cast<BitmapInfoHeader*>(block), &bytes, &count, 50, &error) && count > 100);
    std::free(bytes);
  }
  std::free(block);
  return 0;
}
