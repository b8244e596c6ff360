#include "charts/frame/shade_color.h"

uint32_t ShadeColor(const float light[3], const float normal[3], uint32_t colour) {
  const float d = light[0] * normal[0] + light[1] * normal[1] + light[2] * normal[2];
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
