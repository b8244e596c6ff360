// The rendering regression suite: the gallery's sample charts and four
// containers drawn on a real device (a memory DIB) and compared with the
// committed PNGs of tests/charts/golden/render (render_golden_win32.h tells
// how pictures match and how the goldens are rewritten).

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "charts/containers/container_painter.h"
#include "charts/gallery/sample_charts.h"
#include "charts/prepare/chart_prepare.h"
#include "core/model/chart_record.h"
#include "tests/charts/support/render_golden_win32.h"

namespace {

using namespace render_golden;

constexpr int kTile = 160;

// Every tile of a chart kind in rows of four, each chart drawn 4 pixels
// inside its white tile as the gallery draws it.
void RenderGallery(uint8_t kind, const char* name) {
  const int tiles = GalleryTileCount(kind);
  const int columns = tiles < 4 ? tiles : 4;
  DibCanvas canvas(columns * kTile, (tiles + 3) / 4 * kTile);
  {
    DeviceSurface device(canvas);
    for (int tile = 0; tile < tiles; ++tile) {
      SCOPED_TRACE(tile);
      ChartRecord chart(kind);
      ASSERT_TRUE(LoadGallerySample(chart, tile));
      const int left = tile % 4 * kTile;
      const int top = tile / 4 * kTile;
      const PixelRect slot = {left + 4, top + 4, left + kTile - 5, top + kTile - 5};
      ASSERT_TRUE(Prepare(chart, device.Surface(), slot, 100, 100));
      Draw(chart, slot, device.Surface());
    }
  }
  ExpectMatchesGolden(name, canvas);
}

TEST(ChartRendering, GallerySamples2D) { RenderGallery(kChart2D, "gallery_2d"); }
TEST(ChartRendering, GallerySamples3D) { RenderGallery(kChart3D, "gallery_3d"); }
TEST(ChartRendering, GallerySampleXY) { RenderGallery(kChartXY, "gallery_xy"); }

class ContainerRendering : public testing::Test {
 protected:
  void SetUp() override {
    box.Init();
    box.header.border = {1, 1, {}, RGB(0, 0, 160)};
    box.header.columns = 2;
    box.header.rows = 1;
    box.header.horizontalSpacing = 6;
    box.header.verticalSpacing = 6;
  }
  void AddChart(uint8_t kind, int tile) {
    ContainerItem& item = box.items[box.header.itemCount++];
    item.kind = kItemChart;
    item.chart = new ChartRecord(kind);
    ASSERT_TRUE(LoadGallerySample(*item.chart, tile));
  }
  void Render(const char* name, uint16_t zoom = 100) {
    DibCanvas canvas(360, 240);
    {
      DeviceSurface device(canvas);
      Draw(box, device.Surface(), {10, 10, 349, 229}, &images, zoom, zoom);
    }
    EXPECT_EQ(box.error, 0);
    ExpectMatchesGolden(name, canvas);
  }
  ContainerRecord box;
  ImageCache images;
};

TEST_F(ContainerRendering, PatternFill) {
  box.header.backgroundKind = kBackgroundPattern;
  box.header.fill = {5, 1, {}, RGB(0, 128, 0), 1, {}, RGB(230, 255, 230)};
  AddChart(kChart2D, 0);
  AddChart(kChart2D, 6);
  Render("container_pattern");
}

TEST_F(ContainerRendering, ImageBackground) {
  // A picture of four coloured quarters, written as a BMP file.
  const std::string path = std::filesystem::absolute("charts_render_background.bmp").string();
  const int w = 40, h = 30;
  const uint32_t stride = (w * 3 + 3) & ~3u;
  std::vector<uint8_t> file(54 + stride * h);
  const uint32_t size = static_cast<uint32_t>(file.size());
  const uint8_t head[54] = {'B', 'M', uint8_t(size), uint8_t(size >> 8), 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                            w, 0, 0, 0, h, 0, 0, 0, 1, 0, 24};
  std::memcpy(file.data(), head, sizeof head);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &file[54 + stride * y + x * 3];
      p[0] = x < w / 2 ? 220 : 40;
      p[1] = y < h / 2 ? 200 : 90;
      p[2] = 160;
    }
  std::FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  ASSERT_EQ(std::fwrite(file.data(), 1, file.size(), out), file.size());
  std::fclose(out);
  box.header.backgroundKind = kBackgroundImage;
  box.header.imageView = 1;  // stretched over the box
  std::strcpy(box.header.imageName, path.c_str());
  AddChart(kChartXY, 0);
  Render("container_image");
  EXPECT_EQ(images.error, 0);
  std::remove(path.c_str());
}

TEST_F(ContainerRendering, FractalAtOneAndAHalfTimes) {
  box.header.backgroundKind = kBackgroundFractal;
  AddChart(kChart3D, 0);
  Render("container_fractal", 150);
}

TEST_F(ContainerRendering, TitlesOverTheCharts) {
  box.header.backgroundKind = kBackgroundPattern;
  box.header.fill = {1, 1, {}, RGB(255, 255, 240), 1, {}, RGB(255, 255, 240)};
  std::strcpy(box.header.titleText, "&cQuarterly results");
  std::strcpy(box.header.subtitleText, "&lNorth&rSouth");
  box.header.titleFont.font.size = 14;
  box.header.titleFont.font.weight = kFontWeightBold;
  box.header.titleFont.colorSet = 1;
  box.header.titleFont.color = RGB(160, 0, 0);
  AddChart(kChart2D, 3);
  AddChart(kChart2D, 9);
  Render("container_titles");
}

}  // namespace
