#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "charts/images/image_errors.h"
#include "charts/jpeg/jpeg_codec.h"
#include "charts/jpeg/jpeg_library.h"
#include "tests/charts/png/sample_picture.h"

namespace {

struct FreeBlock {
  void operator()(void* p) const { std::free(p); }
};
using Block = std::unique_ptr<uint8_t, FreeBlock>;

// A smooth top-down picture, as charts and backgrounds are.
SampleDibPtr SmoothDib(int32_t width, int32_t height) {
  const uint32_t stride = (width * 3 + 3) & ~3u;
  auto* block = static_cast<uint8_t*>(std::calloc(1, sizeof(BitmapInfoHeader) + size_t{stride} * height));
  BitmapInfoHeader h{};
  h.biSize = sizeof h;
  h.biWidth = width;
  h.biHeight = -height;
  h.biPlanes = 1;
  h.biBitCount = 24;
  h.biSizeImage = stride * height;
  std::memcpy(block, &h, sizeof h);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      uint8_t* p = block + sizeof h + size_t{stride} * y + x * 3;
      p[0] = uint8_t(40 + 3 * x);
      p[1] = uint8_t(200 - 2 * y);
      p[2] = uint8_t(128 + 60 * std::sin(x / 9.0 + y / 13.0));
    }
  return SampleDibPtr(reinterpret_cast<BitmapInfoHeader*>(block));
}

std::vector<uint8_t> Encode(const BitmapInfoHeader* dib, int quality, uint8_t* error) {
  uint8_t* bytes = nullptr;
  size_t count = 0;
  *error = 0;
  if (!EncodeJpeg(dib, &bytes, &count, quality, error))
    return {};
  std::vector<uint8_t> out(bytes, bytes + count);
  std::free(bytes);
  return out;
}

Block Decode(const std::vector<uint8_t>& bytes, uint8_t* error) {
  *error = 0;
  return Block(DecodeJpeg(bytes.data(), bytes.size(), error));
}

BitmapInfoHeader HeaderOf(const Block& block) {
  BitmapInfoHeader h;
  std::memcpy(&h, block.get(), sizeof h);
  return h;
}

const uint8_t* Pixel(const uint8_t* block, int32_t x, int32_t y) {
  BitmapInfoHeader h;
  std::memcpy(&h, block, sizeof h);
  const uint32_t stride = (h.biWidth * (h.biBitCount / 8) + 3) & ~3u;
  return block + sizeof h + size_t{stride} * y + x * (h.biBitCount / 8);
}

// A JPEG written straight through libjpeg: components of the given colour
// space, every pixel the same values.
std::vector<uint8_t> FlatJpeg(int components, J_COLOR_SPACE space, const uint8_t* values, int size) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  jpeg_mem_dest(&info, &out, &outSize);
  info.image_width = size;
  info.image_height = size;
  info.input_components = components;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  jpeg_set_colorspace(&info, space);
  jpeg_set_quality(&info, 100, TRUE);
  for (int c = 0; c < info.num_components; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(size_t(size) * components);
  for (int x = 0; x < size; ++x) std::memcpy(&row[size_t(x) * components], values, components);
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(out, out + outSize);
  std::free(out);
  return bytes;
}

TEST(JpegCodec, RoundTripKeepsASmoothPictureAbove30Decibels) {
  SampleDibPtr dib = SmoothDib(96, 64);
  uint8_t error = 0;
  const std::vector<uint8_t> bytes = Encode(dib.get(), 75, &error);
  ASSERT_FALSE(bytes.empty()) << int(error);
  Block decoded = Decode(bytes, &error);
  ASSERT_TRUE(decoded) << int(error);
  const BitmapInfoHeader h = HeaderOf(decoded);
  EXPECT_EQ(h.biWidth, 96);
  EXPECT_EQ(h.biHeight, -64);
  EXPECT_EQ(h.biBitCount, 24);
  EXPECT_EQ(h.biSizeImage, 96u * 3 * 64);
  double squares = 0;
  for (int32_t y = 0; y < 64; ++y)
    for (int32_t x = 0; x < 96; ++x)
      for (int c = 0; c < 3; ++c) {
        const double d = Pixel(decoded.get(), x, y)[c] - Pixel(reinterpret_cast<uint8_t*>(dib.get()), x, y)[c];
        squares += d * d;
      }
  const double psnr = 10 * std::log10(255.0 * 255.0 / (squares / (96 * 64 * 3)));
  EXPECT_GE(psnr, 30.0);
}

