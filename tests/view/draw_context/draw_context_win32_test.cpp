#include "view/draw_context/draw_context.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/styles/default_sizes.h"
#include "core/styles/sheet_format.h"
#include "view/draw_context/default_font.h"
#include "view/draw_context/fill_patterns.h"
#include "view/draw_context/portable_text_measurer.h"
#include "view/draw_context/text_placement.h"
#include "core/model/container_record.h"
#include "tests/view/dib_canvas_win32.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);


struct DeviceState {
  HGDIOBJ font, pen, brush, bitmap;
  UINT align;
  int bkMode;
  COLORREF textColour;
  bool operator==(const DeviceState& o) const {
    return font == o.font && pen == o.pen && brush == o.brush && bitmap == o.bitmap && align == o.align &&
           bkMode == o.bkMode && textColour == o.textColour;
  }
};
DeviceState Snapshot(HDC dc) {
  return {GetCurrentObject(dc, OBJ_FONT), GetCurrentObject(dc, OBJ_PEN), GetCurrentObject(dc, OBJ_BRUSH),
          GetCurrentObject(dc, OBJ_BITMAP), GetTextAlign(dc), GetBkMode(dc), GetTextColor(dc)};
}

using Change = void (*)(DrawContext& dc, DrawContext& other);
const Change kChanges[] = {
    [](DrawContext& dc, DrawContext&) { dc.SelectFont(FontRecord{}, 0, 150); },
    [](DrawContext& dc, DrawContext&) { dc.SelectPen(3, kRed, 100); },
    [](DrawContext& dc, DrawContext&) { dc.SelectBrush(9, kRed, kBlue); },
    [](DrawContext& dc, DrawContext& other) { dc.CreateBitmap(other, 4, 4); },
    [](DrawContext& dc, DrawContext&) { dc.SetTextAlign(3, 6); },
    [](DrawContext& dc, DrawContext&) { dc.SetBkMode(2); },
    [](DrawContext& dc, DrawContext&) { dc.SetTextColor(kBlue); },
};

TEST(DrawContext, ReleasingPutsBackEveryObjectAndModeItChanged) {
  DibCanvas canvas(8, 8);
  HDC dc = canvas.dc();
  SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
  SelectObject(dc, GetStockObject(WHITE_PEN));
  SelectObject(dc, GetStockObject(GRAY_BRUSH));
  ::SetTextAlign(dc, TA_CENTER | TA_BOTTOM);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(1, 2, 3));
  const DeviceState before = Snapshot(dc);
  DibCanvas other(2, 2);
  DrawContext otherContext;
  otherContext.AttachDC(other.dc());

  // Each change alone (the alignment alone included), then all of them twice over.
  for (size_t only = 0; only <= std::size(kChanges); ++only) {
    {
      DrawContext context;
      context.AttachDC(dc);
      for (size_t i = 0; i < std::size(kChanges); ++i) {
        if (only == std::size(kChanges) || i == only) {
          kChanges[i](context, otherContext);
          kChanges[i](context, otherContext);
        }
      }
      EXPECT_FALSE(Snapshot(dc) == before) << "change " << only;
    }
    EXPECT_TRUE(Snapshot(dc) == before) << "change " << only;
  }
  // Attaching anew restores as well.
  DrawContext context;
  context.AttachDC(dc);
  context.SelectPen(1, kRed, 100);
  context.AttachDC(nullptr);
  EXPECT_TRUE(Snapshot(dc) == before);
}

TEST(DrawContext, FontsComeFromTheRecordAndAreKeptWhileNothingChanges) {
  DibCanvas canvas(8, 8);
  DrawContext context;
  context.AttachDC(canvas.dc());
  FontRecord record = {};
  record.weight = 2;
  ASSERT_TRUE(context.SelectFont(record, 0, 100));
  LOGFONTA made = {};
  ASSERT_TRUE(GetObjectA(context.CreatedFont(), sizeof made, &made));
  EXPECT_EQ(made.lfHeight, -13);  // 10 points at 96 pixels per inch
  EXPECT_EQ(made.lfWeight, 700);
  EXPECT_EQ(made.lfCharSet, DEFAULT_CHARSET);
  EXPECT_STREQ(made.lfFaceName, "Arial");

  HFONT first = context.CreatedFont();
  ASSERT_TRUE(context.SelectFont(record, 0, 100));
  EXPECT_EQ(context.CreatedFont(), first);
  ASSERT_TRUE(context.SelectFont(record, 0, 200));
  EXPECT_NE(context.CreatedFont(), first);
  EXPECT_EQ(GetObjectType(first), 0u);  // deleted

  // No handle outlives its replacement: a leak would also exhaust the
  // system's handles long before the end.
  HFONT previous = context.CreatedFont();
  for (int i = 0; i < 20000; ++i) {
    ASSERT_TRUE(context.SelectFont(record, 0, static_cast<uint16_t>(100 + i % 2))) << i;
    ASSERT_EQ(GetObjectType(previous), 0u) << i;
    previous = context.CreatedFont();
  }
}

