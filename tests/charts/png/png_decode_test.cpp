#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "charts/images/image_errors.h"
#include "charts/png/png_codec.h"
#include "tests/charts/png/test_png_writer.h"
#include "tests/test_seed.h"

namespace {

struct FreeBlock {
  void operator()(void* p) const { free(p); }
};
using DibPtr = std::unique_ptr<BitmapInfoHeader, FreeBlock>;

DibPtr Decode(const std::vector<uint8_t>& bytes, bool keepAlpha, uint32_t background, uint8_t* error) {
  return DibPtr(DecodePng(bytes.data(), bytes.size(), keepAlpha, background, error));
}

struct Bgra {
  int b, g, r, a;
};

int To8(uint16_t v, int depth) { return depth == 16 ? v >> 8 : depth == 8 ? v : v * 255 / ((1 << depth) - 1); }

// The colour of a pixel as the decoder promises it: 8-bit channels, grey
// widened, palette looked up, tRNS turned into alpha, gamma to a 2.2 screen,
// then, without keepAlpha, laid over the file's or the caller's background.
Bgra ExpectedPixel(const TestPngSpec& spec, uint32_t x, uint32_t y, bool keepAlpha, uint32_t given, bool* hasAlpha) {
  int n = SamplesPerPixel(spec.colorType);
  const uint16_t* s = &spec.samples[(size_t{y} * spec.width + x) * n];
  int d = spec.bitDepth;
  Bgra p{0, 0, 0, 255};
  *hasAlpha = false;
  switch (spec.colorType) {
    case PNG_COLOR_TYPE_PALETTE:
      p = Bgra{spec.palette[s[0]].blue, spec.palette[s[0]].green, spec.palette[s[0]].red, 255};
      *hasAlpha = !spec.paletteAlpha.empty();
      if (s[0] < spec.paletteAlpha.size()) p.a = spec.paletteAlpha[s[0]];
      break;
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      p.b = p.g = p.r = To8(s[0], d);
      *hasAlpha = n == 2 || spec.hasTransparentColor;
      if (n == 2) p.a = To8(s[1], d);
      if (spec.hasTransparentColor && s[0] == spec.transparentColor.gray) p.a = 0;
      break;
    default:
      p = Bgra{To8(s[2], d), To8(s[1], d), To8(s[0], d), n == 4 ? To8(s[3], d) : 255};
      *hasAlpha = n == 4 || spec.hasTransparentColor;
      if (spec.hasTransparentColor && s[0] == spec.transparentColor.red && s[1] == spec.transparentColor.green &&
          s[2] == spec.transparentColor.blue)
        p.a = 0;
  }
  if (spec.gamma != 0.0) {
    for (int* c : {&p.b, &p.g, &p.r}) *c = static_cast<int>(std::lround(255 * std::pow(*c / 255.0, 1 / (2.2 * spec.gamma))));
  }
  if (keepAlpha || !*hasAlpha) return p;
  Bgra bg{static_cast<int>((given >> 16) & 0xff), static_cast<int>((given >> 8) & 0xff), static_cast<int>(given & 0xff), 255};
  if (spec.hasBackground) {
    const png_color_16& k = spec.background;
    if (spec.colorType == PNG_COLOR_TYPE_PALETTE) {
      bg = Bgra{spec.palette[k.index].blue, spec.palette[k.index].green, spec.palette[k.index].red, 255};
    } else if (spec.colorType & PNG_COLOR_MASK_COLOR) {
      bg = Bgra{To8(k.blue, d), To8(k.green, d), To8(k.red, d), 255};
    } else {
      bg.b = bg.g = bg.r = To8(k.gray, d);
    }
  }
  auto over = [&](int c, int b) { return (c * p.a + b * (255 - p.a) + 127) / 255; };
  return Bgra{over(p.b, bg.b), over(p.g, bg.g), over(p.r, bg.r), 255};
}

struct DecodeCase {
  const char* name;
  int colorType;
  int bitDepth;
  bool interlaced;
  bool transparency;  // a tRNS chunk
  bool background;    // a bKGD chunk
  double gamma;       // a gAMA chunk unless 0
  uint32_t width;
};

TestPngSpec MakeSpec(const DecodeCase& c, std::mt19937& random) {
  TestPngSpec spec{c.colorType, c.bitDepth, c.interlaced, c.width, 5, {}, {}, {}};
  int maxSample = (1 << c.bitDepth) - 1;
  if (c.colorType == PNG_COLOR_TYPE_PALETTE) {
    spec.palette.resize(std::min(maxSample + 1, 256));
    for (png_color& e : spec.palette) e = png_color{png_byte(random()), png_byte(random()), png_byte(random())};
    if (c.transparency) {
      spec.paletteAlpha.resize((spec.palette.size() + 1) / 2);
      for (png_byte& a : spec.paletteAlpha) a = png_byte(random());
      spec.paletteAlpha[0] = 0;
    }
  }
  uint32_t count = spec.width * spec.height * SamplesPerPixel(c.colorType);
  for (uint32_t i = 0; i < count; ++i) {
    uint16_t v = static_cast<uint16_t>(random() % (maxSample + 1));
    // A few fully transparent and fully opaque alpha samples among the random ones.
    if (i % 7 == 0) v = (i % 14 == 0) ? 0 : maxSample;
    spec.samples.push_back(v);
  }
  if (c.transparency && c.colorType != PNG_COLOR_TYPE_PALETTE) {
    spec.hasTransparentColor = true;
    const uint16_t* first = spec.samples.data();
    if (c.colorType == PNG_COLOR_TYPE_GRAY) {
      spec.transparentColor.gray = first[0];
    } else {
      spec.transparentColor.red = first[0];
      spec.transparentColor.green = first[1];
      spec.transparentColor.blue = first[2];
    }
  }
  if (c.background) {
    spec.hasBackground = true;
    uint16_t level = c.bitDepth == 16 ? 0x4141 : static_cast<uint16_t>(maxSample / 3);
    spec.background = png_color_16{1, level, static_cast<uint16_t>(maxSample - level), level, level};
  }
  spec.gamma = c.gamma;
  return spec;
}

const DecodeCase kDecodeCases[] = {
    {"grey 1-bit", PNG_COLOR_TYPE_GRAY, 1, false, false, false, 0, 9},
    {"grey 2-bit interlaced", PNG_COLOR_TYPE_GRAY, 2, true, false, false, 0, 7},
    {"grey 4-bit", PNG_COLOR_TYPE_GRAY, 4, false, false, false, 0, 7},
    {"grey 8-bit one pixel wide", PNG_COLOR_TYPE_GRAY, 8, false, false, false, 0, 1},
    {"grey 16-bit interlaced", PNG_COLOR_TYPE_GRAY, 16, true, false, false, 0, 6},
    {"grey 4-bit tRNS", PNG_COLOR_TYPE_GRAY, 4, false, true, false, 0, 7},
    {"grey 16-bit tRNS bKGD", PNG_COLOR_TYPE_GRAY, 16, false, true, true, 0, 7},
    {"grey-alpha 8-bit", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, false, false, 0, 7},
    {"grey-alpha 16-bit interlaced", PNG_COLOR_TYPE_GRAY_ALPHA, 16, true, false, false, 0, 5},
    {"RGB 8-bit", PNG_COLOR_TYPE_RGB, 8, false, false, false, 0, 7},
    {"RGB 16-bit interlaced", PNG_COLOR_TYPE_RGB, 16, true, false, false, 0, 7},
    {"RGB 8-bit tRNS", PNG_COLOR_TYPE_RGB, 8, false, true, false, 0, 6},
    {"RGB 8-bit gAMA 1/2.2", PNG_COLOR_TYPE_RGB, 8, false, false, false, 1 / 2.2, 7},
    {"RGB 8-bit gAMA 1/1.6", PNG_COLOR_TYPE_RGB, 8, true, false, false, 1 / 1.6, 7},
    {"RGBA 8-bit", PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false, false, 0, 7},
    {"RGBA 8-bit bKGD interlaced", PNG_COLOR_TYPE_RGB_ALPHA, 8, true, false, true, 0, 7},
    {"RGBA 16-bit", PNG_COLOR_TYPE_RGB_ALPHA, 16, false, false, false, 0, 3},
    {"RGBA 16-bit bKGD", PNG_COLOR_TYPE_RGB_ALPHA, 16, false, false, true, 0, 3},
    {"palette 1-bit", PNG_COLOR_TYPE_PALETTE, 1, false, false, false, 0, 11},
    {"palette 2-bit interlaced", PNG_COLOR_TYPE_PALETTE, 2, true, false, false, 0, 7},
    {"palette 4-bit tRNS", PNG_COLOR_TYPE_PALETTE, 4, false, true, false, 0, 7},
    {"palette 8-bit tRNS bKGD interlaced", PNG_COLOR_TYPE_PALETTE, 8, true, true, true, 0, 7},
};

TEST(PngDecode, PixelsFollowTheTransformsForEveryKindOfImage) {
  const uint32_t seed = TestSeed(20261207u);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const uint32_t window = 0x00c0d0e0;
  for (const DecodeCase& c : kDecodeCases) {
    TestPngSpec spec = MakeSpec(c, random);
    std::vector<uint8_t> bytes = WriteTestPng(spec);
    ASSERT_FALSE(bytes.empty()) << c.name;
    for (bool keepAlpha : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (keepAlpha ? ", alpha kept" : ", composited"));
      uint8_t error = 0xff;
      DibPtr dib = Decode(bytes, keepAlpha, window, &error);
      ASSERT_TRUE(dib) << int(error);
      EXPECT_EQ(error, kImageNoError);
      bool hasAlpha = false;
      ExpectedPixel(spec, 0, 0, keepAlpha, window, &hasAlpha);
      int channels = keepAlpha && hasAlpha ? 4 : 3;
      uint32_t stride = (spec.width * channels + 3) & ~3u;
      EXPECT_EQ(dib->biSize, 40u);
      EXPECT_EQ(dib->biWidth, int32_t(spec.width));
      EXPECT_EQ(dib->biHeight, -int32_t(spec.height));
      EXPECT_EQ(dib->biPlanes, 1);
      EXPECT_EQ(dib->biBitCount, channels * 8);
      EXPECT_EQ(dib->biSizeImage, stride * spec.height);
      // Gamma and blending round through libpng's tables: one step either way.
      int tolerance = (spec.gamma != 0.0 || (hasAlpha && !keepAlpha)) ? 1 : 0;
      const uint8_t* bits = reinterpret_cast<const uint8_t*>(dib.get()) + 40;
      for (uint32_t y = 0; y < spec.height; ++y) {
        for (uint32_t x = 0; x < spec.width; ++x) {
          Bgra want = ExpectedPixel(spec, x, y, keepAlpha, window, &hasAlpha);
          const uint8_t* got = bits + y * stride + x * channels;
          ASSERT_NEAR(got[0], want.b, tolerance) << "blue at " << x << "," << y;
          ASSERT_NEAR(got[1], want.g, tolerance) << "green at " << x << "," << y;
          ASSERT_NEAR(got[2], want.r, tolerance) << "red at " << x << "," << y;
          if (channels == 4) {
            ASSERT_EQ(got[3], want.a) << "alpha at " << x << "," << y;
          }
        }
      }
    }
  }
}