TEST(JpegCodec, QualityZeroIsSeventyFiveAndRowOrderDoesNotTurnThePicture) {
  SampleDibPtr topDown = MakeSampleDib(true);
  SampleDibPtr bottomUp = MakeSampleDib(false);
  uint8_t error = 0;
  const std::vector<uint8_t> standard = Encode(topDown.get(), 75, &error);
  ASSERT_FALSE(standard.empty());
  EXPECT_EQ(Encode(topDown.get(), 0, &error), standard);
  EXPECT_EQ(Encode(bottomUp.get(), 75, &error), standard);
  EXPECT_NE(Encode(topDown.get(), 30, &error), standard);
}

TEST(JpegCodec, PicturesWhoseJpegOutgrowsTheirPixelsEncode) {
  // One pixel; and noise at the highest quality, both larger as JPEG than raw.
  SampleDibPtr one = SmoothDib(1, 1);
  SampleDibPtr noise = SmoothDib(16, 16);
  uint8_t* pixels = reinterpret_cast<uint8_t*>(noise.get()) + sizeof(BitmapInfoHeader);
  uint32_t state = 12345;
  for (uint32_t i = 0; i < noise->biSizeImage; ++i) {
    state = state * 1103515245u + 12345u;
    pixels[i] = uint8_t(state >> 24);
  }
  for (const BitmapInfoHeader* dib : {one.get(), noise.get()}) {
    uint8_t error = 0;
    const std::vector<uint8_t> bytes = Encode(dib, 100, &error);
    ASSERT_FALSE(bytes.empty()) << int(error);
    EXPECT_GT(bytes.size(), sizeof(BitmapInfoHeader) + dib->biSizeImage);
    Block decoded = Decode(bytes, &error);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(HeaderOf(decoded).biWidth, dib->biWidth);
  }
}

TEST(JpegCodec, ChannelCountsBecomeTheirBitmaps) {
  const uint8_t grey[1] = {90};
  uint8_t error = 0;
  Block g = Decode(FlatJpeg(1, JCS_GRAYSCALE, grey, 8), &error);
  ASSERT_TRUE(g);
  EXPECT_EQ(HeaderOf(g).biBitCount, 24);
  const uint8_t* p = Pixel(g.get(), 3, 3);
  EXPECT_NEAR(p[0], 90, 1);
  EXPECT_EQ(p[0], p[1]);
  EXPECT_EQ(p[1], p[2]);

  // Four channels: red, green, blue and alpha, premultiplied into
  // blue-green-red-alpha.
  struct Case {
    uint8_t rgba[4];
    uint8_t bgra[4];
  } cases[] = {{{200, 100, 50, 255}, {50, 100, 200, 255}}, {{200, 100, 50, 0}, {0, 0, 0, 0}},
               {{200, 100, 50, 128}, {25, 50, 100, 128}}};
  for (const Case& c : cases) {
    Block four = Decode(FlatJpeg(4, JCS_CMYK, c.rgba, 8), &error);
    ASSERT_TRUE(four) << int(error);
    EXPECT_EQ(HeaderOf(four).biBitCount, 32);
    const uint8_t* q = Pixel(four.get(), 5, 2);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(q[i], c.bgra[i], 2) << i;
  }

  const uint8_t two[2] = {10, 20};
  EXPECT_FALSE(Decode(FlatJpeg(2, JCS_UNKNOWN, two, 8), &error));
  EXPECT_EQ(error, kImageJpegChannels);
}

TEST(JpegCodec, DataThatIsNoJpegFailsWithTheReadError) {
  SampleDibPtr dib = MakeSampleDib(true);
  uint8_t error = 0;
  const std::vector<uint8_t> bytes = Encode(dib.get(), 75, &error);
  const std::vector<std::vector<uint8_t>> cases = {
      {'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'},
      std::vector<uint8_t>(bytes.begin(), bytes.begin() + 20),  // cut inside its header
  };
  for (const std::vector<uint8_t>& c : cases) {
    EXPECT_FALSE(Decode(c, &error));
    EXPECT_EQ(error, kImageJpegReadError);
  }
}

