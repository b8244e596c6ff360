#include "platform/ui/preview_layout.h"

#include <gtest/gtest.h>

namespace {

// An A4 sheet (210 x 297) in a window of 400 x 300: the height decides.
TEST(PreviewLayout, TheWholePaperFitsCentredAtZoomOne) {
  const PreviewPaper paper = LayOutPreviewPaper(400, 300, 210, 297, 1.0, 50, 50);
  EXPECT_EQ(paper.height, 300 - 2 * kPreviewBorder);
  EXPECT_EQ(paper.width, static_cast<int32_t>(284.0 * 210 / 297));
  EXPECT_EQ(paper.left, (400 - paper.width) / 2);
  EXPECT_EQ(paper.top, kPreviewBorder);
  EXPECT_EQ(paper.scrollRangeX, 0);
  EXPECT_EQ(paper.scrollRangeY, 0);
  // A landscape sheet in a tall window: the width decides.
  const PreviewPaper wide = LayOutPreviewPaper(300, 400, 297, 210, 1.0, 0, 0);
  EXPECT_EQ(wide.width, 300 - 2 * kPreviewBorder);
  EXPECT_EQ(wide.top, (400 - wide.height) / 2);
}

TEST(PreviewLayout, AZoomedPaperScrollsWithinItsRange) {
  const PreviewPaper paper = LayOutPreviewPaper(400, 300, 210, 297, 2.0, 0, 0);
  EXPECT_EQ(paper.height, 2 * (300 - 2 * kPreviewBorder));
  EXPECT_EQ(paper.scrollRangeY, paper.height + 2 * kPreviewBorder - 300);
  EXPECT_EQ(paper.top, kPreviewBorder);
  const PreviewPaper scrolled = LayOutPreviewPaper(400, 300, 210, 297, 2.0, 0, 100000);
  EXPECT_EQ(scrolled.top, kPreviewBorder - paper.scrollRangeY);
  const PreviewPaper before = LayOutPreviewPaper(400, 300, 210, 297, 2.0, 0, -5);
  EXPECT_EQ(before.top, kPreviewBorder);
  // No room at all shows nothing.
  EXPECT_EQ(LayOutPreviewPaper(10, 10, 210, 297, 1.0, 0, 0).width, 0);
}

TEST(PreviewLayout, WheelStepsStayWithinTheLimitsAndComeBackExactly) {
  EXPECT_DOUBLE_EQ(StepPreviewZoom(1.0, 1), kPreviewZoomStep);
  EXPECT_DOUBLE_EQ(StepPreviewZoom(1.0, -3), kPreviewMinZoom);
  EXPECT_DOUBLE_EQ(StepPreviewZoom(StepPreviewZoom(1.0, 3), -3), 1.0);
  EXPECT_DOUBLE_EQ(StepPreviewZoom(1.0, 100), kPreviewMaxZoom);
  // The paper point under the pixel stays under it.
  const int32_t scroll = ScrollKeepingPoint(0, 108, 8, 1.0, 2.0);
  EXPECT_EQ(scroll, 100);
}

}  // namespace
