#include "view/draw_context/font_description.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/styles/style_record.h"
#include "view/draw_context/fill_patterns.h"

namespace {

TEST(FontDescription, FollowsTheRecordWithTheDefaultsForEmptyFields) {
  struct Case {
    const char* face;
    uint8_t size, weight, family, charSet;
    uint16_t zoom;
    int32_t height, logicalWeight;
    uint8_t logicalFamily, logicalCharSet;
    const char* logicalFace;
  } cases[] = {
      {"", 0, 0, 0, 0, 100, -13, 400, 0, 1, "Arial"},
      {"Courier New", 12, 2, 2, 1, 100, -16, 700, 48, 0, "Courier New"},
      {"Times", 10, 1, 3, 10, 150, -19, 100, 16, 204, "Times"},
      {"Symbol", 8, 3, 5, 12, 50, -5, 900, 80, 2, "Symbol"},
      {"A", 10, 9, 9, 17, 100, -13, 400, 0, 1, "A"},  // unknown codes
      {"A face name of more than thirty-one characters", 10, 0, 4, 16, 100, -13, 400, 64, 222,
       "A face name of more than thirty"},
  };
  for (const Case& c : cases) {
    FontRecord font = {};
    std::strcpy(font.faceName, c.face);
    font.size = c.size;
    font.weight = c.weight;
    font.family = c.family;
    font.charSet = c.charSet;
    font.italic = 1;
    const FontDescription d = DescribeFont(font, 45, c.zoom, 96);
    EXPECT_EQ(d.height, c.height) << c.face;
    EXPECT_EQ(d.weight, c.logicalWeight) << c.face;
    EXPECT_EQ(d.family, c.logicalFamily) << c.face;
    EXPECT_EQ(d.charSet, c.logicalCharSet) << c.face;
    EXPECT_STREQ(d.face, c.logicalFace);
    EXPECT_EQ(d.escapement, 450);
    EXPECT_EQ(d.italic, 1);
  }
}

TEST(FillPatterns, PatternsKeepTheirSizeOnPaperButNotInThePreview) {
  struct Case {
    bool printing, preview, windows9x;
    int32_t deviceX, deviceY;
    int32_t scale;
  } cases[] = {
      {false, false, false, 600, 600, 1}, {true, false, false, 600, 600, 6}, {true, true, false, 600, 600, 1},
      {true, false, true, 600, 600, 1},   {true, false, false, 300, 600, 6}, {true, false, false, 72, 72, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PatternScale(c.printing, c.preview, c.windows9x, c.deviceX, c.deviceY, 96, 96), c.scale);
  EXPECT_EQ(PatternRows(1), nullptr);
  EXPECT_EQ(PatternRows(19), nullptr);
  EXPECT_EQ(PatternRows(18)[3], 0xEE);
}

}  // namespace
