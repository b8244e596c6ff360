#include "view/images/image_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "core/workbook/workbook.h"
#include "tests/core/fake_text_measurer.h"
#include "view/geometry/sheet_sizes.h"

namespace {

struct Header {
  uint32_t size;
  int32_t width;
  int32_t height;
  uint16_t planes;
  uint16_t bits;
  uint32_t compression;
  uint32_t imageSize;
  uint8_t rest[16];
};
static_assert(sizeof(Header) == 40, "");

Header ReadHeader(const ImageLayout& layout) {
  uint8_t bytes[kImageHeaderSize];
  WriteImageHeader(layout, bytes);
  Header header;
  std::memcpy(&header, bytes, sizeof header);
  return header;
}

TEST(RangeImageLayout, OneCellTakesItsHeadingsItsSizeAGridLineAndAnEdge) {
  std::unique_ptr<CWorkBook> book = std::make_unique<CWorkBook>();
  ASSERT_TRUE(book->NewDocument());
  CWorkSheet* sheet = book->activeWorksheet;
  sheet->format.columns[2].SetWidth(64, true);
  ASSERT_TRUE(sheet->format.rows.SetRow(4, 17, true));
  FakeTextMeasurer fake;
  const int32_t headingHeight = GetColumnHeaderHeight(fake.Measurer(), 100);
  const int32_t headingWidth = GetRowHeaderWidth(fake.Measurer(), 4, 100);
  ASSERT_GT(headingHeight, 0);
  ASSERT_GT(headingWidth, 0);

  ImageLayout layout = {};
  ASSERT_TRUE(LayOutRangeImage(fake.Measurer(), sheet, CellRange{2, 4, 2, 4}, 100, 100, &layout));
  EXPECT_EQ(layout.width, headingWidth + 65 + 2);
  EXPECT_EQ(layout.height, headingHeight + 18 + 2);
  EXPECT_EQ(layout.paintWidth, layout.width - 2);
  EXPECT_EQ(layout.stride % 4, 0u);
  EXPECT_GE(layout.stride, static_cast<uint32_t>(layout.width) * 3);
  EXPECT_LT(layout.stride, static_cast<uint32_t>(layout.width) * 3 + 4);
  EXPECT_EQ(layout.blockBytes, 40 + layout.stride * layout.height);
  const Header header = ReadHeader(layout);
  EXPECT_EQ(header.size, 40u);
  EXPECT_EQ(header.width, layout.width);
  EXPECT_EQ(header.height, -layout.height);  // rows from the top
  EXPECT_EQ(header.planes, 1);
  EXPECT_EQ(header.bits, 24);
  EXPECT_EQ(header.compression, 0u);
  EXPECT_EQ(header.imageSize, layout.stride * layout.height);

  // The rows and columns scale with the zoom pair; the headings do not.
  ImageLayout zoomed = {};
  ASSERT_TRUE(LayOutRangeImage(fake.Measurer(), sheet, CellRange{2, 4, 2, 4}, 200, 50, &zoomed));
  EXPECT_EQ(zoomed.width, headingWidth + 129 + 2);
  EXPECT_EQ(zoomed.height, headingHeight + 9 + 2);
}

TEST(RangeImageLayout, ARangeTooLargeForAPictureIsRefused) {
  std::unique_ptr<CWorkBook> book = std::make_unique<CWorkBook>();
  ASSERT_TRUE(book->NewDocument());
  FakeTextMeasurer fake;
  ImageLayout layout = {};
  EXPECT_FALSE(LayOutRangeImage(fake.Measurer(), book->activeWorksheet, CellRange{0, 0, 2046, 2097151}, 100, 100,
                                &layout));
}

TEST(ContainerImageLayout, TakesTheContainersOwnSizeFromTheBottomOnlyAsABitmap) {
  const ContainerRect rect = {10, 20, 210, 120};
  struct Case {
    uint8_t format;
    int32_t headerHeight;
  } cases[] = {{kImageFormatPackedDib, 101}, {kImageFormatJpeg, -101}, {kImageFormatPng, -101}};
  for (const Case& c : cases) {
    ImageLayout layout = {};
    ASSERT_TRUE(LayOutContainerImage(rect, c.format, &layout));
    EXPECT_EQ(layout.width, 201);
    EXPECT_EQ(layout.height, 101);
    EXPECT_EQ(layout.stride, 604u);
    EXPECT_EQ(layout.blockBytes, 604u * 101 + 44);
    const Header header = ReadHeader(layout);
    EXPECT_EQ(header.height, c.headerHeight) << int(c.format);
    EXPECT_EQ(header.imageSize, layout.blockBytes - 40);
  }
  ImageLayout layout = {};
  EXPECT_FALSE(LayOutContainerImage(ContainerRect{5, 5, 4, 20}, kImageFormatPng, &layout));
}

}  // namespace
