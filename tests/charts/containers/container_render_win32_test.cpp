// The rendering regression suite: the gallery's sample charts and four
// containers drawn on a real device (a memory DIB) and compared with the
// committed PNGs of tests/charts/golden/render. A pixel matches when the
// golden picture has its colour (each channel within kChannelTolerance) at
// the same place or one pixel away, since text may be rendered a pixel
// apart. A failing picture leaves itself and its differences (in red) as
// PNGs in the artefacts folder; TALVERO_UPDATE_GOLDEN=1 rewrites the goldens
// from what was drawn (look at them before committing).

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "charts/containers/container_painter.h"
#include "charts/gallery/sample_charts.h"
#include "charts/png/png_codec.h"
#include "charts/prepare/chart_prepare.h"
#include "core/model/chart_record.h"
#include "tests/view/dib_canvas_win32.h"
#include "view/painting/draw_context_surface.h"

#ifndef TALVERO_RENDER_GOLDEN_DIR
#error "TALVERO_RENDER_GOLDEN_DIR names the folder of the rendering goldens"
#endif

namespace {

constexpr int kChannelTolerance = 16;
constexpr int kTile = 160;

struct FreeBlock {
  void operator()(void* p) const { std::free(p); }
};
using Block = std::unique_ptr<uint8_t, FreeBlock>;

// 0x00RRGGBB pixels, rows from the top.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

bool ReadFile(const std::string& path, std::vector<uint8_t>* bytes) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file)
    return false;
  uint8_t buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes->insert(bytes->end(), buffer, buffer + got);
  std::fclose(file);
  return true;
}

bool ReadPng(const std::string& path, Picture* picture) {
  std::vector<uint8_t> bytes;
  uint8_t error = 0;
  if (!ReadFile(path, &bytes))
    return false;
  Block dib(reinterpret_cast<uint8_t*>(DecodePng(bytes.data(), bytes.size(), false, 0xFFFFFF, &error)));
  if (!dib)
    return false;
  BitmapInfoHeader h;
  std::memcpy(&h, dib.get(), sizeof h);
  picture->width = h.biWidth;
  picture->height = -h.biHeight;
  const size_t stride = DibRowStride(size_t(h.biWidth) * 3);
  for (int y = 0; y < picture->height; ++y)
    for (int x = 0; x < picture->width; ++x) {
      const uint8_t* p = dib.get() + sizeof h + stride * y + x * 3;
      picture->pixels.push_back(uint32_t(p[2]) << 16 | p[1] << 8 | p[0]);
    }
  return true;
}

bool WritePng(const std::string& path, const Picture& picture) {
  const size_t stride = DibRowStride(size_t(picture.width) * 3);
  std::vector<uint8_t> block(sizeof(BitmapInfoHeader) + stride * picture.height);
  BitmapInfoHeader h{};
  h.biSize = sizeof h;
  h.biWidth = picture.width;
  h.biHeight = -picture.height;
  h.biPlanes = 1;
  h.biBitCount = 24;
  h.biSizeImage = static_cast<uint32_t>(stride * picture.height);
  std::memcpy(block.data(), &h, sizeof h);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      const uint32_t c = picture.pixels[size_t(y) * picture.width + x];
      uint8_t* p = block.data() + sizeof h + stride * y + x * 3;
      p[0] = uint8_t(c);
      p[1] = uint8_t(c >> 8);
      p[2] = uint8_t(c >> 16);
    }
  uint8_t* bytes = nullptr;
  size_t count = 0;
  uint8_t error = 0;
  if (!EncodePng(reinterpret_cast<BitmapInfoHeader*>(block.data()), &bytes, &count, 0.0, &error))
    return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  bool written = file && std::fwrite(bytes, 1, count, file) == count;
  if (file)
    written = std::fclose(file) == 0 && written;
  std::free(bytes);
  return written;
}

bool Near(uint32_t a, uint32_t b) {
  for (int shift = 0; shift <= 16; shift += 8)
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > kChannelTolerance)
      return false;
  return true;
}

// Whether the golden picture has the colour at (x, y) or one pixel away.
bool Matches(const Picture& golden, int x, int y, uint32_t colour) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const int gx = x + dx, gy = y + dy;
      if (gx >= 0 && gy >= 0 && gx < golden.width && gy < golden.height &&
          Near(golden.pixels[size_t(gy) * golden.width + gx], colour))
        return true;
    }
  return false;
}

std::string ArtefactPath(const std::string& name) {
  const char* folder = std::getenv("TALVERO_ARTIFACTS_DIR");
  return folder ? std::string(folder) + "/render-" + name : std::string();
}

void ExpectMatchesGolden(const std::string& name, const DibCanvas& canvas) {
  Picture drawn{canvas.width(), canvas.height(), canvas.Pixels()};
  const std::string goldenPath = std::string(TALVERO_RENDER_GOLDEN_DIR) + "/" + name + ".png";
  const char* update = std::getenv("TALVERO_UPDATE_GOLDEN");
  if (update && *update && *update != '0') {
    ASSERT_TRUE(WritePng(goldenPath, drawn)) << "cannot write " << goldenPath;
    return;
  }
  Picture golden;
  ASSERT_TRUE(ReadPng(goldenPath, &golden)) << "no golden " << goldenPath << " (TALVERO_UPDATE_GOLDEN=1 writes it)";
  ASSERT_EQ(golden.width, drawn.width);
  ASSERT_EQ(golden.height, drawn.height);
  Picture differences = drawn;
  int differing = 0;
  for (int y = 0; y < drawn.height; ++y)
    for (int x = 0; x < drawn.width; ++x) {
      uint32_t& d = differences.pixels[size_t(y) * drawn.width + x];
      if (Matches(golden, x, y, d)) {
        d = 0xFFFFFF - ((0xFFFFFF - d) >> 2 & 0x3F3F3F);  // faded
      } else {
        d = 0xFF0000;
        ++differing;
      }
    }
  if (differing > 0 && !ArtefactPath(name).empty()) {
    WritePng(ArtefactPath(name) + ".png", drawn);
    WritePng(ArtefactPath(name) + "-differences.png", differences);
  }
  EXPECT_EQ(differing, 0) << name << ": " << differing << " pixels differ (see " << ArtefactPath(name)
                          << "-differences.png)";
}

// Draws on the canvas's device through the painters' surface.
class DeviceSurface {
 public:
  explicit DeviceSurface(const DibCanvas& canvas) { context_.AttachDC(canvas.dc()); }
  ~DeviceSurface() { context_.RestoreObjects(); }
  const PaintSurface& Surface() { return surface_.Surface(); }

 private:
  DrawContext context_;
  DrawContextSurface surface_{&context_};
};

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
