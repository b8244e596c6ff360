#include "charts/containers/container_painter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "charts/containers/container_fractal.h"
#include "charts/gallery/sample_charts.h"
#include "charts/images/packed_dib.h"
#include "core/model/chart_record.h"
#include "tests/charts/support/chart_golden.h"
#include "tests/charts/support/display_list_surface.h"

namespace {

void SetText(char* field, const char* text) {
  std::memset(field, 0, kContainerTextSize);
  std::strncpy(field, text, kContainerTextSize - 1);
}

// A container with a solid yellow fill, a red border and no items.
void InitContainer(ContainerRecord& box) {
  box.Init();
  box.header.backgroundKind = kBackgroundPattern;
  box.header.fill = {1, 1, {}, 0x00FFFF, 1, {}, 0x00FFFF};
  box.header.border = {1, 1, {}, 0x0000FF};
}

void AddGalleryChart(ContainerRecord& box, uint8_t kind, int tile) {
  ContainerItem& item = box.items[box.header.itemCount++];
  item.kind = kItemChart;
  item.chart = new ChartRecord(kind);
  ASSERT_TRUE(LoadGallerySample(*item.chart, tile));
}

TEST(ContainerSlot, ChartsFillTheGridByRowsInWholePixels) {
  ContainerRecord box;
  box.header.columns = 3;
  box.header.rows = 2;
  box.header.horizontalSpacing = 0;
  box.header.verticalSpacing = 10;
  const PixelRect grid = {0, 0, 300, 199};  // 301 wide: cells of 100, the last column left over
  struct Case {
    int index;
    uint16_t zoom;
    bool inside;
    PixelRect slot;
  } cases[] = {
      {0, 100, true, {1, 10, 98, 89}},      // spacing 0 still leaves 1 pixel
      {2, 100, true, {201, 10, 298, 89}},
      {3, 100, true, {1, 110, 98, 189}},    // the fourth chart opens the second row
      {3, 50, true, {1, 105, 98, 194}},     // spacing 10 at 50 percent: 5
      {6, 100, false, {}},                  // no third row
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    PixelRect slot = {};
    ASSERT_EQ(ContainerSlot(box.header, grid, c.index, c.zoom, c.zoom, &slot), c.inside);
    if (!c.inside)
      continue;
    EXPECT_EQ(slot.left, c.slot.left);
    EXPECT_EQ(slot.top, c.slot.top);
    EXPECT_EQ(slot.right, c.slot.right);
    EXPECT_EQ(slot.bottom, c.slot.bottom);
  }
}

// Background, border, titles and two gallery charts side by side, as a
// display list.
TEST(ContainerPainter, PaintsBackgroundChartsAndTitlesInOrder) {
  ContainerRecord box;
  InitContainer(box);
  box.header.columns = 2;
  box.header.rows = 1;
  SetText(box.header.titleText, "&cSales");
  SetText(box.header.subtitleText, "&rby region");
  AddGalleryChart(box, kChart2D, 0);
  AddGalleryChart(box, kChartXY, 0);
  DisplayListSurface rec;
  Draw(box, rec.Surface(), {10, 20, 409, 219}, nullptr, 100, 100);
  EXPECT_EQ(box.error, 0);
  ExpectDisplayListGolden("container_two_charts", rec.Text());
}

TEST(ContainerPainter, BackgroundKindsDrawTheirOwnWay) {
  ContainerRecord box;
  InitContainer(box);
  box.header.verticalSpacing = 7;
  box.header.horizontalSpacing = 3;
  SetText(box.header.imageName, "missing.png");
  DisplayListSurface rec;
  const PixelRect rect = {0, 0, 99, 49};

  box.header.backgroundKind = kBackgroundNone;  // not even the border
  EXPECT_TRUE(DrawBackground(box, rec.Surface(), rect, nullptr, 100, 100));
  EXPECT_TRUE(rec.Lines().empty());

  box.header.backgroundKind = kBackgroundPattern;
  DrawBackground(box, rec.Surface(), rect, nullptr, 100, 100);
  EXPECT_EQ(rec.Of("framed-fill").size(), 1u);
  EXPECT_TRUE(rec.Of("line").empty());

  // A missing image: a window-coloured framed box with the name near its
  // corner (the spacings unscaled), then the border.
  rec.Clear();
  ImageCache cache;
  box.header.backgroundKind = kBackgroundImage;
  DrawBackground(box, rec.Surface(), rect, &cache, 200, 200);
  ASSERT_EQ(rec.Of("text").size(), 1u);
  EXPECT_NE(rec.Of("text")[0].find("text 7,3 "), std::string::npos);
  EXPECT_NE(rec.Of("text")[0].find("\"missing.png\""), std::string::npos);
  EXPECT_EQ(rec.Of("line").size(), 4u);
  EXPECT_NE(cache.error, 0);
  // Without a node from the cache the box has no name.
  rec.Clear();
  DrawBackground(box, rec.Surface(), rect, nullptr, 100, 100);
  EXPECT_TRUE(rec.Of("text").empty());
  EXPECT_EQ(rec.Of("framed-fill").size(), 1u);
}

// Rendered once, at the rectangle's own size whatever the zoom (band by band
// on the screen at 100 percent), and stretched at every later paint.
TEST(ContainerPainter, AFractalIsRenderedOnceAtTheRectanglesSize) {
  struct Case {
    uint16_t zoom;
    size_t bitmaps;  // drawn at the first paint
  } cases[] = {{100, 15}, {150, 1}, {600, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.zoom);
    ContainerRecord box;
    InitContainer(box);
    box.header.backgroundKind = kBackgroundFractal;
    DisplayListSurface rec;
    const PixelRect rect = {5, 5, 5 + 3 * c.zoom - 1, 5 + 2 * c.zoom - 1};
    DrawBackground(box, rec.Surface(), rect, nullptr, c.zoom, c.zoom);
    ASSERT_NE(box.fractalPicture, nullptr);
    BitmapInfoHeader h;
    std::memcpy(&h, box.fractalPicture, sizeof h);
    EXPECT_EQ(h.biWidth, 3 * c.zoom);
    EXPECT_EQ(h.biHeight, -2 * c.zoom);
    EXPECT_EQ(rec.Of("bitmap").size(), c.bitmaps);
    EXPECT_EQ(rec.Of("line").size(), 4u);  // the border after it
    rec.Clear();
    DrawBackground(box, rec.Surface(), {0, 0, 49, 49}, nullptr, 75, 75);
    ASSERT_EQ(rec.Of("bitmap").size(), 1u);
    EXPECT_NE(rec.Of("bitmap")[0].find("mode 1 "), std::string::npos);
  }
}

TEST(ContainerPainter, ASubtitleAloneTakesTheFirstEntrysPlace) {
  struct Case {
    const char* title;
    const char* subtitle;
    int runs;  // texts drawn
  } cases[] = {{"A", "", 1}, {"", "B", 0}, {"A", "B", 2}, {"", "", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.title) + "/" + c.subtitle);
    ContainerRecord box;
    InitContainer(box);
    SetText(box.header.titleText, c.title);
    SetText(box.header.subtitleText, c.subtitle);
    DisplayListSurface rec;
    PixelRect rect = {0, 0, 199, 99};
    DrawTitles(box, rec.Surface(), &rect, 100, 100, true);
    EXPECT_TRUE(rec.Of("text").empty());
    const int laidOut = rect.top;
    rect = {0, 0, 199, 99};
    DrawTitles(box, rec.Surface(), &rect, 100, 100, false);
    EXPECT_EQ(static_cast<int>(rec.Of("text").size()), c.runs);
    EXPECT_EQ(rect.top, laidOut);
    EXPECT_EQ(laidOut == 0, c.title[0] == '\0' && c.subtitle[0] == '\0');
  }
}

