#include "services/convert/font_conversion.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

FontRecord Font(const char* face, uint8_t size, uint8_t weight, uint8_t charSet, uint8_t family) {
  FontRecord f = {};
  std::strcpy(f.faceName, face);
  f.size = size;
  f.weight = weight;
  f.charSet = charSet;
  f.family = family;
  return f;
}

TEST(FontConversion, LogFontFieldsOfEveryCode) {
  struct Case { FontRecord record; int32_t dpi; int32_t height; int32_t weight; uint8_t charSet; uint8_t family; const char* face; };
  const Case cases[] = {
      {Font("Tahoma", 10, 0, 0, 0), 96, -13, 400, 1, 0, "Tahoma"},
      {Font("", 0, 1, 1, 1), 96, -13, 100, 0, 32, "Arial"},
      {Font("A", 9, 2, 2, 2), 96, -12, 700, 186, 48, "A"},
      {Font("A", 11, 3, 16, 3), 120, -18, 900, 222, 16, "A"},
      {Font("A", 255, 4, 17, 4), 96, -340, 400, 1, 64, "A"},
      {Font("A", 8, 0, 9, 5), 72, -8, 400, 255, 80, "A"},
      {Font("A", 8, 0, 12, 6), 96, -11, 400, 2, 0, "A"},
      {Font("A very long face name that the system cannot hold", 8, 0, 0, 0), 96, -11, 400, 1, 0,
       "A very long face name that the "},
  };
  for (const Case& c : cases) {
    LogFont font;
    FontRecordToLogFont(c.record, &font, c.dpi);
    EXPECT_EQ(font.lfHeight, c.height) << c.record.faceName;
    EXPECT_EQ(font.lfWeight, c.weight);
    EXPECT_EQ(font.lfCharSet, c.charSet);
    EXPECT_EQ(font.lfPitchAndFamily, c.family);
    EXPECT_STREQ(font.lfFaceName, c.face);
    EXPECT_EQ(font.lfWidth | font.lfEscapement | font.lfOrientation, 0);
    EXPECT_EQ(font.lfOutPrecision | font.lfQuality, 0);
  }
}

TEST(FontConversion, RecordsSurviveTheRoundTripAtEveryResolution) {
  for (int32_t dpi : {72, 96, 120, 144}) {
    for (uint8_t size = 1; size < 200; ++size) {
      for (uint8_t code = 0; code <= 16; ++code) {
        FontRecord record = Font("Courier New", size, uint8_t(code % 4), code, uint8_t(code % 6));
        record.italic = code & 1;
        record.underline = (code >> 1) & 1;
        record.strikeOut = (code >> 2) & 1;
        LogFont font;
        FontRecordToLogFont(record, &font, dpi);
        FontRecord back = {};
        LogFontToFontRecord(&back, font, dpi);
        ASSERT_EQ(0, std::memcmp(&back, &record, sizeof record)) << "size " << int(size) << " code " << int(code)
                                                                   << " dpi " << dpi;
      }
    }
  }
}

TEST(FontConversion, ValuesWithoutACodeGiveZero) {
  LogFont font = {};
  font.lfHeight = -13;
  font.lfWeight = 600;
  font.lfCharSet = 1;                // the default set
  font.lfPitchAndFamily = 32 | 2;    // Swiss with a pitch
  FontRecord record = Font("x", 0, 0, 5, 5);
  LogFontToFontRecord(&record, font, 96);
  EXPECT_EQ(record.size, 10);
  EXPECT_EQ(record.weight, 0);
  EXPECT_EQ(record.charSet, 0);
  EXPECT_EQ(record.family, 0);
  EXPECT_STREQ(record.faceName, "");
}

}  // namespace
