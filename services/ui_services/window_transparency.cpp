#include "services/ui_services/window_transparency.h"

uint8_t TransparencyAlpha(int percent) {
  int alpha = percent * 255 / 100;
  if (alpha < 11) alpha = 10;
  if (alpha > 255) alpha = 255;
  return uint8_t(alpha);
}
