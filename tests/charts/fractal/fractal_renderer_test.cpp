#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "charts/fractal/fractal_renderer.h"
#include "charts/images/image_errors.h"
#include "charts/images/packed_dib.h"

namespace {

struct Picture {
  uint8_t* block = nullptr;
  ~Picture() { std::free(block); }
  BitmapInfoHeader Header() const {
    BitmapInfoHeader h;
    std::memcpy(&h, block, sizeof h);
    return h;
  }
  // 0x00BBGGRR of the pixel.
  uint32_t At(uint32_t x, uint32_t y) const {
    const BitmapInfoHeader h = Header();
    const uint8_t* p = block + sizeof h + DibRowStride(uint64_t(h.biWidth) * 3) * y + x * 3;
    return p[0] << 16 | p[1] << 8 | p[2];
  }
};

void Colours(uint32_t (&colours)[kPaletteSize]) {
  for (int k = 0; k < kPaletteSize; ++k) colours[k] = kProgramPalette[k];
  colours[0] = 0xC8A080;  // every channel darkened stays above 0
}

FractalParameters Plane(double zr, double zi, double minX, double maxX, double minY, double maxY) {
  return {zr, zi, minX, maxX, minY, maxY};
}

TEST(FractalPalette, BandsRunFromDarkerToBrighterAroundEachColour) {
  uint32_t colours[kPaletteSize];
  Colours(colours);
  colours[3] = 0xFFFFFF;
  uint32_t palette[kFractalPaletteSize];
  BuildFractalPalette(colours, palette);
  EXPECT_EQ(palette[31], colours[0]);
  EXPECT_EQ(palette[0], 0x4C2404u);   // 124 darker
  EXPECT_EQ(palette[1], 0x502808u);   // 120 darker
  EXPECT_EQ(palette[63], 0xFFFFFCu);  // 124 brighter, capped
  for (int j = 31; j < 64; ++j) EXPECT_EQ(palette[3 * 64 + j], 0xFFFFFFu) << j;  // white stays white
  EXPECT_EQ(palette[1023], 0x7C7C7Cu);  // black brightened by 124
}

// Points that stay, escape at once or land exactly on the circle take
// entries 1023, 1 and 0.
TEST(RenderFractal, EscapeStepsPickTheirEntries) {
  uint32_t colours[kPaletteSize];
  Colours(colours);
  uint32_t palette[kFractalPaletteSize];
  BuildFractalPalette(colours, palette);
  struct Case {
    FractalParameters plane;
    int entry;
  } cases[] = {
      {Plane(0, 0, 0, 1, 0, 1), 1023},     // 0 stays 0
      {Plane(20, 0, 0, 1, 0, 1), 1},       // 400 at the first step
      {Plane(10, 0, 0, 1, 0, 1), 0},       // exactly 100 at the first step
  };
  for (const Case& c : cases) {
    Picture picture;
    uint8_t error = 0;
    ASSERT_TRUE(RenderFractal(&picture.block, 0, 0, 1, 1, colours, c.plane, &error));
    EXPECT_EQ(picture.At(0, 0), palette[c.entry]) << c.entry;
    EXPECT_EQ(picture.Header().biSizeImage, 4u);  // one pixel's row padded to 4 bytes
  }
}

TEST(RenderFractal, StripsGiveThePixelsOfTheWholePicture) {
  uint32_t colours[kPaletteSize];
  Colours(colours);
  const FractalParameters plane = Plane(-0.8, 0.156, -1.6, 1.6, -1.0, 1.0);
  Picture whole;
  Picture strips;
  uint8_t error = 0;
  ASSERT_TRUE(RenderFractal(&whole.block, 0, 19, 33, 20, colours, plane, &error));
  ASSERT_TRUE(RenderFractal(&strips.block, 0, 9, 33, 20, colours, plane, &error));
  EXPECT_EQ(strips.Header().biHeight, -10);
  EXPECT_EQ(strips.Header().biSizeImage, 100u * 10);
  ASSERT_TRUE(RenderFractal(&strips.block, 12, 11, 33, 20, colours, plane, &error));  // nothing
  ASSERT_TRUE(RenderFractal(&strips.block, 10, 19, 33, 20, colours, plane, &error));
  EXPECT_EQ(strips.Header().biHeight, -20);
  EXPECT_EQ(std::memcmp(whole.block, strips.block, sizeof(BitmapInfoHeader) + 100 * 20), 0);
}

// The checksum of one picture, the same in every build: the renderer's
// arithmetic is ours, in doubles, with no library function in the loop.
TEST(RenderFractal, APictureHasTheSameChecksumEverywhere) {
  uint32_t colours[kPaletteSize];
  for (int k = 0; k < kPaletteSize; ++k) colours[k] = kProgramPalette[k];
  Picture picture;
  uint8_t error = 0;
  ASSERT_TRUE(RenderFractal(&picture.block, 0, 47, 64, 48, colours, Plane(-0.8, 0.156, -1.6, 1.6, -1.2, 1.2), &error));
  uint32_t hash = 2166136261u;  // FNV-1a over the header and the rows
  const size_t bytes = sizeof(BitmapInfoHeader) + picture.Header().biSizeImage;
  for (size_t i = 0; i < bytes; ++i) hash = (hash ^ picture.block[i]) * 16777619u;
  EXPECT_EQ(hash, 505794297u);
}

TEST(RenderFractal, PicturesBeyondTheLargestFailWithOutOfMemory) {
  uint32_t colours[kPaletteSize];
  Colours(colours);
  Picture picture;
  uint8_t error = 0;
  EXPECT_FALSE(RenderFractal(&picture.block, 0, 0, 100000, 100000, colours, Plane(0, 0, 0, 1, 0, 1), &error));
  EXPECT_EQ(error, kImageOutOfMemory);
  EXPECT_EQ(picture.block, nullptr);
}

}  // namespace
