#include "services/convert/font_conversion.h"

#include <cstring>

#include "view/draw_context/font_description.h"
#include "view/draw_context/screen_measurer.h"

namespace {

// The system's character-set values of the record's codes 1..16.
constexpr uint8_t kCharSets[17] = {1, 0, 186, 136, 238, 134, 161, 129, 77, 255, 204, 128, 2, 162, 177, 178, 222};
// The system's family values of the record's codes 1..5.
constexpr uint8_t kFamilies[6] = {0, 32, 48, 16, 64, 80};

uint8_t CodeOf(const uint8_t* values, int count, uint8_t value) {
  for (int code = 1; code < count; ++code)
    if (values[code] == value) return uint8_t(code);
  return 0;
}

uint8_t WeightCode(int32_t weight) {
  switch (weight) {
    case 100: return kFontWeightThin;
    case 700: return kFontWeightBold;
    case 900: return kFontWeightHeavy;
    default: return kFontWeightNormal;
  }
}

}  // namespace

void FontRecordToLogFont(const FontRecord& record, LogFont* font, int32_t pixelsPerInchY) {
  const FontDescription d = DescribeFont(record, 0, 100, pixelsPerInchY);
  std::memset(font, 0, sizeof *font);
  font->lfHeight = d.height;
  font->lfWeight = d.weight;
  font->lfItalic = record.italic;
  font->lfUnderline = record.underline;
  font->lfStrikeOut = record.strikeOut;
  font->lfCharSet = d.charSet;
  font->lfPitchAndFamily = d.family;
  std::memcpy(font->lfFaceName, d.face, sizeof font->lfFaceName);
}

void FontRecordToLogFont(const FontRecord& record, LogFont* font) {
  FontRecordToLogFont(record, font, ScreenPixelsPerInchY());
}

void LogFontToFontRecord(FontRecord* record, const LogFont& font, int32_t pixelsPerInchY) {
  record->size = uint8_t(-MulDivRounded(font.lfHeight, 72, pixelsPerInchY));
  record->weight = WeightCode(font.lfWeight);
  record->italic = font.lfItalic;
  record->underline = font.lfUnderline;
  record->strikeOut = font.lfStrikeOut;
  record->charSet = CodeOf(kCharSets, 17, font.lfCharSet);
  record->family = CodeOf(kFamilies, 6, font.lfPitchAndFamily);
  std::memset(record->faceName, 0, sizeof record->faceName);
  std::memcpy(record->faceName, font.lfFaceName, strnlen(font.lfFaceName, sizeof font.lfFaceName - 1));
}

void LogFontToFontRecord(FontRecord* record, const LogFont& font) {
  LogFontToFontRecord(record, font, ScreenPixelsPerInchY());
}
