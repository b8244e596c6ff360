// Range and container images saved to files and decoded back, compared with
// the same range painted by the grid painter into memory.

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "charts/containers/chart_painters.h"
#include "charts/gallery/sample_charts.h"
#include "charts/jpeg/jpeg_codec.h"
#include "charts/png/png_codec.h"
#include "core/edit/cell_input.h"
#include "core/model/worksheet_view_state.h"
#include "core/workbook/workbook.h"
#include "tests/view/dib_canvas_win32.h"
#include "view/draw_context/draw_context.h"
#include "view/images/image_file.h"
#include "view/images/image_layout.h"
#include "view/painting/draw_context_surface.h"
#include "view/painting/grid_painter.h"

namespace {

bool EncodePngImage(const uint8_t* dib, double gamma, uint8_t** bytes, size_t* count, uint8_t* error) {
  return EncodePng(reinterpret_cast<const BitmapInfoHeader*>(dib), bytes, count, gamma, error);
}
bool EncodeJpegImage(const uint8_t* dib, double quality, uint8_t** bytes, size_t* count, uint8_t* error) {
  return EncodeJpeg(reinterpret_cast<const BitmapInfoHeader*>(dib), bytes, count, int(quality), error);
}
const ImageEncoders kEncoders = {EncodePngImage, EncodeJpegImage};

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    int c;
    while ((c = std::fgetc(file)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(file);
  }
  return bytes;
}

// The 24-bit pixel (x, y) of a packed bitmap as 0x00RRGGBB.
uint32_t PixelOf(const uint8_t* dib, int x, int y) {
  int32_t width = 0, height = 0;
  std::memcpy(&width, dib + 4, 4);
  std::memcpy(&height, dib + 8, 4);
  const int rows = height < 0 ? -height : height;
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  const uint8_t* p = dib + 40 + stride * (height < 0 ? y : rows - 1 - y) + x * 3;
  return static_cast<uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
}

class RangeImages : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(book->NewDocument());
    sheet = book->activeWorksheet;
    SetImageEncoders(&kEncoders);
    InstallChartPainters();
    Type(1, 1, "alpha");
    Type(2, 2, "12.5");
    Type(3, 1, "a text running over its neighbours");
  }
  void TearDown() override {
    SetImageEncoders(nullptr);
    std::remove(path.c_str());
  }
  void Type(uint32_t row, uint16_t column, const char* text) {
    NumFormatParams format = book->styles.StyleAt(sheet->format.CellStyle(row, column)).numFormat;
    alignas(8) uint8_t record[kCellInputCapacity];
    ASSERT_GT(CWorkSheet::ParseCellInput(book.get(), text, &format, row, column, record, sizeof record), 0u);
    ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
  }
  // The range painted by the grid painter on a white canvas of the image's size.
  std::vector<uint32_t> PaintedInMemory(const CellRange& range, int* width, int* height) {
    DrawContext screen;
    screen.AttachWindow(nullptr);
    ImageLayout layout = {};
    EXPECT_TRUE(LayOutRangeImage(screen.Measurer(), sheet, range, 100, 100, &layout));
    DibCanvas canvas(layout.width, layout.height);
    {
      DrawContext context;
      context.AttachDC(canvas.dc());
      DrawContextSurface surface(&context);
      GridPainter painter(book.get());
      painter.PaintCells(surface.Surface(), {0, 0, layout.paintWidth - 1, layout.paintHeight - 1}, sheet,
                         range.firstRow, range.firstColumn, 100, 100);
      context.RestoreObjects();
      context.AttachDC(nullptr);
    }
    *width = layout.width;
    *height = layout.height;
    return canvas.Pixels();
  }

  std::unique_ptr<CWorkBook> book = std::make_unique<CWorkBook>();
  CWorkSheet* sheet = nullptr;
  std::string path = ::testing::TempDir() + "talvero_range_image.png";
};

TEST_F(RangeImages, APngOfARangeDecodesToTheRangeAsTheGridPaintsIt) {
  // A frozen row and column are left out of the image and kept afterwards.
  ViewStateOf(&sheet->viewFormat)->frozen.flags = kCornerRowGiven | kCornerColumnGiven;
  const CellRange range = {1, 1, 3, 4};
  ASSERT_TRUE(book->SaveRangeAsImage("\\Worksheet1", range, path.c_str(), kImageFormatPng, 0, 100, 100))
      << int(book->error);
  EXPECT_EQ(ViewStateOf(&sheet->viewFormat)->frozen.flags, kCornerRowGiven | kCornerColumnGiven);
  ViewStateOf(&sheet->viewFormat)->frozen.flags = 0;
  int width = 0, height = 0;
  const std::vector<uint32_t> expected = PaintedInMemory(range, &width, &height);
  const std::vector<uint8_t> png = ReadFile(path);
  uint8_t error = 0;
  BitmapInfoHeader* decoded = DecodePng(png.data(), png.size(), false, 0, &error);
  ASSERT_NE(decoded, nullptr) << int(error);
  ASSERT_EQ(decoded->biWidth, width);
  ASSERT_EQ(decoded->biHeight, -height);
  int differing = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      differing += PixelOf(reinterpret_cast<uint8_t*>(decoded), x, y) != (expected[y * width + x] & 0xFFFFFF);
  EXPECT_EQ(differing, 0);
  std::free(decoded);
}

