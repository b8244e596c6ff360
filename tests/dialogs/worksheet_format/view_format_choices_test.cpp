#include "dialogs/worksheet_format/view_format_choices.h"

#include <gtest/gtest.h>

namespace {

TEST(ViewFormatChoices, BackgroundModeFollowsTheRadioAndPatternNoneMeansNoBackground) {
  const struct {
    bool image;
    uint8_t pattern;
    uint8_t mode;
  } cases[] = {{false, 0, 0}, {false, 1, 1}, {false, 7, 1}, {true, 0, 2}, {true, 3, 2}};
  for (const auto& c : cases) {
    WorksheetViewFormat format;
    InitWorksheetViewFormat(&format);
    format.zoom = 150;
    FillRecord fill{};
    fill.pattern = c.pattern;
    fill.patternColorSet = 1;
    fill.patternColor = 0x123456;
    StoreBackgroundChoice(&format, c.image, fill, "C:\\pictures\\sky.png", 2);
    EXPECT_EQ(format.backgroundMode, c.mode);
    EXPECT_EQ(format.fill.pattern, c.pattern);
    EXPECT_EQ(format.fill.patternColor, 0x123456u);
    EXPECT_STREQ(format.imagePath, "C:\\pictures\\sky.png");
    EXPECT_EQ(format.imageSizeMode, 2);
    EXPECT_EQ(format.zoom, 150);  // what the page does not edit stays
  }
}

TEST(ViewFormatChoices, ToolWindowReopensWhereItWasOnlyInsideTheWorkArea) {
  const UiRect work{0, 0, 1024, 740};
  const struct {
    UiRect stored;
    bool fits;
  } cases[] = {
      {{100, 100, 400, 300}, true},   {{0, 100, 300, 300}, false},   {{100, 0, 400, 300}, false},
      {{1024, 740, 1300, 900}, true}, {{1025, 100, 1300, 300}, false}, {{100, 100, 100, 300}, false},
      {{0, 0, 0, 0}, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ToolWindowPositionFits(c.stored, work), c.fits) << c.stored.left << "," << c.stored.top;
}

}  // namespace