TEST(JpegCodec, AJpegLargerThanAnyPictureIsRefusedBeforeItsPixels) {
  SampleDibPtr dib = MakeSampleDib(true);
  uint8_t error = 0;
  std::vector<uint8_t> bytes = Encode(dib.get(), 75, &error);
  size_t frame = 0;
  while (frame + 8 < bytes.size() && !(bytes[frame] == 0xFF && bytes[frame + 1] == 0xC0)) ++frame;
  ASSERT_LT(frame + 8, bytes.size()) << "no baseline frame header";
  for (size_t at : {frame + 5, frame + 7}) {  // height and width, big-endian
    bytes[at] = 0xF0;
    bytes[at + 1] = 0x00;
  }
  EXPECT_FALSE(Decode(bytes, &error));
  EXPECT_EQ(error, kImageOutOfMemory);
}

TEST(JpegCodec, ALibraryWithoutAnEntryPointFailsEveryCallWith48) {
  JpegEntryPoints lacking = BuiltInJpegLibrary();
  lacking.ijlGetLibVersion = nullptr;
  SetJpegLibraryForTesting(&lacking);
  SampleDibPtr dib = MakeSampleDib(true);
  uint8_t error = 0;
  EXPECT_TRUE(Encode(dib.get(), 75, &error).empty());
  EXPECT_EQ(error, kImageJpegNoLibrary);
  EXPECT_FALSE(Decode({0xFF, 0xD8, 0xFF}, &error));
  EXPECT_EQ(error, kImageJpegNoLibrary);
  SetJpegLibraryForTesting(nullptr);
  EXPECT_STRNE(BuiltInJpegLibrary().ijlGetLibVersion(), "");
}

TEST(PremultiplyAlpha, ScalesEachChannelByAlphaRounded) {
  struct Case {
    uint8_t value;
    uint8_t alpha;
    uint8_t scaled;
  } cases[] = {{255, 255, 255}, {200, 255, 200}, {255, 0, 0}, {128, 128, 64}, {1, 128, 1}, {255, 1, 1}};
  for (const Case& c : cases) {
    uint8_t pixel[4] = {c.value, 0, 0, c.alpha};  // red, green, blue, alpha
    PremultiplyAlpha(pixel, 1, 1);
    EXPECT_EQ(pixel[2], c.scaled) << int(c.value) << " at " << int(c.alpha);
    EXPECT_EQ(pixel[3], c.alpha);
  }
}

// ImageMagick decoded our encoder's file of the sample picture once
// (tests/golden/generate_jpeg_imagemagick.py); our decoder must read our
// file as it did, give or take the rounding of another build's transforms.
TEST(JpegCodec, AnIndependentDecoderReadsOurFileAsWeDo) {
  std::ifstream in(std::string(TALVERO_GOLDEN_DIR) + "/jpeg_imagemagick.ppm");
  ASSERT_TRUE(in) << "golden file missing: " << TALVERO_GOLDEN_DIR;
  std::string magic;
  int width = 0, height = 0, maxValue = 0;
  in >> magic >> width >> height >> maxValue;
  ASSERT_EQ(magic, "P3");
  ASSERT_EQ(width, kSampleWidth);
  ASSERT_EQ(height, kSampleHeight);
  SampleDibPtr dib = MakeSampleDib(true);
  uint8_t error = 0;
  Block decoded = Decode(Encode(dib.get(), 0, &error), &error);
  ASSERT_TRUE(decoded);
  int worst = 0;
  for (int32_t y = 0; y < kSampleHeight; ++y)
    for (int32_t x = 0; x < kSampleWidth; ++x) {
      int rgb[3] = {-1, -1, -1};
      in >> rgb[0] >> rgb[1] >> rgb[2];
      const uint8_t* p = Pixel(decoded.get(), x, y);
      for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(rgb[c] - p[2 - c]));
    }
  EXPECT_LE(worst, 2);
}

}  // namespace
