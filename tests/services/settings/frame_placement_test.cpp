#include "services/settings/frame_placement.h"

#include <gtest/gtest.h>

#include <cstring>

#include "services/settings/grid_view_options_copy.h"
#include "view/grid_view/grid_view_options.h"

namespace {

TEST(GlobalOptions, DefaultsBeforeAnyProfile) {
  COptions options = {};
  ASSERT_TRUE(SetDefaultOptions(options));
  EXPECT_EQ(options.MaximizeDocWindow, 1);
  EXPECT_EQ(options.AutoFormatting, 1);
  EXPECT_EQ(options.UndoLevel, 20);
  EXPECT_EQ(options.CopyLevel, 1);
  EXPECT_EQ(options.SaveFormat, kSaveFormatUnset);
  EXPECT_EQ(options.Region, 2);
  EXPECT_EQ(options.Opacity, 100);
  EXPECT_STREQ(options.DefaultFont.faceName, "Arial");
  EXPECT_EQ(options.DefaultFont.size, 10);
  EXPECT_EQ(options.ComposerSplitter, -1);
  EXPECT_EQ(options.FrameShowState, kShowStateMaximized);
  ASSERT_NE(options.Lists, nullptr);
  EXPECT_EQ(options.Lists->recentFileCount, 0);
  FreeSettingsProfileBuffer(options);
  EXPECT_EQ(options.Lists, nullptr);
}

TEST(FramePlacement, MaximisedAndMinimisedOpenAtDefaultPositionWithTheirState) {
  COptions options = {};
  options.FrameRect = {10, 20, 300, 400};
  struct Case { int32_t state; bool atRect; int requested; int shown; };
  const Case cases[] = {
      {kShowStateMaximized, false, 1, 3},  {kShowStateMaximized, false, 10, 3},
      {kShowStateMinimized, false, 5, 6},  {kShowStateMaximized, false, 7, 7},
      {kShowStateNormal, true, 1, 1},      {kShowStateRestored, true, 10, 10},
  };
  for (const Case& c : cases) {
    options.FrameShowState = c.state;
    OptionsRect rect = {};
    EXPECT_EQ(FrameCreateRect(options, &rect), c.atRect) << c.state;
    if (c.atRect) {
      EXPECT_EQ(rect.right, 300);
    }
    EXPECT_EQ(FrameShowCommand(options, c.requested), c.shown) << c.state << " " << c.requested;
  }
}

TEST(FramePlacement, StoresRectangleOnlyForANormalFrame) {
  COptions options = {};
  options.FrameShowState = kShowStateNormal;
  StoreFramePlacement(options, false, false, {1, 2, 3, 4});
  EXPECT_EQ(options.FrameShowState, kShowStateNormal);
  EXPECT_EQ(options.FrameRect.bottom, 4);
  StoreFramePlacement(options, true, false, {5, 6, 7, 8});
  EXPECT_EQ(options.FrameShowState, kShowStateMaximized);
  EXPECT_EQ(options.FrameRect.left, 1);
  StoreFramePlacement(options, false, true, {5, 6, 7, 8});
  EXPECT_EQ(options.FrameShowState, kShowStateMinimized);
}

TEST(GlobalOptions, TheGridViewsTakeTheUsersEditingOptions) {
  COptions options = {};
  ASSERT_TRUE(SetDefaultOptions(options));
  options.WhenEnterPressed = kEnterMovesRight;
  options.AutoFormatting = 0;
  options.HideCellMarkers = 1;
  options.ShowFormulas = 1;
  CopyOptionsToGridViews(options);
  const GridViewOptions& view = ViewOptions();
  EXPECT_EQ(view.whenEnterPressed, kEnterMovesRight);
  EXPECT_EQ(view.autoFormatting, 0);
  EXPECT_EQ(view.hideCellMarkers, 1);
  EXPECT_EQ(view.showFormulas, 1);
  ResetGridViewOptions();
  FreeSettingsProfileBuffer(options);
}

}  // namespace
