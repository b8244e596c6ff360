#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "charts/images/bmp_codec.h"
#include "charts/images/image_errors.h"
#include "charts/images/packed_dib.h"

namespace {

struct BmpShape {
  uint32_t headerSize;
  uint16_t bitCount;
  uint32_t compression;
  int32_t width;
  int32_t height;
};

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A BMP file of the shape with a full colour table (or the three masks
// after a 40-byte header) and rows of patterned bytes; its size field holds
// its length.
std::vector<uint8_t> MakeBmp(const BmpShape& s) {
  const uint32_t table = s.bitCount <= 8 ? 4u << s.bitCount : (s.compression == 3 && s.headerSize == 40 ? 12 : 0);
  const uint32_t stride = ((s.width * s.bitCount + 31) / 32) * 4;
  const uint32_t rows = static_cast<uint32_t>(s.height < 0 ? -s.height : s.height);
  std::vector<uint8_t> b(14 + s.headerSize + table + stride * rows);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  Put32(b, 10, 14 + s.headerSize + table);
  Put32(b, 14, s.headerSize);
  Put32(b, 18, static_cast<uint32_t>(s.width));
  Put32(b, 22, static_cast<uint32_t>(s.height));
  b[26] = 1;  // planes
  b[28] = static_cast<uint8_t>(s.bitCount);
  Put32(b, 30, s.compression);
  for (size_t i = 14 + s.headerSize; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 7);
  return b;
}

struct Decoded {
  uint8_t* block;
  uint8_t error;
};

Decoded Decode(const std::vector<uint8_t>& bytes, size_t count) {
  Decoded d{nullptr, 0};
  d.block = DecodeBmp(bytes.data(), count, &d.error);
  return d;
}

TEST(DecodeBmp, KeepsEveryAcceptedLayoutAsStoredAndRefusesItTruncated) {
  std::vector<BmpShape> shapes;
  for (uint32_t header : {40u, 108u, 124u}) {
    for (uint16_t bits : {1, 4, 8, 16, 24, 32}) shapes.push_back({header, bits, 0, 5, 3});
    shapes.push_back({header, 16, 3, 5, 3});
    shapes.push_back({header, 32, 3, 5, -3});  // rows from the top
  }
  for (const BmpShape& s : shapes) {
    SCOPED_TRACE(testing::Message() << "header " << s.headerSize << ", " << s.bitCount << " bits, compression "
                                    << s.compression << ", height " << s.height);
    const std::vector<uint8_t> file = MakeBmp(s);
    Decoded d = Decode(file, file.size());
    ASSERT_NE(d.block, nullptr);
    EXPECT_EQ(d.error, 0);
    EXPECT_EQ(std::memcmp(d.block, file.data() + 14, file.size() - 14), 0);
    std::free(d.block);
    // One byte short of its last row, the picture no longer lies within it.
    d = Decode(file, file.size() - 1);
    EXPECT_EQ(d.block, nullptr);
    EXPECT_EQ(d.error, kImageInvalidBitmap);
  }
}

TEST(DecodeBmp, TheSizeFieldBoundsWhatIsKeptAndNeverPassesTheBytes) {
  std::vector<uint8_t> file = MakeBmp({40, 24, 0, 2, 2});
  const size_t length = file.size();
  file.resize(length + 10, 0xAB);  // bytes after the picture
  struct Case {
    uint32_t field;
    size_t kept;  // 0: refused
  } cases[] = {
      {static_cast<uint32_t>(length), length - 14},
      {0, length + 10 - 14},                // no size: every byte after the header
      {0xFFFFFFF0u, length + 10 - 14},      // larger than the file: what there is
      {static_cast<uint32_t>(length - 1), 0},  // cuts into the rows
      {5, 0},                               // not even the file header
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    Put32(file, 2, c.field);
    Decoded d = Decode(file, file.size());
    if (c.kept == 0) {
      EXPECT_EQ(d.block, nullptr);
      EXPECT_EQ(d.error, kImageInvalidBitmap);
      continue;
    }
    ASSERT_NE(d.block, nullptr);
    EXPECT_EQ(std::memcmp(d.block, file.data() + 14, c.kept), 0);
    std::free(d.block);
  }
}

TEST(DecodeBmp, RefusesWhatTheDrawingRoutinesCannotShow) {
  const std::vector<uint8_t> good = MakeBmp({40, 8, 0, 4, 4});
  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
    int width;  // bytes written
    uint8_t error;
  } cases[] = {
      {"signature MB", 0, 'M' | 'B' << 8, 2, kImageInvalidBitmap},
      {"core header", 14, 12, 4, kImageInvalidBitmap},
      {"two planes", 26, 2, 2, kImageInvalidBitmap},
      {"two bits", 28, 2, 2, kImageInvalidBitmap},
      {"run-length compressed", 30, 1, 4, kImageInvalidBitmap},
      {"masks at 8 bits", 30, 3, 4, kImageInvalidBitmap},
      {"no width", 18, 0, 4, kImageInvalidBitmap},
      {"no height", 22, 0, 4, kImageInvalidBitmap},
      {"colour table past the end", 46, 100000, 4, kImageInvalidBitmap},
      {"beyond the largest picture", 18, 0x10000000, 4, kImageOutOfMemory},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> file = good;
    for (int i = 0; i < c.width; ++i) file[c.at + i] = static_cast<uint8_t>(c.value >> (8 * i));
    Decoded d = Decode(file, file.size());
    EXPECT_EQ(d.block, nullptr);
    EXPECT_EQ(d.error, c.error);
  }
  Decoded d = Decode(good, 13);
  EXPECT_EQ(d.block, nullptr);
  EXPECT_EQ(d.error, kImageInvalidBitmap);
}

}  // namespace
