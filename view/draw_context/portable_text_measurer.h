#ifndef TALVERO_VIEW_PORTABLE_TEXT_MEASURER_H
#define TALVERO_VIEW_PORTABLE_TEXT_MEASURER_H

// Text measured without a device, as Windows measures it on a 96 pixels per
// inch screen: the screen's own font is 7 x 16 pixels a character (so "X" is
// 7 x 16 and the default column is 63 pixels wide, the default row 18 high),
// and a selected font has the advance widths and line height of Arial (and
// of Liberation Sans, which shares them) at its pixel size, every glyph
// rounded to whole pixels. Other faces, weights and slants are measured as
// Arial: the portable build needs sizes that agree with Windows for the
// default fonts, and plausible ones for the rest.

#include <cstddef>
#include <cstdint>

#include "core/styles/text_measurer.h"

struct FontRecord;

class PortableTextMeasurer {
 public:
  static constexpr int32_t kScreenCharWidth = 7;
  static constexpr int32_t kScreenLineHeight = 16;
  static constexpr int32_t kPixelsPerInch = 96;

  PortableTextMeasurer();

  const TextMeasurer& Measurer() const { return measurer_; }

  // The em height in pixels of a font of that many points at the zoom, as
  // the drawing context creates it; 0 while no font is selected.
  static int32_t EmPixels(uint8_t points, uint16_t zoom);
  int32_t SelectedEm() const { return em_; }

  static bool SelectFont(void* self, const FontRecord& font, int16_t angle, uint16_t zoom);
  static bool MeasureLine(void* self, const char* text, size_t length, int32_t* width, int32_t* height);
  static bool MeasureScreenLine(void* self, const char* text, size_t length, int32_t* width, int32_t* height);

 private:
  TextMeasurer measurer_;
  int32_t em_ = 0;
};

#endif