TEST(DrawContext, PensAndBrushesRefuseUnknownCodesWithThePriorObjectSelected) {
  DibCanvas canvas(8, 8);
  HDC dc = canvas.dc();
  DrawContext context;
  context.AttachDC(dc);
  const HGDIOBJ priorPen = GetCurrentObject(dc, OBJ_PEN);
  const HGDIOBJ priorBrush = GetCurrentObject(dc, OBJ_BRUSH);
  ASSERT_TRUE(context.SelectPen(6, kRed, 50));
  LOGPEN pen = {};
  ASSERT_TRUE(GetObjectA(context.CreatedPen(), sizeof pen, &pen));
  EXPECT_EQ(pen.lopnWidth.x, 0);
  ASSERT_TRUE(context.SelectPen(8, kRed, 200));
  ASSERT_TRUE(GetObjectA(context.CreatedPen(), sizeof pen, &pen));
  EXPECT_EQ(pen.lopnWidth.x, 6);
  EXPECT_FALSE(context.SelectPen(10, kRed, 100));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), priorPen);
  ASSERT_TRUE(context.SelectBrush(3, kRed, kBlue));
  EXPECT_FALSE(context.SelectBrush(23, kRed, kBlue));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), priorBrush);
}

TEST(DrawContext, EveryPatternPaintsItsCellInTheTwoColours) {
  for (uint8_t pattern = 1; pattern <= kLastCellPattern; ++pattern) {
    DibCanvas canvas(16, 16);
    DrawContext context;
    context.AttachDC(canvas.dc());
    ASSERT_TRUE(context.SelectBrush(pattern, kRed, kBlue));
    ASSERT_TRUE(context.FillRect(RECT{0, 0, 15, 15}, 0));
    const uint8_t* rows = PatternRows(pattern);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const COLORREF expected = rows && PatternPixelSet(rows, x % 8, y % 8) ? kBlue : kRed;
        ASSERT_EQ(canvas.At(x, y), expected) << "pattern " << int(pattern) << " at " << x << "," << y;
      }
    }
  }
}

int Channel(COLORREF c, int shift) { return (c >> shift) & 0xFF; }
bool Near(COLORREF a, COLORREF b) {
  for (int shift : {0, 8, 16})
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > 8)
      return false;
  return true;
}

TEST(DrawContext, GradientsRunBetweenTheTwoColours) {
  struct Case {
    uint8_t pattern;
    POINT start, middle, end;  // colour 1, the middle colour, the far end
    COLORREF middleColour, endColour;
  } cases[] = {
      {19, {5, 0}, {5, 50}, {5, 99}, RGB(128, 0, 127), kBlue},
      {20, {0, 5}, {50, 5}, {99, 5}, RGB(128, 0, 127), kBlue},
      {21, {5, 0}, {5, 49}, {5, 99}, kBlue, kRed},
      {22, {0, 5}, {49, 5}, {99, 5}, kBlue, kRed},
  };
  for (const Case& c : cases) {
    DibCanvas canvas(100, 100);
    DrawContext context;
    context.AttachDC(canvas.dc());
    ASSERT_TRUE(context.SelectBrush(c.pattern, kRed, kBlue));
    ASSERT_TRUE(context.FillRect(RECT{0, 0, 99, 99}, 0));
    EXPECT_EQ(canvas.At(c.start.x, c.start.y), kRed) << int(c.pattern);
    EXPECT_TRUE(Near(canvas.At(c.middle.x, c.middle.y), c.middleColour)) << int(c.pattern);
    EXPECT_TRUE(Near(canvas.At(c.end.x, c.end.y), c.endColour)) << int(c.pattern);
  }
}

