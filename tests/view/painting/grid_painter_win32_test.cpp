#include "view/painting/grid_painter.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/edit/cell_input.h"
#include "core/model/worksheet_view_state.h"
#include "core/workbook/workbook.h"
#include "tests/test_seed.h"
#include "tests/view/dib_canvas_win32.h"
#include "view/geometry/sheet_sizes.h"
#include "view/painting/draw_context_surface.h"
#include "view/painting/paint_geometry.h"
#include "view/painting/selection_painter.h"

namespace {

constexpr COLORREF kGrid = RGB(255, 0, 0);
constexpr COLORREF kFill = RGB(0, 200, 0);
constexpr COLORREF kBorder = RGB(0, 0, 255);


void PutBig(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
  PutBig(out, static_cast<uint32_t>(data.size()));
  const std::string body = std::string(type, 4) + data;
  out += body;
  PutBig(out, crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size())));
}

// A PNG for a person to look at, in the artefacts folder when one is named.
bool SaveCanvasPng(const DibCanvas& canvas, const char* name) {
  const char* folder = std::getenv("TALVERO_ARTIFACTS_DIR");
  if (!folder)
    return false;
  const std::vector<uint32_t> pixels = canvas.Pixels();
  const int width = canvas.width(), height = canvas.height();
  std::string raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < width; ++x) {
      const uint32_t p = pixels[y * width + x];
      raw.push_back(static_cast<char>((p >> 16) & 0xFF));
      raw.push_back(static_cast<char>((p >> 8) & 0xFF));
      raw.push_back(static_cast<char>(p & 0xFF));
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
                static_cast<uLong>(raw.size()), 6) != Z_OK)
    return false;
  packed.resize(packedSize);
  std::string header;
  PutBig(header, static_cast<uint32_t>(width));
  PutBig(header, static_cast<uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
  std::string png("\x89PNG\r\n\x1a\n", 8);
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", "");
  const std::string path = std::string(folder) + "/" + name + ".png";
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file)
    return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}

class GridPaintingOnDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(book->NewDocument());
    sheet = book->activeWorksheet;
    for (int c = 0; c < 40; ++c) sheet->format.columns[c].SetWidth(60, true);
    sheet->viewFormat.gridColorSet = 1;
    sheet->viewFormat.gridColor = kGrid;
  }
  void Type(uint32_t row, uint16_t column, const char* text) {
    NumFormatParams format = book->styles.StyleAt(sheet->format.CellStyle(row, column)).numFormat;
    alignas(8) uint8_t record[kCellInputCapacity];
    ASSERT_GT(CWorkSheet::ParseCellInput(book.get(), text, &format, row, column, record, sizeof record), 0u);
    ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
  }
  void StyleColumn(uint16_t column, const StyleRecord& style) {
    uint16_t index = 0;
    ASSERT_TRUE(book->styles.FindOrAddStyle(style, &index));
    sheet->format.columns[column].SetStyle(index);
  }
  // Paints and leaves the grid lines' positions for the assertions.
  void Paint(DibCanvas& canvas, const PixelRect& area, uint16_t firstColumn = 0, uint32_t firstRow = 0) {
    DrawContext context;
    context.AttachDC(canvas.dc());
    DrawContextSurface surface(&context);
    painter.PaintCells(surface.Surface(), area, sheet, firstRow, firstColumn, 100, 100);
    const PaintGeometry g =
        ComputePaintGeometry(surface.Surface().measurer, area, sheet, firstRow, firstColumn, 100, 100);
    left = area.left + g.rowHeaderWidth + 1;
    top = area.top + g.columnHeaderHeight + 1;
    rowHeight = GetRowHeight(sheet, 0, 100);
  }
  int GridX(int column) const { return left + 61 * column; }
  int GridY(int row) const { return top + (rowHeight + 1) * row; }

  std::unique_ptr<CWorkBook> book = std::make_unique<CWorkBook>();
  CWorkSheet* sheet = nullptr;
  GridPainter painter{book.get()};
  int left = 0;
  int top = 0;
  int rowHeight = 0;
};

