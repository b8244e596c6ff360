// What a format call of each FORMAT_TYPES value asks of the style table.

#include "automation/worksheet/format_request.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/numfmt/regional_settings.h"

namespace {

FormatInfoRecord Attributes() {
  FormatInfoRecord info = {};
  std::strcpy(info.fontName, "Courier New");
  info.fontSize = 14;
  info.bold = 1;
  info.italic = 1;
  info.fontColorSet = 1;
  info.fontColor = 0x0000FF;
  info.fillType = 4;
  info.fillPatternColorSet = 1;
  info.fillPatternColor = 0x00FF00;
  info.borderType = 2;
  info.borderPosition = 1 | 8;
  return info;
}

TEST(FormatRequest, EachTypeAppliesItsCoreKindAndThePunnedTypesTheirMeaning) {
  const struct {
    int type;
    bool taken;
    int kind;
  } cases[] = {
      {0, false, 0},
      {1, true, kApplyNumberFormat},
      {2, true, kApplyNumberFormat},
      {3, true, kApplyFontSize},
      {10, true, kApplyWholeFont},
      {17, true, kApplyBorders},
      {18, true, kApplyInterior},
      {19, true, 0},
      {20, false, 0},
      {-1, false, 0},
  };
  for (const auto& c : cases) {
    FormatRequest request;
    EXPECT_EQ(BuildFormatRequest(c.type, Attributes(), &request), c.taken) << c.type;
    if (c.taken) {
      EXPECT_EQ(request.kind, c.kind) << c.type;
    }
  }
}

TEST(FormatRequest, TemplatesCarryTheAttributesAndZeroWhatTheObjectLacks) {
  FormatRequest request;
  ASSERT_TRUE(BuildFormatRequest(18, Attributes(), &request));
  EXPECT_STREQ(request.font.faceName, "Courier New");
  EXPECT_EQ(request.font.size, 14);
  EXPECT_EQ(request.font.weight, kFontWeightBold);
  EXPECT_EQ(request.font.italic, 1);
  EXPECT_EQ(request.font.underline, 0);
  EXPECT_EQ(request.style.fontColorSet, 1);
  EXPECT_EQ(request.style.fontColor, 0x0000FFu);
  EXPECT_EQ(request.style.interior.pattern, 4);
  EXPECT_EQ(request.style.interior.patternColor, 0x00FF00u);
  EXPECT_EQ(request.style.interior.backgroundColorSet, 1);
  EXPECT_EQ(request.style.borders.sides, 1 | 8);
  EXPECT_EQ(request.style.borders.line.style, 2);
  EXPECT_EQ(request.style.alignment.horizontalIndent, 0);
  EXPECT_EQ(request.style.dropDown.listId, 0);
}

TEST(FormatRequest, ANumberFormatTakesTheCategoryDefaultsUpToTheCategories) {
  const struct {
    uint8_t styleId;
    int kind;
    uint8_t category;
  } cases[] = {
      {0, kApplyNumberFormat, kNumFormatDefault},  {2, kApplyNumberFormat, kNumFormatCurrency},
      {7, kApplyNumberFormat, kNumFormatPercent},  {9, kApplyNumberFormat, kNumFormatScientific},
      {10, kApplyNumberFormat, kNumFormatDefault}, {11, 0, 0},
      {255, 0, 0},
  };
  for (const auto& c : cases) {
    FormatInfoRecord info = Attributes();
    info.styleId = c.styleId;
    FormatRequest request;
    ASSERT_TRUE(BuildFormatRequest(1, info, &request));
    EXPECT_EQ(request.kind, c.kind) << int(c.styleId);
    if (c.kind == 0) continue;
    EXPECT_EQ(request.style.numFormat.category, c.category) << int(c.styleId);
    if (c.category == kNumFormatDefault) {
      const NumFormatOptions none = {};
      EXPECT_EQ(std::memcmp(&request.style.numFormat.options, &none, sizeof none), 0);
    }
  }
  FormatInfoRecord info = Attributes();
  info.styleId = kNumFormatCurrency;
  FormatRequest request;
  ASSERT_TRUE(BuildFormatRequest(1, info, &request));
  EXPECT_STREQ(request.style.numFormat.options.currency.symbol, CurrentRegionalSettings().currency);
  EXPECT_EQ(request.style.numFormat.options.currency.decimals, 2);
}

}  // namespace
