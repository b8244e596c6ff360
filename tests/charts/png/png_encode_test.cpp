#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "charts/images/image_errors.h"
#include "charts/png/png_codec.h"
#include "tests/charts/png/sample_picture.h"

namespace {

std::vector<uint8_t> Encode(const BitmapInfoHeader* dib, double gamma, uint8_t* error) {
  uint8_t* bytes = nullptr;
  size_t count = 0;
  if (!EncodePng(dib, &bytes, &count, gamma, error)) return {};
  std::vector<uint8_t> out(bytes, bytes + count);
  free(bytes);
  return out;
}

// The gAMA chunk's value (gamma times 100000), or -1 without one.
long GammaChunk(const std::vector<uint8_t>& png) {
  for (size_t i = 8; i + 12 <= png.size();) {
    uint32_t length = uint32_t(png[i]) << 24 | png[i + 1] << 16 | png[i + 2] << 8 | png[i + 3];
    if (memcmp(&png[i + 4], "gAMA", 4) == 0 && length == 4)
      return long(png[i + 8]) << 24 | png[i + 9] << 16 | png[i + 10] << 8 | png[i + 11];
    i += 12 + length;
  }
  return -1;
}

TEST(PngEncode, BottomUpAndTopDownGiveTheSameFileWhichDecodesToThePicture) {
  uint8_t error = 0;
  std::vector<uint8_t> fromBottomUp = Encode(MakeSampleDib(false).get(), 0.0, &error);
  ASSERT_FALSE(fromBottomUp.empty()) << int(error);
  EXPECT_EQ(fromBottomUp, Encode(MakeSampleDib(true).get(), 0.0, &error));
  EXPECT_EQ(GammaChunk(fromBottomUp), 45455);
  EXPECT_EQ(GammaChunk(Encode(MakeSampleDib(true).get(), 1.0, &error)), 100000);

  // The file's gamma is 1/2.2, so the decoder's 2.2 screen leaves pixels alone.
  BitmapInfoHeader* dib = DecodePng(fromBottomUp.data(), fromBottomUp.size(), false, 0, &error);
  ASSERT_NE(dib, nullptr) << int(error);
  EXPECT_EQ(dib->biBitCount, 24);
  const uint8_t* bits = reinterpret_cast<const uint8_t*>(dib) + 40;
  const uint32_t stride = (kSampleWidth * 3 + 3) & ~3u;
  for (int32_t y = 0; y < kSampleHeight; ++y) {
    for (int32_t x = 0; x < kSampleWidth; ++x) {
      SampleRgb want = SamplePixel(x, y);
      const uint8_t* got = bits + y * stride + x * 3;
      ASSERT_EQ((std::vector<int>{got[2], got[1], got[0]}), (std::vector<int>{want.r, want.g, want.b})) << x << "," << y;
    }
  }
  free(dib);
}

TEST(PngEncode, RefusesBitmapsThatAreNot24BitsWithTheWriteError) {
  SampleDibPtr dib = MakeSampleDib(true);
  for (int variant = 0; variant < 3; ++variant) {
    SampleDibPtr copy = MakeSampleDib(true);
    if (variant == 0) copy->biBitCount = 32;
    if (variant == 1) copy->biWidth = 0;
    if (variant == 2) copy->biHeight = INT32_MIN;
    uint8_t error = 0;
    EXPECT_TRUE(Encode(copy.get(), 0.0, &error).empty()) << variant;
    EXPECT_EQ(error, kImagePngWriteError) << variant;
  }
}

// ImageMagick decoded our encoder's file of the sample picture once
// (tests/golden/generate_png_imagemagick.py); its pixels must be the picture's.
TEST(PngEncode, AnIndependentDecoderReadsThePicture) {
  std::ifstream in(std::string(TALVERO_GOLDEN_DIR) + "/png_imagemagick.ppm");
  ASSERT_TRUE(in) << "golden file missing: " << TALVERO_GOLDEN_DIR;
  std::string magic;
  int width = 0, height = 0, maxValue = 0;
  in >> magic >> width >> height >> maxValue;
  ASSERT_EQ(magic, "P3");
  ASSERT_EQ(width, kSampleWidth);
  ASSERT_EQ(height, kSampleHeight);
  ASSERT_EQ(maxValue, 255);
  for (int32_t y = 0; y < kSampleHeight; ++y) {
    for (int32_t x = 0; x < kSampleWidth; ++x) {
      int r = -1, g = -1, b = -1;
      in >> r >> g >> b;
      SampleRgb want = SamplePixel(x, y);
      ASSERT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{want.r, want.g, want.b})) << x << "," << y;
    }
  }
}

}  // namespace
