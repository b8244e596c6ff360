// libFuzzer target: any bytes decoded both ways. A decode either fails with
// one of the codec's codes and no picture, or gives a packed bitmap whose
// header describes exactly the block behind it; with the data re-encoded when
// it is 24 bits, the encoder must take what the decoder gave.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "charts/images/image_errors.h"
#include "charts/png/png_codec.h"
#include "tests/charts/fuzz/fuzz_check.h"

namespace {

void DecodeOnce(const uint8_t* data, size_t size, bool keepAlpha) {
  uint8_t error = 0xff;
  BitmapInfoHeader* dib = DecodePng(data, size, keepAlpha, 0x00808080, &error);
  if (dib == nullptr) {
    Check(error == kImagePngReadError || error == kImageOutOfMemory);
    return;
  }
  Check(error == kImageNoError && dib->biSize == 40 && dib->biWidth > 0 && dib->biHeight < 0);
  Check(dib->biBitCount == 24 || (keepAlpha && dib->biBitCount == 32));
  uint64_t stride = (uint64_t{uint32_t(dib->biWidth)} * (dib->biBitCount / 8) + 3) & ~uint64_t{3};
  Check(dib->biSizeImage == stride * uint64_t{uint32_t(-dib->biHeight)});
  // Touch the last byte so the sanitizer sees the whole block was allocated.
  volatile uint8_t last = reinterpret_cast<uint8_t*>(dib)[40 + dib->biSizeImage - 1];
  (void)last;
  if (dib->biBitCount == 24) {
    uint8_t* bytes = nullptr;
    size_t count = 0;
    Check(EncodePng(dib, &bytes, &count, 0.0, &error) && count > 8);
    free(bytes);
  }
  free(dib);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DecodeOnce(data, size, false);
  DecodeOnce(data, size, true);
  return 0;
}