// A JPEG of the range decodes through the codec to the painted range within
// the loss of the encoding (a peak signal-to-noise ratio of 30 dB or more).
TEST_F(RangeImages, AJpegOfARangeDecodesCloseToTheRangeAsTheGridPaintsIt) {
  const CellRange range = {1, 1, 3, 4};
  ASSERT_TRUE(book->SaveRangeAsImage("\\Worksheet1", range, path.c_str(), kImageFormatJpeg, 90, 100, 100))
      << int(book->error);
  int width = 0, height = 0;
  const std::vector<uint32_t> expected = PaintedInMemory(range, &width, &height);
  const std::vector<uint8_t> jpeg = ReadFile(path);
  uint8_t error = 0;
  uint8_t* decoded = DecodeJpeg(jpeg.data(), jpeg.size(), &error);
  ASSERT_NE(decoded, nullptr) << int(error);
  double squares = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t a = PixelOf(decoded, x, y), b = expected[y * width + x];
      for (int shift = 0; shift < 24; shift += 8) {
        const double d = double((a >> shift) & 0xFF) - double((b >> shift) & 0xFF);
        squares += d * d;
      }
    }
  const double meanSquare = squares / (3.0 * width * height);
  EXPECT_GT(10.0 * std::log10(255.0 * 255.0 / (meanSquare > 0 ? meanSquare : 1e-9)), 30.0);
  std::free(decoded);
}

// A container holding a chart, saved as PNG, decodes to what the painter
// draws at the container's own size.
TEST_F(RangeImages, AContainerImageIsTheContainerPainterAtItsOwnSize) {
  ContainerRecord* container = new ContainerRecord();
  const ContainerRect rect = {0, 0, 200, 100};
  container->Init(nullptr, &rect);
  ContainerItem& item = container->items[container->header.itemCount++];
  item.kind = kItemChart;
  item.chart = new ChartRecord(kChart2D);
  ASSERT_TRUE(LoadGallerySample(*item.chart, 0));
  ASSERT_TRUE(book->AssignContainerId(container));
  sheet->containers = container;
  ASSERT_TRUE(book->SaveContainerAsImage("\\Worksheet1", container->header.id, path.c_str(), kImageFormatPng, 0,
                                         100, 100));
  const std::vector<uint8_t> png = ReadFile(path);
  uint8_t error = 0;
  BitmapInfoHeader* decoded = DecodePng(png.data(), png.size(), false, 0, &error);
  ASSERT_NE(decoded, nullptr) << int(error);
  ASSERT_EQ(decoded->biWidth, 201);
  ASSERT_EQ(decoded->biHeight, -101);
  DibCanvas canvas(201, 101);
  {
    DrawContext context;
    context.AttachDC(canvas.dc());
    DrawContextSurface surface(&context);
    GridPainter painter(book.get());
    painter.DrawContainer(surface.Surface(), container, {0, 0, 200, 100}, 100, 100);
    context.RestoreObjects();
    context.AttachDC(nullptr);
  }
  const std::vector<uint32_t> expected = canvas.Pixels();
  int differing = 0, chartColoured = 0;
  for (int y = 0; y < 101; ++y)
    for (int x = 0; x < 201; ++x) {
      const uint32_t pixel = PixelOf(reinterpret_cast<uint8_t*>(decoded), x, y);
      differing += pixel != (expected[y * 201 + x] & 0xFFFFFF);
      chartColoured += pixel == 0x00FF00;  // the first series' columns
    }
  std::free(decoded);
  EXPECT_EQ(differing, 0);
  EXPECT_GT(chartColoured, 20);

  // Unknown paths and ids are refused.
  EXPECT_FALSE(book->SaveContainerAsImage("\\Worksheet1", 999, path.c_str(), kImageFormatPng, 0, 100, 100));
  EXPECT_EQ(book->error, kImageSaveNoContainer);
  EXPECT_FALSE(book->SaveRangeAsImage("\\Nowhere", CellRange{0, 0, 1, 1}, path.c_str(), kImageFormatPng, 0, 100, 100));
  EXPECT_EQ(book->error, kImageSaveNoWorksheet);
}

}  // namespace