TEST_F(GridPaintingOnDevice, NoGridLinePixelInsideATextRun) {
  Type(0, 0, "A text that runs over two empty neighbours");
  Type(0, 4, "1");
  DibCanvas canvas(400, 200);
  Paint(canvas, {0, 0, 399, 199});
  int text = 0;
  for (int column = 1; column <= 3; ++column)
    for (int y = GridY(0) + 1; y <= GridY(0) + rowHeight; ++y) {
      EXPECT_NE(canvas.At(GridX(column), y), kGrid) << column << "," << y;
      text += canvas.At(GridX(column) + 3, y) != RGB(255, 255, 255);
    }
  EXPECT_GT(text, 0);  // the run reaches the covered columns
  EXPECT_EQ(canvas.At(GridX(4), GridY(0) + 2), kGrid);
}

TEST_F(GridPaintingOnDevice, FillCoversItsGridLinesAndALaterBorderStaysVisible) {
  StyleRecord filled = StyleRecord::Default();
  filled.interior.pattern = 1;
  filled.interior.patternColorSet = 1;
  filled.interior.patternColor = kFill;
  StyleColumn(2, filled);
  StyleRecord bordered = StyleRecord::Default();
  bordered.borders.sides = 15;
  bordered.borders.line = {1, 1, {}, kBorder};
  StyleColumn(1, bordered);
  Type(1, 1, "b");
  DibCanvas canvas(400, 200);
  Paint(canvas, {0, 0, 399, 199});
  const int middle = GridY(1) + rowHeight / 2;
  EXPECT_EQ(canvas.At(GridX(3), middle), kFill);                  // its right grid line
  EXPECT_EQ(canvas.At(GridX(2) + 30, GridY(2)), kFill);           // its bottom grid line
  EXPECT_EQ(canvas.At(GridX(2), middle), kBorder);                // the neighbour's border over the fill
  EXPECT_EQ(canvas.At(GridX(4), middle), kGrid);
}

TEST_F(GridPaintingOnDevice, SelectionInvertsOnlyWhatDiffers) {
  ViewStateOf(&sheet->viewFormat)->frozen = {0, 0, static_cast<uint8_t>(kCornerRowGiven | kCornerColumnGiven)};
  for (uint32_t r = 0; r < 12; ++r)
    for (uint16_t c = 0; c < 6; c += 2) Type(r, c, r % 2 ? "text" : "12.5");
  const uint32_t seed = TestSeed(20261207u);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  auto range = [&]() {
    uint32_t c1 = random() % 7, c2 = random() % 7, r1 = random() % 12, r2 = random() % 12;
    return SelectionRange{std::min(c1, c2), std::min(r1, r2), std::max(c1, c2), std::max(r1, r2)};
  };
  const PixelRect area = {0, 0, 399, 249};
  DibCanvas canvas(400, 250);
  Paint(canvas, area, 1, 1);
  const std::vector<uint32_t> painted = canvas.Pixels();
  DrawContext context;
  context.AttachDC(canvas.dc());
  DrawContextSurface surface(&context);
  auto draw = [&](const SelectionRange* a, const SelectionRange* b) {
    DrawSelection(surface.Surface(), area, sheet, 1, 1, a, b, 100, 100);
  };
  for (int i = 0; i < 50; ++i) {
    const SelectionRange a = range();
    const SelectionRange b = range();
    draw(&a, nullptr);
    draw(&a, nullptr);
    ASSERT_EQ(canvas.Pixels(), painted) << "A twice, pair " << i;
    draw(&a, &a);
    ASSERT_EQ(canvas.Pixels(), painted) << "(A, A), pair " << i;
    draw(&a, nullptr);
    draw(&a, &b);
    const std::vector<uint32_t> moved = canvas.Pixels();
    draw(&b, nullptr);
    ASSERT_EQ(canvas.Pixels(), painted) << "(A, B), pair " << i;
    draw(&a, nullptr);
    draw(&a, nullptr);
    draw(&b, nullptr);
    ASSERT_EQ(canvas.Pixels(), moved) << "A off then B on, pair " << i;
    draw(&b, nullptr);
  }
}

