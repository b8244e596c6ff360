#ifndef TALVERO_TESTS_CORE_FAKE_TEXT_MEASURER_H
#define TALVERO_TESTS_CORE_FAKE_TEXT_MEASURER_H

// A text measurer with metrics simple enough to compute by hand: in a font
// of s points every character is s pixels wide and a line 2 s high (a size of
// 0 counts as 10); before any font is selected, and on the screen,
// characters are 7 x 16. Counts the fonts selected.

#include <cstddef>
#include <cstdint>

#include "core/styles/style_record.h"
#include "core/styles/text_measurer.h"

class FakeTextMeasurer {
 public:
  FakeTextMeasurer() : measurer_{&Select, &Measure, &MeasureScreen, this} {}
  const TextMeasurer& Measurer() const { return measurer_; }

  int points = 0;  // of the selected font; 0 before any
  int selections = 0;
  bool failMeasuring = false;

 private:
  static bool Select(void* self, const FontRecord& font, int16_t, uint16_t zoom) {
    auto* fake = static_cast<FakeTextMeasurer*>(self);
    fake->points = (font.size ? font.size : 10) * zoom / 100;
    ++fake->selections;
    return true;
  }
  static bool Measure(void* self, const char*, size_t length, int32_t* width, int32_t* height) {
    auto* fake = static_cast<FakeTextMeasurer*>(self);
    if (fake->failMeasuring)
      return false;
    if (fake->points == 0)
      return MeasureScreen(self, nullptr, length, width, height);
    *width = static_cast<int32_t>(length) * fake->points;
    *height = 2 * fake->points;
    return true;
  }
  static bool MeasureScreen(void*, const char*, size_t length, int32_t* width, int32_t* height) {
    *width = static_cast<int32_t>(length) * 7;
    *height = 16;
    return true;
  }

  TextMeasurer measurer_;
};

#endif
