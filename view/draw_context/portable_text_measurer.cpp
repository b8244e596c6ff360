#include "view/draw_context/portable_text_measurer.h"

#include "core/styles/style_record.h"
#include "view/draw_context/default_font.h"

namespace {

// Advance widths of Arial in thousandths of an em, characters 32 to 126.
constexpr uint16_t kArialAdvance[95] = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278,  // space .. /
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556,                                // 0 .. 9
    278, 278, 584, 584, 584, 556, 1015,                                              // : .. @
    667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833,                 // A .. M
    722, 778, 667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611,                 // N .. Z
    278, 278, 278, 469, 556, 333,                                                    // [ .. `
    556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833,                 // a .. m
    556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500,                 // n .. z
    334, 260, 334, 584};                                                             // { .. ~
constexpr uint16_t kOtherAdvance = 556;
// Ascent and descent of the face in thousandths of an em, each rounded on its own.
constexpr int32_t kAscent = 905;
constexpr int32_t kDescent = 212;

int32_t Scaled(int32_t thousandths, int32_t em) { return (thousandths * em + 500) / 1000; }

}  // namespace

PortableTextMeasurer::PortableTextMeasurer()
    : measurer_{&PortableTextMeasurer::SelectFont, &PortableTextMeasurer::MeasureLine,
                &PortableTextMeasurer::MeasureScreenLine, this} {}

int32_t PortableTextMeasurer::EmPixels(uint8_t points, uint16_t zoom) {
  const int32_t size = points ? points : kDefaultFontSize;
  // The rounding of MulDiv, then the zoom truncated.
  const int32_t atScreen = (size * kPixelsPerInch + 36) / 72;
  return static_cast<int32_t>(static_cast<int64_t>(atScreen) * zoom / 100);
}

bool PortableTextMeasurer::SelectFont(void* self, const FontRecord& font, int16_t, uint16_t zoom) {
  static_cast<PortableTextMeasurer*>(self)->em_ = EmPixels(font.size, zoom);
  return true;
}

bool PortableTextMeasurer::MeasureLine(void* self, const char* text, size_t length, int32_t* width,
                                       int32_t* height) {
  const int32_t em = static_cast<PortableTextMeasurer*>(self)->em_;
  if (em == 0)
    return MeasureScreenLine(self, text, length, width, height);
  int32_t total = 0;
  for (size_t i = 0; i < length; ++i) {
    const uint8_t c = static_cast<uint8_t>(text[i]);
    total += Scaled(c >= 32 && c <= 126 ? kArialAdvance[c - 32] : kOtherAdvance, em);
  }
  *width = total;
  *height = Scaled(kAscent, em) + Scaled(kDescent, em);
  return true;
}

bool PortableTextMeasurer::MeasureScreenLine(void*, const char*, size_t length, int32_t* width, int32_t* height) {
  *width = static_cast<int32_t>(length) * kScreenCharWidth;
  *height = kScreenLineHeight;
  return true;
}