// A 2 x 2 image (bottom-up) whose pixels are red, blue / green, white from the top left.
std::vector<uint8_t> TestImage(uint32_t headerSize, uint16_t bits, bool bitFields) {
  const COLORREF pixels[2][2] = {{RGB(0, 255, 0), RGB(255, 255, 255)}, {kRed, kBlue}};  // bottom row first
  std::vector<uint8_t> dib(headerSize + 16 * 4 + 12 + 64, 0);
  auto* h = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
  h->biSize = headerSize;
  h->biWidth = 2;
  h->biHeight = 2;
  h->biPlanes = 1;
  h->biBitCount = bits;
  h->biCompression = bitFields ? BI_BITFIELDS : BI_RGB;
  uint8_t* table = dib.data() + headerSize;
  const COLORREF palette[4] = {kRed, kBlue, RGB(0, 255, 0), RGB(255, 255, 255)};
  uint8_t* rows = table;
  if (bits <= 8) {
    // The 8-bit image names its four colours; the others have full tables.
    const int entries = bits == 8 ? 4 : (1 << bits);
    h->biClrUsed = bits == 8 ? 4 : 0;
    for (int i = 0; i < entries; ++i) {
      const COLORREF c = palette[i % 4];
      table[4 * i] = GetBValue(c);
      table[4 * i + 1] = GetGValue(c);
      table[4 * i + 2] = GetRValue(c);
    }
    rows = table + 4 * entries;
  } else if (bitFields) {
    // After a 40-byte header; the larger headers hold them in their own fields.
    const uint32_t masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(headerSize > 40 ? dib.data() + 40 : table, masks, sizeof masks);
    rows = headerSize > 40 ? table : table + 12;
  }
  // The image ends with its bits: nothing may be read past them.
  const size_t bitsOffset = static_cast<size_t>(rows - dib.data());
  dib.resize(bitsOffset + 2 * ((2 * bits + 31) / 32 * 4));
  rows = dib.data() + bitsOffset;
  for (int y = 0; y < 2; ++y) {
    uint8_t* row = rows + y * ((2 * bits + 31) / 32 * 4);
    for (int x = 0; x < 2; ++x) {
      const COLORREF c = pixels[y][x];
      const int index = c == kRed ? 0 : c == kBlue ? 1 : c == RGB(0, 255, 0) ? 2 : 3;
      switch (bits) {
        case 1: row[0] |= static_cast<uint8_t>((index & 1) << (7 - x)); break;
        case 4: row[0] |= static_cast<uint8_t>(index << (x ? 0 : 4)); break;
        case 8: row[x] = static_cast<uint8_t>(index); break;
        case 16: {
          const uint16_t v = bitFields ? static_cast<uint16_t>(((GetRValue(c) >> 3) << 11) | ((GetGValue(c) >> 2) << 5) | (GetBValue(c) >> 3))
                                       : static_cast<uint16_t>(((GetRValue(c) >> 3) << 10) | ((GetGValue(c) >> 3) << 5) | (GetBValue(c) >> 3));
          std::memcpy(row + 2 * x, &v, 2);
          break;
        }
        default: {
          const int step = bits / 8;
          row[step * x] = GetBValue(c);
          row[step * x + 1] = GetGValue(c);
          row[step * x + 2] = GetRValue(c);
        }
      }
    }
  }
  return dib;
}

TEST(DrawContext, StretchDibDrawsEveryHeaderSizeAndDepth) {
  struct Depth {
    uint16_t bits;
    bool bitFields;
  } depths[] = {{1, false}, {4, false}, {8, false}, {16, false}, {16, true}, {24, false}, {32, false}};
  for (uint32_t header : {40u, 108u, 124u}) {
    for (const Depth& d : depths) {
      const std::vector<uint8_t> dib = TestImage(header, d.bits, d.bitFields);
      DibCanvas canvas(8, 8);
      DrawContext context;
      context.AttachDC(canvas.dc());
      ASSERT_TRUE(context.StretchDib(2, 2, 7, 7, reinterpret_cast<const BITMAPINFOHEADER*>(dib.data()), 0, 100, 100));
      // The 1-bit image has only its first two colours: red and blue.
      const bool mono = d.bits == 1;
      EXPECT_TRUE(Near(canvas.At(2, 2), kRed)) << header << "/" << d.bits;
      EXPECT_TRUE(Near(canvas.At(3, 2), kBlue)) << header << "/" << d.bits;
      EXPECT_TRUE(Near(canvas.At(2, 3), mono ? kRed : RGB(0, 255, 0))) << header << "/" << d.bits;
      EXPECT_TRUE(Near(canvas.At(3, 3), mono ? kBlue : RGB(255, 255, 255))) << header << "/" << d.bits;
      EXPECT_EQ(canvas.At(4, 4), RGB(255, 255, 255));  // untouched
      EXPECT_EQ(canvas.At(1, 1), RGB(255, 255, 255));
    }
  }
  // Stretched to the rectangle, and tiled with the clip at its edge.
  const std::vector<uint8_t> dib = TestImage(40, 24, false);
  const auto* image = reinterpret_cast<const BITMAPINFOHEADER*>(dib.data());
  DibCanvas canvas(8, 8);
  DrawContext context;
  context.AttachDC(canvas.dc());
  ASSERT_TRUE(context.StretchDib(0, 0, 3, 3, image, 1, 100, 100));
  EXPECT_EQ(canvas.At(1, 1), kRed);
  EXPECT_EQ(canvas.At(2, 1), kBlue);
  ASSERT_TRUE(context.StretchDib(4, 4, 6, 6, image, 2, 100, 100));
  EXPECT_EQ(canvas.At(6, 6), kRed);  // the second tile, cut at the rectangle
  EXPECT_EQ(canvas.At(7, 7), RGB(255, 255, 255));
}

