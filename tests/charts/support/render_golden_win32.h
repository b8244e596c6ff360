#ifndef TALVERO_TESTS_CHARTS_SUPPORT_RENDER_GOLDEN_WIN32_H
#define TALVERO_TESTS_CHARTS_SUPPORT_RENDER_GOLDEN_WIN32_H

// Pictures drawn on a real device (a memory DIB) compared with the committed
// PNGs of tests/charts/golden/render. A pixel matches when the golden
// picture has its colour (each channel within kChannelTolerance) at the same
// place or one pixel away, since text may be rendered a pixel apart. A
// failing picture leaves itself and its differences (in red) as PNGs in the
// artefacts folder; TALVERO_UPDATE_GOLDEN=1 rewrites the goldens from what
// was drawn (look at them before committing). The test defines
// TALVERO_RENDER_GOLDEN_DIR.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "charts/images/packed_dib.h"
#include "charts/png/png_codec.h"
#include "tests/view/dib_canvas_win32.h"
#include "view/painting/draw_context_surface.h"

#ifndef TALVERO_RENDER_GOLDEN_DIR
#error "TALVERO_RENDER_GOLDEN_DIR names the folder of the rendering goldens"
#endif

namespace render_golden {

constexpr int kChannelTolerance = 16;

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

inline bool ReadFile(const std::string& path, std::vector<uint8_t>* bytes) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file)
    return false;
  uint8_t buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes->insert(bytes->end(), buffer, buffer + got);
  std::fclose(file);
  return true;
}

inline bool ReadPng(const std::string& path, Picture* picture) {
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

inline bool WritePng(const std::string& path, const Picture& picture) {
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

inline bool Near(uint32_t a, uint32_t b) {
  for (int shift = 0; shift <= 16; shift += 8)
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > kChannelTolerance)
      return false;
  return true;
}

// Whether the golden picture has the colour at (x, y) or one pixel away.
inline bool Matches(const Picture& golden, int x, int y, uint32_t colour) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const int gx = x + dx, gy = y + dy;
      if (gx >= 0 && gy >= 0 && gx < golden.width && gy < golden.height &&
          Near(golden.pixels[size_t(gy) * golden.width + gx], colour))
        return true;
    }
  return false;
}

inline std::string ArtefactPath(const std::string& name) {
  const char* folder = std::getenv("TALVERO_ARTIFACTS_DIR");
  return folder ? std::string(folder) + "/render-" + name : std::string();
}

inline void ExpectMatchesGolden(const std::string& name, const DibCanvas& canvas) {
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

}  // namespace render_golden

#endif