std::vector<uint8_t> SmallRgbPng() {
  TestPngSpec spec{PNG_COLOR_TYPE_RGB, 8, false, 4, 3, {}, {}, {}};
  for (int i = 0; i < 4 * 3 * 3; ++i) spec.samples.push_back(static_cast<uint16_t>(i * 7));
  return WriteTestPng(spec);
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  auto be32 = [&](uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
  };
  be32(static_cast<uint32_t>(data.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  be32(static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

// A file that claims the given size and holds only a token of image data.
std::vector<uint8_t> ClaimedSizePng(uint32_t width, uint32_t height, uint8_t colorType) {
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  std::vector<uint8_t> ihdr = {uint8_t(width >> 24), uint8_t(width >> 16), uint8_t(width >> 8), uint8_t(width),
                               uint8_t(height >> 24), uint8_t(height >> 16), uint8_t(height >> 8), uint8_t(height),
                               8, colorType, 0, 0, 0};
  PutChunk(out, "IHDR", ihdr);
  PutChunk(out, "IDAT", {0x78, 0x9c, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
  PutChunk(out, "IEND", {});
  return out;
}

TEST(PngDecode, DamagedOrShortDataGivesTheReadErrorAndNoPicture) {
  const std::vector<uint8_t> good = SmallRgbPng();
  uint8_t error = 0;
  ASSERT_TRUE(Decode(good, false, 0, &error));

  std::vector<std::pair<std::string, std::vector<uint8_t>>> bad;
  for (size_t n : {size_t{0}, size_t{1}, size_t{7}}) bad.emplace_back("first " + std::to_string(n) + " bytes", std::vector<uint8_t>(good.begin(), good.begin() + n));
  for (size_t n : {size_t{8}, size_t{20}, size_t{33}, good.size() / 2, good.size() - 13}) bad.emplace_back("cut after " + std::to_string(n), std::vector<uint8_t>(good.begin(), good.begin() + n));
  std::vector<uint8_t> notPng = good;
  notPng[1] = 'Q';
  bad.emplace_back("not a signature", notPng);
  std::vector<uint8_t> headerCrc = good;
  headerCrc[8 + 8 + 13] ^= 0x01;  // the IHDR chunk's CRC
  bad.emplace_back("IHDR CRC", headerCrc);
  std::vector<uint8_t> dataCrc = good;
  dataCrc[good.size() - 12 - 1] ^= 0x80;  // the last IDAT's CRC, just before IEND
  bad.emplace_back("IDAT CRC", dataCrc);
  // Pictures whose block could not be addressed are refused before anything
  // is allocated (a sanitizer build would report such an allocation).
  bad.emplace_back("a million squared", ClaimedSizePng(1000000, 1000000, 6));
  bad.emplace_back("just over 2 GiB", ClaimedSizePng(100000, 7200, 2));

  for (const auto& [name, bytes] : bad) {
    for (bool keepAlpha : {false, true}) {
      error = 0;
      EXPECT_FALSE(Decode(bytes, keepAlpha, 0, &error)) << name;
      EXPECT_EQ(error, kImagePngReadError) << name;
    }
  }
}

TEST(PngDecode, ReportsTheVersionOfTheLinkedLibrary) {
  EXPECT_STREQ(PngLibraryVersion(), PNG_LIBPNG_VER_STRING);
}

}  // namespace
