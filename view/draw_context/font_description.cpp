#include "view/draw_context/font_description.h"

#include <cstring>

#include "core/styles/style_record.h"
#include "view/draw_context/default_font.h"

namespace {

// The system's family values (FF_DONTCARE, FF_SWISS, FF_MODERN, FF_ROMAN,
// FF_SCRIPT, FF_DECORATIVE) by family code.
constexpr uint8_t kFamilyByCode[6] = {0, 32, 48, 16, 64, 80};
// The system's character sets by character-set code 1..16; any other code
// is DEFAULT_CHARSET (1).
constexpr uint8_t kCharSetByCode[17] = {1, 0, 186, 136, 238, 134, 161, 129, 77, 255, 204, 128, 2, 162, 177, 178, 222};

}  // namespace

int32_t MulDivRounded(int32_t a, int32_t b, int32_t c) {
  if (c == 0)
    return -1;
  const int64_t product = static_cast<int64_t>(a) * b;
  const int64_t half = (c < 0 ? -c : c) / 2;
  const bool negative = (product < 0) != (c < 0);
  const int64_t magnitude = ((product < 0 ? -product : product) + half) / (c < 0 ? -c : c);
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

FontDescription DescribeFont(const FontRecord& font, int16_t angle, uint16_t zoom, int32_t pixelsPerInchY) {
  FontDescription d = {};
  const int32_t size = font.size ? font.size : kDefaultFontSize;
  d.height = -static_cast<int32_t>(static_cast<int64_t>(MulDivRounded(size, pixelsPerInchY, 72)) * zoom / 100);
  d.escapement = angle * 10;
  d.weight = FontWeightValue(font.weight);
  d.italic = font.italic != 0;
  d.underline = font.underline != 0;
  d.strikeOut = font.strikeOut != 0;
  d.family = font.family <= 5 ? kFamilyByCode[font.family] : 0;
  d.charSet = font.charSet <= 16 ? kCharSetByCode[font.charSet] : 1;
  const char* face = font.faceName[0] ? font.faceName : DefaultFaceName();
  size_t length = strnlen(face, sizeof font.faceName);
  if (length > kFontFaceCapacity - 1)
    length = kFontFaceCapacity - 1;
  std::memcpy(d.face, face, length);
  d.face[length] = '\0';
  return d;
}