struct TextOut {
  int x;
  int count;
};
int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM param) {
  if (record->iType == EMR_EXTTEXTOUTW || record->iType == EMR_EXTTEXTOUTA) {
    const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
    reinterpret_cast<std::vector<TextOut>*>(param)->push_back({text->emrtext.ptlReference.x,
                                                               static_cast<int>(text->emrtext.nChars)});
  }
  return 1;
}

TEST(DrawContext, CellTextRecordedInAMetafileStandsAtTheAnchorOfItsAlignment) {
  NumberFormat tokens;
  tokens.AddString("abc", 0);
  for (int horizontal : {kAlignLeft, kAlignCentre, kAlignRight}) {
    HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(recorder);
    int32_t width = 0;
    {
      DrawContext context;
      context.AttachDC(recorder);
      FontRecord font;
      CopyDefaultFont(&font);
      ASSERT_TRUE(context.SelectFont(font, 0, 100));
      int32_t height = 0;
      ASSERT_TRUE(context.TextExtent("abc", 3, &width, &height));
      ASSERT_TRUE(context.SetTextAlign(horizontal, kAlignTop));
      ASSERT_TRUE(context.DrawCellText(100, 10, tokens, 80, 0));
    }
    HENHMETAFILE recording = CloseEnhMetaFile(recorder);
    std::vector<TextOut> outs;
    EnumEnhMetaFile(nullptr, recording, CollectText, &outs, nullptr);
    DeleteEnhMetaFile(recording);
    ASSERT_EQ(outs.size(), 1u) << horizontal;
    EXPECT_EQ(outs[0].count, 3);
    const int expected = horizontal == kAlignLeft    ? 100
                         : horizontal == kAlignRight ? 101
                                                     : 100 - (width - 1) / 2 + width / 2;
    EXPECT_EQ(outs[0].x, expected) << horizontal;
  }
}

// The portable build's measurer must agree with Windows for the screen font
// and for Arial, which every default rests on.
TEST(DrawContext, ThePortableMetricsAreThoseOfWindows) {
  DrawContext screen;
  ASSERT_TRUE(screen.AttachWindow(nullptr));
  SheetFormat* format = new SheetFormat;
  EXPECT_EQ(GetDefaultColumnWidth(format, screen.Measurer()), 63);
  EXPECT_EQ(GetDefaultRowHeight(format, screen.Measurer()), 18);
  delete format;

  PortableTextMeasurer portable;
  const char* texts[] = {"X", "C", "99", "9999999", "Total: 1,234.50", "abc def"};
  for (uint8_t points : {8, 10, 12, 14}) {  // larger sizes may differ by a pixel
    FontRecord font;
    CopyDefaultFont(&font);
    font.size = points;
    ASSERT_TRUE(screen.SelectFont(font, 0, 100));
    portable.Measurer().SelectFont(font, 0, 100);
    for (const char* text : texts) {
      int32_t w = 0, h = 0, pw = 0, ph = 0;
      ASSERT_TRUE(screen.Measurer().MeasureLine(text, std::strlen(text), &w, &h));
      portable.Measurer().MeasureLine(text, std::strlen(text), &pw, &ph);
      EXPECT_EQ(pw, w) << text << " at " << int(points);
      EXPECT_EQ(ph, h) << text << " at " << int(points);
    }
  }
}