// A sample sheet as a person sees it: a filled column whose fill gives way
// to a text running over it, boxed cells, numbers at the right of their
// cells and the selection shaded over cells and headings, all but its active
// cell. The picture is also left for people to look at.
TEST_F(GridPaintingOnDevice, SampleSheetShowsFillsBordersNumbersAndTheSelection) {
  constexpr COLORREF kPale = RGB(255, 240, 180);
  StyleRecord filled = StyleRecord::Default();
  filled.interior.pattern = 1;
  filled.interior.patternColorSet = 1;
  filled.interior.patternColor = kPale;
  StyleColumn(3, filled);
  StyleRecord bordered = StyleRecord::Default();
  bordered.borders.sides = 15;
  bordered.borders.line = {1, 1, {}, kBorder};
  StyleColumn(5, bordered);
  sheet->viewFormat.gridColorSet = 0;
  for (uint32_t r = 0; r < 20; ++r) {
    char number[32];
    std::snprintf(number, sizeof number, "%u.25", r * 137);
    Type(r, 0, number);
    if (r % 3 == 0)
      Type(r, 1, "A text running over its empty neighbours");
    Type(r, 5, r % 2 ? "boxed" : "123456789012");
  }
  const PixelRect area = {0, 0, 639, 399};
  DibCanvas canvas(640, 400);
  Paint(canvas, area);
  const std::vector<uint32_t> unselected = canvas.Pixels();
  DrawContext context;
  context.AttachDC(canvas.dc());
  DrawContextSurface surface(&context);
  const SelectionRange selection = {1, 2, 3, 6};  // B3:D7
  DrawSelection(surface.Surface(), area, sheet, 0, 0, &selection, nullptr, 100, 100);
  SaveCanvasPng(canvas, "sample_sheet");

  // The pixels of a cell's box (its grid lines excluded) in a colour.
  const auto count = [&](uint16_t column, uint32_t row, COLORREF colour) {
    int found = 0;
    for (int y = GridY(row) + 1; y <= GridY(row) + rowHeight; ++y)
      for (int x = GridX(column) + 1; x <= GridX(column) + 60; ++x) found += canvas.At(x, y) == colour;
    return found;
  };
  const int boxPixels = 60 * rowHeight;
  // Row 12 holds a number in A and a boxed text in F; D12 is empty.
  const uint32_t row = 11;
  const int middle = GridY(row) + rowHeight / 2;
  EXPECT_EQ(count(3, row, kPale), boxPixels);
  EXPECT_EQ(canvas.At(GridX(4), middle), kPale);  // over its right grid line
  EXPECT_EQ(count(3, 0, kPale), 0);               // B1's text runs over D1
  EXPECT_EQ(canvas.At(GridX(5), middle), kBorder);
  EXPECT_EQ(canvas.At(GridX(5) + 30, GridY(row)), kBorder);
  EXPECT_EQ(canvas.At(GridX(6), middle), kBorder);
  int firstInk = -1, lastInk = -1;
  for (int x = GridX(0) + 1; x <= GridX(0) + 60; ++x)
    for (int y = GridY(row) + 1; y <= GridY(row) + rowHeight; ++y)
      if (canvas.At(x, y) != RGB(255, 255, 255)) {
        if (firstInk < 0) firstInk = x;
        lastInk = x;
      }
  ASSERT_GE(firstInk, 0) << "A12 shows no number";
  // Numbers stand at the right of their cell.
  EXPECT_LT(GridX(1) - lastInk, firstInk - GridX(0)) << firstInk << ".." << lastInk;

  // Inside the selection cells are shaded, the fill as well; the active
  // cell B3 is not, nor is anything outside.
  const auto cellMiddle = [&](uint16_t column, uint32_t r) { return POINT{GridX(column) + 30, GridY(r) + rowHeight / 2}; };
  const POINT c5 = cellMiddle(2, 4), d5 = cellMiddle(3, 4), b3 = cellMiddle(1, 2), e5 = cellMiddle(4, 4);
  EXPECT_EQ(canvas.At(c5.x, c5.y), RGB(255 ^ 50, 255 ^ 50, 255));
  EXPECT_EQ(canvas.At(d5.x, d5.y), RGB(255 ^ 50, 240 ^ 50, 180));
  EXPECT_EQ(canvas.At(b3.x, b3.y), RGB(255, 255, 255));
  EXPECT_EQ(canvas.At(e5.x, e5.y), RGB(255, 255, 255));
  // The selected rows' and columns' headings are shaded too.
  const auto shadedHeading = [&](int x, int y) {
    return canvas.Pixels()[y * canvas.width() + x] == (unselected[y * canvas.width() + x] ^ 0x646400u);
  };
  EXPECT_TRUE(shadedHeading(area.left + 2, GridY(4) + 2));
  EXPECT_TRUE(shadedHeading(GridX(2) + 2, area.top + 2));
  EXPECT_FALSE(shadedHeading(area.left + 2, GridY(8) + 2));
}

}  // namespace