TEST(ContainerPainter, AChartThatCannotBePreparedLeavesItsCodeAndTheOthersDraw) {
  ContainerRecord box;
  InitContainer(box);
  box.header.columns = 2;
  AddGalleryChart(box, kChart2D, 0);
  ContainerItem& broken = box.items[box.header.itemCount++];
  broken.kind = kItemChart;
  broken.chart = new ChartRecord(kChart2D);
  broken.chart->error = 29;  // its data never loaded
  DisplayListSurface rec;
  Draw(box, rec.Surface(), {0, 0, 399, 199}, nullptr, 100, 100);
  EXPECT_EQ(box.error, 29);
  EXPECT_TRUE(box.items[0].chart->flags & kChartPrepared);
  // Drawing stays within the rectangle.
  EXPECT_EQ(rec.Lines().front(), "clip 0,0 399,199");
  EXPECT_EQ(rec.Lines().back(), "unclip");

  // With the program's texts at hand the broken chart says why in its slot.
  SetChartErrorText([](int code) { return code == 29 ? "Stacked series differ" : ""; });
  DisplayListSurface told;
  Draw(box, told.Surface(), {0, 0, 399, 199}, nullptr, 100, 100);
  SetChartErrorText(nullptr);
  std::string all;
  for (const std::string& line : told.Lines()) all += line + "\n";
  EXPECT_NE(all.find("Stacked series differ"), std::string::npos) << all;
}

TEST(FractalRenderSize, LargeRectanglesAreRenderedSmallerInTheirProportions) {
  EXPECT_EQ(FractalRenderSize(400, 300).width, 400u);
  const FractalSize print = FractalRenderSize(6000, 4000);  // a box at 600 percent
  EXPECT_LE(uint64_t{print.width} * print.height, kMaxFractalPixels);
  EXPECT_GT(uint64_t{print.width} * print.height, kMaxFractalPixels * 9 / 10);
  EXPECT_NEAR(double(print.width) / print.height, 1.5, 0.01);
  EXPECT_EQ(FractalRenderSize(100000000, 1).height, 1u);
}

}  // namespace
