#ifndef TALVERO_VIEW_FONT_DESCRIPTION_H
#define TALVERO_VIEW_FONT_DESCRIPTION_H

// What the drawing context asks the system for when it creates the font of a
// FontRecord: the fields of a logical font, computed without the system.

#include <cstdint>

struct FontRecord;

constexpr int kFontFaceCapacity = 32;  // the system's limit, NUL included

struct FontDescription {
  int32_t height;      // negative: the em height in pixels
  int32_t escapement;  // tenths of a degree, also the orientation
  int32_t weight;      // 100 .. 900
  uint8_t italic;
  uint8_t underline;
  uint8_t strikeOut;
  uint8_t family;   // the system's FF_ value
  uint8_t charSet;  // the system's character-set value
  char face[kFontFaceCapacity];
};

// Height -trunc(MulDiv(size, pixelsPerInchY, 72) x zoom / 100), a size of 0
// meaning the default 10 points; the face "Arial" when the record has none,
// cut to 31 characters.
FontDescription DescribeFont(const FontRecord& font, int16_t angle, uint16_t zoom, int32_t pixelsPerInchY);

// MulDiv's rounding: a x b / c to the nearest, halves away from zero.
int32_t MulDivRounded(int32_t a, int32_t b, int32_t c);

#endif