// A renderer that paints each band's rows grey, lighter band by band, and
// fails on the band given.
struct FakeFractal {
  static inline std::vector<uint8_t> image;
  static inline std::vector<BackgroundBand> bands;
  static inline uint32_t failAt = 0xFFFFFFFF;
  static bool Render(BackgroundImage* holder, uint32_t first, uint32_t last, int32_t width, int32_t height,
                     const FractalParameters&) {
    if (first >= failAt)
      return false;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    if (!holder->dib) {
      image.assign(sizeof(BITMAPINFOHEADER) + stride * height, 0);
      auto* h = reinterpret_cast<BITMAPINFOHEADER*>(image.data());
      h->biSize = sizeof *h;
      h->biWidth = width;
      h->biHeight = -height;
      h->biPlanes = 1;
      h->biBitCount = 24;
      holder->dib = image.data();
    }
    const uint8_t grey = static_cast<uint8_t>(10 * (bands.size() + 1));
    for (uint32_t row = first; row <= last; ++row)
      std::memset(image.data() + sizeof(BITMAPINFOHEADER) + stride * row, grey, static_cast<size_t>(width) * 3);
    bands.push_back({first, last});
    return true;
  }
};

TEST(DrawContext, FractalBackgroundsGrowBandByBandAndImagesAreStretched) {
  DibCanvas canvas(40, 40);
  DrawContext context;
  context.AttachDC(canvas.dc());
  FractalParameters parameters = {};
  BackgroundImage holder;
  FakeFractal::bands.clear();
  ASSERT_TRUE(context.DrawBackground(5, 5, 34, 34, &holder, parameters, FakeFractal::Render));
  ASSERT_EQ(FakeFractal::bands.size(), 10u);  // 30 rows, bands of 3
  EXPECT_EQ(FakeFractal::bands[0].first, 0u);
  EXPECT_EQ(FakeFractal::bands[0].last, 2u);
  EXPECT_EQ(canvas.At(5, 5), RGB(10, 10, 10));
  EXPECT_EQ(canvas.At(34, 34), RGB(100, 100, 100));
  EXPECT_EQ(canvas.At(4, 4), RGB(255, 255, 255));

  // With an image, the image stretched and nothing rendered.
  FakeFractal::bands.clear();
  ASSERT_TRUE(context.DrawBackground(0, 0, 9, 9, &holder, parameters, FakeFractal::Render));
  EXPECT_TRUE(FakeFractal::bands.empty());
  EXPECT_EQ(canvas.At(0, 0), RGB(10, 10, 10));
  EXPECT_EQ(canvas.At(9, 9), RGB(100, 100, 100));

  // A failed band stops the growth.
  BackgroundImage fresh;
  FakeFractal::failAt = 6;
  EXPECT_FALSE(context.DrawBackground(5, 5, 34, 34, &fresh, parameters, FakeFractal::Render));
  EXPECT_EQ(FakeFractal::bands.size(), 2u);
  FakeFractal::failAt = 0xFFFFFFFF;
}

TEST(DrawContext, ShapesCoverTheirInclusiveRectangles) {
  DibCanvas canvas(40, 20);
  DrawContext context;
  context.AttachDC(canvas.dc());
  ASSERT_TRUE(context.SelectPen(1, kBlue, 100));
  ASSERT_TRUE(context.SelectBrush(1, kRed, kRed));
  ASSERT_TRUE(context.FillRectFramed(RECT{2, 2, 8, 8}));
  ASSERT_TRUE(context.Ellipse(20, 2, 30, 12));
  ASSERT_TRUE(context.Line(0, 15, 5, 15));
  context.SetTextColor(RGB(0, 255, 0));
  ASSERT_TRUE(context.SetPixel(35, 5));
  struct Pixel {
    int x, y;
    COLORREF colour;
  } pixels[] = {
      {2, 2, kBlue},  {8, 8, kBlue},   {5, 5, kRed},  {9, 9, RGB(255, 255, 255)},  // the framed fill
      {25, 7, kRed},  {30, 7, kBlue},  {31, 7, RGB(255, 255, 255)},                // the ellipse's right edge
      {0, 15, kBlue}, {4, 15, kBlue},  {35, 5, RGB(0, 255, 0)},
  };
  for (const Pixel& p : pixels) EXPECT_EQ(canvas.At(p.x, p.y), p.colour) << p.x << "," << p.y;
}

}  // namespace
