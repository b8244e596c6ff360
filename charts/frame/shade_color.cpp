#include "charts/frame/shade_color.h"

#include <cstring>

uint32_t ShadeColor(const float light[3], const float normal[3], uint32_t colour) {
  // Both usually lie in packed records, at any address.
  float l[3];
  float n[3];
  std::memcpy(l, light, sizeof l);
  std::memcpy(n, normal, sizeof n);
  const float d = l[0] * n[0] + l[1] * n[1] + l[2] * n[2];
  float factor = 0.3f;
  if (d > 0) {
    factor = 0.6f * d * d + 0.65f * d + 0.3f;
    if (factor > 1.0f)
      factor = 1.0f;
  }
  const uint32_t red = static_cast<uint32_t>((colour & 0xFF) * factor);
  const uint32_t green = static_cast<uint32_t>(((colour >> 8) & 0xFF) * factor);
  const uint32_t blue = static_cast<uint32_t>(((colour >> 16) & 0xFF) * factor);
  return red | (green << 8) | (blue << 16);
}
