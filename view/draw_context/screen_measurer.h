#ifndef TALVERO_VIEW_SCREEN_MEASURER_H
#define TALVERO_VIEW_SCREEN_MEASURER_H

// Measuring on the screen, for the sizes that do not depend on the device
// being drawn on: the default column width and row height, the header bands.
// The Windows build asks the screen's device context; the portable build
// answers with the metrics Windows gives at 96 pixels per inch (see
// PortableTextMeasurer), so that sizes computed natively agree.

#include <cstdint>

#include "core/styles/text_measurer.h"

// A measurer of the screen that keeps the font last selected through it.
// Held for the length of one computation, not longer.
class ScreenMeasurer {
 public:
  ScreenMeasurer();
  ~ScreenMeasurer();
  ScreenMeasurer(const ScreenMeasurer&) = delete;
  ScreenMeasurer& operator=(const ScreenMeasurer&) = delete;

  const TextMeasurer& Measurer() const { return measurer_; }

 private:
  TextMeasurer measurer_;
  void* state_;
};

// Pixels per inch of the screen, horizontally and vertically.
int32_t ScreenPixelsPerInchX();
int32_t ScreenPixelsPerInchY();

#endif
