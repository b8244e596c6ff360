#include "view/draw_context/rect_margins.h"

#include <gtest/gtest.h>

#include "view/draw_context/background_bands.h"

namespace {

TEST(RectMargins, ShrinkingCollapsesAnAxisWhoseMarginsDoNotFit) {
  struct Case {
    PixelRect rect;
    int32_t l, t, r, b;
    PixelRect shrunk;
  } cases[] = {
      {{0, 0, 100, 50}, 10, 5, 20, 5, {10, 5, 80, 45}},
      {{0, 0, 100, 50}, 50, 0, 50, 0, {50, 0, 50, 50}},  // the edges meet: zero width at that column
      {{0, 0, 100, 50}, 60, 30, 60, 30, {50, 25, 50, 25}},
      {{10, 10, 11, 11}, 1, 1, 1, 1, {10, 10, 10, 10}},
  };
  for (const Case& c : cases) {
    PixelRect r = c.rect;
    ShrinkRectByMargins(&r, c.l, c.t, c.r, c.b);
    EXPECT_EQ(r.left, c.shrunk.left);
    EXPECT_EQ(r.top, c.shrunk.top);
    EXPECT_EQ(r.right, c.shrunk.right);
    EXPECT_EQ(r.bottom, c.shrunk.bottom);
  }
  PixelRect r = {10, 10, 20, 20};
  InflateRectBy(&r, 1, 2, 3, 4);
  EXPECT_EQ(r.left, 9);
  EXPECT_EQ(r.top, 8);
  EXPECT_EQ(r.right, 23);
  EXPECT_EQ(r.bottom, 24);
}

TEST(BackgroundBands, BandsCoverEveryRowOnceInAboutFifteenSteps) {
  for (uint32_t lastRow : {0u, 1u, 13u, 14u, 29u, 299u, 1023u}) {
    uint32_t next = 0;
    int bands = 0;
    while (next <= lastRow) {
      const BackgroundBand band = BandFrom(next, lastRow);
      ASSERT_EQ(band.first, next);
      ASSERT_GE(band.last, band.first);
      ASSERT_LE(band.last, lastRow);
      next = band.last + 1;
      ++bands;
    }
    EXPECT_LE(bands, 15) << lastRow;
  }
}

}  // namespace
