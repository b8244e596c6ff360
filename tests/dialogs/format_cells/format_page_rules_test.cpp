// The rules of the Font, Alignment and Border pages and of the sheet's place.

#include <gtest/gtest.h>

#include <cstring>

#include "dialogs/format_cells/alignment_page_rules.h"
#include "dialogs/format_cells/border_preview_rules.h"
#include "dialogs/format_cells/font_page_rules.h"
#include "dialogs/format_cells/sheet_placement.h"
#include "resources/resource_ids.h"

namespace {

TEST(FontPageRules, SizesAndStyleButtons) {
  EXPECT_EQ(5, FontSizeIndex(10));
  EXPECT_EQ(5, FontSizeIndex(0));  // the default size
  EXPECT_EQ(25, FontSizeIndex(72));
  EXPECT_EQ(-1, FontSizeIndex(19));
  FontRecord font;
  std::memset(&font, 0, sizeof font);
  font.weight = kFontWeightHeavy;
  // Bold from any other weight, and back to normal.
  EXPECT_EQ(kApplyWeight, ToggleFontStyle(&font, ID_FONT_BOLD));
  EXPECT_TRUE(FontStyleSet(font, ID_FONT_BOLD));
  EXPECT_EQ(kApplyWeight, ToggleFontStyle(&font, ID_FONT_BOLD));
  EXPECT_EQ(kFontWeightNormal, font.weight);
  const struct {
    uint32_t command;
    int kind;
    uint8_t FontRecord::*field;
  } flags[] = {{ID_FONT_ITALIC, kApplySlant, &FontRecord::italic},
               {ID_FONT_UNDERLINE, kApplyUnderline, &FontRecord::underline},
               {ID_FONT_STRIKEOUT, kApplyStrikeOut, &FontRecord::strikeOut}};
  for (const auto& f : flags) {
    EXPECT_EQ(f.kind, ToggleFontStyle(&font, f.command));
    EXPECT_EQ(1, font.*f.field);
    EXPECT_TRUE(FontStyleSet(font, f.command));
    ToggleFontStyle(&font, f.command);
    EXPECT_EQ(0, font.*f.field);
  }
  EXPECT_EQ(0, ToggleFontStyle(&font, ID_FORMAT_CELLS));
}

TEST(AlignmentPageRules, ButtonsToggleBackToTheDefaultAndOverflowIsARadioGroup) {
  StyleAlignment a = {};
  EXPECT_EQ(kApplyHorizontalAlignment, PressAlignmentButton(&a, kAlignLeft));
  EXPECT_EQ(kHAlignLeft, a.horizontal);
  EXPECT_TRUE(AlignmentButtonSet(a, kAlignLeft));
  EXPECT_EQ(kApplyHorizontalAlignment, PressAlignmentButton(&a, kAlignLeft));
  EXPECT_EQ(kHAlignNone, a.horizontal);
  EXPECT_EQ(kApplyHorizontalAlignment, PressAlignmentButton(&a, kAlignRight));
  EXPECT_EQ(kApplyHorizontalAlignment, PressAlignmentButton(&a, kAlignCentre));
  EXPECT_EQ(kHAlignCentre, a.horizontal);
  EXPECT_EQ(kApplyVerticalAlignment, PressAlignmentButton(&a, kAlignBottom));
  EXPECT_EQ(kVAlignBottom, a.vertical);
  EXPECT_FALSE(AlignmentButtonSet(a, kAlignMiddle));
  EXPECT_TRUE(AlignmentButtonSet(a, kOverflowIntoNeighbours));
  EXPECT_EQ(kApplyTextControl, PressAlignmentButton(&a, kOverflowWrap));
  EXPECT_EQ(kApplyTextControl, PressAlignmentButton(&a, kOverflowWrap));
  EXPECT_EQ(1, a.wrapText);
  EXPECT_EQ(kApplyTextControl, PressAlignmentButton(&a, kOverflowShrink));
  EXPECT_EQ(0, a.wrapText);
  EXPECT_EQ(1, a.fitToCell);
  EXPECT_FALSE(AlignmentButtonSet(a, kOverflowIntoNeighbours));
  EXPECT_EQ(0, PressAlignmentButton(&a, 999));
}

TEST(AlignmentPageRules, RotationPositionsAreTensOfDegrees) {
  const struct {
    int8_t rotation;
    int position;
  } cases[] = {{0, 0}, {10, 1}, {-90, -9}, {90, 9}, {45, 4}, {-45, -4}, {127, 9}};
  for (const auto& c : cases) EXPECT_EQ(c.position, RotationPosition(c.rotation)) << int(c.rotation);
  EXPECT_EQ(-90, RotationOfPosition(-9));
  EXPECT_EQ(90, RotationOfPosition(12));
  char label[32];
  RotationLabel(-30, label, sizeof label);
  EXPECT_STREQ("-30 degrees", label);
}

TEST(BorderPreviewRules, ClicksKeysAndEmptyLineStyle) {
  // A 200 by 140 preview: its cell spans 15..185 by 15..125.
  const struct {
    int x, y;
    uint8_t side;
  } clicks[] = {
      {15, 70, kBorderLeft},           {2, 70, kBorderLeft},            {29, 124, kBorderLeft},
      {185, 70, kBorderRight},         {199, 40, kBorderRight},         {100, 15, kBorderTop},
      {0, 0, kBorderTop},              {100, 139, kBorderBottom},       {40, 40, kBorderDiagonalLeft},
      {150, 100, kBorderDiagonalLeft}, {40, 100, kBorderDiagonalRight}, {150, 40, kBorderDiagonalRight},
      {210, 70, 0},
  };
  for (const auto& c : clicks) EXPECT_EQ(c.side, BorderPreviewHit(200, 140, c.x, c.y)) << c.x << "," << c.y;
  // The upper-left quarter toggles the same diagonal as the lower-right one.
  EXPECT_EQ(BorderPreviewHit(200, 140, 35, 35), BorderPreviewHit(200, 140, 165, 105));
  const uint8_t keys[] = {0, kBorderTop, kBorderRight, kBorderBottom, kBorderLeft, kBorderDiagonalRight,
                          kBorderDiagonalLeft, 0};
  for (uint32_t key = '0'; key <= '7'; ++key) EXPECT_EQ(keys[key - '0'], BorderDigitSide(key)) << char(key);
  EXPECT_EQ(0, SidesToApply(kBorderTop | kBorderLeft, 0));
  EXPECT_EQ(kBorderTop, SidesToApply(kBorderTop, 1));
}

}  // namespace

namespace {

TEST(SheetPlacement, OnlyARectangleStrictlyInsideTheWorkAreasCornerIsRestored) {
  const PlacementRect work = {0, 0, 1280, 1000};
  const struct {
    PlacementRect stored;
    bool restored;
  } cases[] = {
      {{100, 80, 500, 480}, true},
      {{0, 80, 400, 480}, false},       // at the left edge
      {{100, 0, 500, 400}, false},      // at the top edge
      {{1280, 80, 1600, 480}, true},    // its left edge at the right edge still counts
      {{1281, 80, 1600, 480}, false},
      {{100, 1001, 500, 1400}, false},
      {{100, 80, 100, 480}, false},     // empty
      {{0, 0, 0, 0}, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.restored, RestoresStoredPlacement(c.stored, work)) << c.stored.left << "," << c.stored.top;
}

}  // namespace
