#include "view/images/image_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "charts/png/png_codec.h"
#include "view/images/image_layout.h"

namespace {

bool EncodePngImage(const uint8_t* dib, double gamma, uint8_t** bytes, size_t* count, uint8_t* error) {
  return EncodePng(reinterpret_cast<const BitmapInfoHeader*>(dib), bytes, count, gamma, error);
}

bool FailingEncoder(const uint8_t*, double, uint8_t**, size_t*, uint8_t* error) {
  *error = 51;
  return false;
}

const ImageEncoders kPngOnly = {EncodePngImage, nullptr};
const ImageEncoders kFailingJpeg = {EncodePngImage, FailingEncoder};

// A 3 x 2 picture, rows from the top, each pixel a different colour.
std::vector<uint8_t> SmallPicture() {
  ImageLayout layout = {3, 2, 3, 2, 12, -2, 24, 64};
  std::vector<uint8_t> block(layout.blockBytes);
  WriteImageHeader(layout, block.data());
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      for (int c = 0; c < 3; ++c) block[40 + y * 12 + x * 3 + c] = static_cast<uint8_t>(40 * (y * 3 + x) + c);
  return block;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    int c;
    while ((c = std::fgetc(file)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(file);
  }
  return bytes;
}

class ImageFile : public ::testing::Test {
 protected:
  void SetUp() override { SetImageEncoders(&kPngOnly); }
  void TearDown() override {
    SetImageEncoders(nullptr);
    std::remove(path.c_str());
  }
  std::string path = ::testing::TempDir() + "talvero_image_file_test.img";
  std::vector<uint8_t> picture = SmallPicture();
};

TEST_F(ImageFile, APackedBitmapIsWrittenAsItIs) {
  uint8_t error = 0;
  ASSERT_TRUE(SaveImageFile(picture.data(), picture.size(), kImageFormatPackedDib, 0, path.c_str(), &error));
  EXPECT_EQ(ReadFile(path), picture);
}

TEST_F(ImageFile, APngDecodesToTheSamePixels) {
  uint8_t error = 0;
  ASSERT_TRUE(SaveImageFile(picture.data(), picture.size(), kImageFormatPng, 0, path.c_str(), &error));
  const std::vector<uint8_t> png = ReadFile(path);
  BitmapInfoHeader* decoded = DecodePng(png.data(), png.size(), false, 0, &error);
  ASSERT_NE(decoded, nullptr) << int(error);
  EXPECT_EQ(decoded->biWidth, 3);
  EXPECT_EQ(decoded->biHeight, -2);
  EXPECT_EQ(std::memcmp(reinterpret_cast<uint8_t*>(decoded) + 40, picture.data() + 40, 24), 0);
  std::free(decoded);
}

// Refusals leave no file behind, and a file that cannot take every byte is
// reported, never taken for saved.
TEST_F(ImageFile, RefusesFormatsWithoutAnEncoderAndFilesItCannotWrite) {
  struct Case {
    uint8_t format;
    const ImageEncoders* encoders;
    std::string target;
    uint8_t error;
  } cases[] = {
      {kImageFormatJpeg, &kPngOnly, path, kImageSaveUnsupportedFormat},
      {kImageFormatJpeg, &kFailingJpeg, path, kImageSaveUnsupportedFormat},
      {7, &kPngOnly, path, kImageSaveUnsupportedFormat},
      {kImageFormatPng, nullptr, path, kImageSaveUnsupportedFormat},
      {kImageFormatPng, &kPngOnly, ::testing::TempDir() + "no_such_folder/picture.png", kImageSaveCannotOpen},
#ifndef _WIN32
      {kImageFormatPackedDib, &kPngOnly, "/dev/full", kImageSaveWriteError},
#endif
  };
  for (const Case& c : cases) {
    SetImageEncoders(c.encoders);
    uint8_t error = 0;
    EXPECT_FALSE(SaveImageFile(picture.data(), picture.size(), c.format, 0, c.target.c_str(), &error))
        << int(c.format) << " " << c.target;
    EXPECT_EQ(error, c.error) << int(c.format) << " " << c.target;
    if (c.target == path) {
      EXPECT_EQ(std::fopen(path.c_str(), "rb"), nullptr);
    }
  }
}

}  // namespace
