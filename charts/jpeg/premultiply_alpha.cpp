#include "charts/jpeg/jpeg_codec.h"

void PremultiplyAlpha(uint8_t* pixels, uint32_t width, uint32_t height) {
  const uint64_t count = uint64_t{width} * height;
  for (uint64_t i = 0; i < count; ++i, pixels += 4) {
    const uint32_t r = pixels[0];
    const uint32_t g = pixels[1];
    const uint32_t b = pixels[2];
    const uint32_t a = pixels[3];
    // Rounded, so that an opaque pixel keeps its channels.
    pixels[0] = static_cast<uint8_t>((b * a + 127) / 255);
    pixels[1] = static_cast<uint8_t>((g * a + 127) / 255);
    pixels[2] = static_cast<uint8_t>((r * a + 127) / 255);
  }
}
