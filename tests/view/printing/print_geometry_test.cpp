#include "view/printing/print_geometry.h"

#include <gtest/gtest.h>

#include <limits>

#include "view/printing/sheet_placement.h"

namespace {

// A4 at 600 dots per inch with 18-point unprintable edges, as the test
// printer reports it.
constexpr PrinterMetrics kA4 = {4960, 7016, 150, 150, 210, 297, 600, 600};

PageSettings Defaults() {
  PageSettings settings;
  InitPageSettings(&settings);
  return settings;
}

TEST(PrintGeometry, ZoomIsPrinterPixelsPerScreenPixelTimesTheScale) {
  struct Case {
    int32_t printerX, printerY, screenX, screenY;
    uint16_t scale;
    uint16_t zoomX, zoomY;
  } cases[] = {
      {600, 600, 96, 96, 100, 625, 625},
      {600, 300, 96, 120, 100, 625, 250},
      {600, 600, 96, 96, 50, 312, 312},
      {600, 600, 96, 96, 1000, 6250, 6250},
      {1200, 1200, 96, 96, 1000, 12500, 12500},
  };
  for (const Case& c : cases) {
    PrinterMetrics printer = kA4;
    printer.pixelsPerInchX = c.printerX;
    printer.pixelsPerInchY = c.printerY;
    PrintZoom zoom = {};
    ASSERT_TRUE(ComputePrintZoom(printer, c.screenX, c.screenY, c.scale, &zoom));
    EXPECT_EQ(zoom.x, c.zoomX) << c.printerX << " " << c.scale;
    EXPECT_EQ(zoom.y, c.zoomY) << c.printerY << " " << c.scale;
  }
  PrintZoom zoom = {};
  EXPECT_FALSE(ComputePrintZoom(kA4, 0, 96, 100, &zoom));
}

TEST(PrintGeometry, MarginsAcrossGoByTheWidthAndDistancesDownByTheHeight) {
  PageSettings settings = Defaults();
  settings.marginLeft = 20;
  settings.marginRight = 10;
  settings.marginTop = 30;
  settings.marginBottom = 15;
  settings.headerMargin = 12;
  settings.footerMargin = 8;
  PrintFrame frame = {};
  ASSERT_TRUE(ComputePrintFrame(kA4, settings, &frame));
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.top, 0);
  EXPECT_EQ(frame.right, 4960 - 150);
  EXPECT_EQ(frame.bottom, 7016 - 150);
  EXPECT_EQ(frame.marginLeft, 4960 * 20 / 210 - 150);
  EXPECT_EQ(frame.marginTop, 7016 * 30 / 297 - 150);
  EXPECT_EQ(frame.marginRight, 4960 * 10 / 210);
  EXPECT_EQ(frame.marginBottom, 7016 * 15 / 297);
  // The header lies as far below the paper's top edge as the footer lies
  // above its bottom edge when both distances are equal; measured across,
  // the header would stand higher on the tall page.
  EXPECT_EQ(frame.headerLine, 7016 * 12 / 297 - 150);
  EXPECT_EQ(frame.footerLine, frame.bottom - 7016 * 8 / 297);
  settings.footerMargin = settings.headerMargin;
  ASSERT_TRUE(ComputePrintFrame(kA4, settings, &frame));
  EXPECT_EQ(frame.headerLine + 150, 7016 - (frame.footerLine + 150));

  PrinterMetrics noPaper = kA4;
  noPaper.heightMm = 0;
  EXPECT_FALSE(ComputePrintFrame(noPaper, settings, &frame));
}

// Whatever a file or a client stored, the frame comes out in pixels that
// rendering can add and subtract: lengths beyond the paper and lengths that
// are not numbers leave no room; lengths far below zero stay bounded too.
TEST(PrintGeometry, LengthsOfAnySizeGiveABoundedFrame) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double length;
    bool room;
  } cases[] = {{300, false}, {99999999, false}, {1e308, false},    {std::numeric_limits<double>::max(), false},
               {inf, false}, {nan, false},      {-99999999, true}, {-1e308, true},
               {-inf, true}};
  // The header and footer lines only ever move off the paper.
  double PageSettings::*const lengths[] = {&PageSettings::marginLeft,   &PageSettings::marginRight,
                                           &PageSettings::marginTop,    &PageSettings::marginBottom,
                                           &PageSettings::headerMargin, &PageSettings::footerMargin};
  for (double PageSettings::*field : lengths) {
    const bool margin = field != &PageSettings::headerMargin && field != &PageSettings::footerMargin;
    for (const auto& c : cases) {
      PageSettings settings = Defaults();
      settings.*field = c.length;
      PrintFrame f = {};
      ASSERT_TRUE(ComputePrintFrame(kA4, settings, &f));
      for (int32_t v : {f.right, f.bottom, f.marginLeft, f.marginTop, f.marginRight, f.marginBottom, f.headerLine,
                        f.footerLine})
        EXPECT_TRUE(v >= -(1 << 29) && v <= (1 << 29)) << c.length << " gave " << v;
      EXPECT_EQ(PrintFrameHasRoom(f), c.room || !margin) << c.length;
    }
  }
  // Margins that just meet leave no width; one pixel less leaves some.
  PrintFrame frame = {0, 0, 99, 99, 50, 0, 49, 0, 0, 0};
  EXPECT_FALSE(PrintFrameHasRoom(frame));
  frame.marginRight = 48;
  EXPECT_TRUE(PrintFrameHasRoom(frame));
}

TEST(PrintGeometry, FivePagesTwoAcrossOneDownFillThreeSheets) {
  PageList list;
  for (uint32_t i = 0; i < 5; ++i) {
    PageRecord page = {};
    page.firstRow = i * 50;
    page.lastRow = i * 50 + 49;
    page.selected = 1;
    ASSERT_TRUE(list.Append(page));
  }
  PageSettings settings = Defaults();
  settings.pagesPerSheetColumns = 2;
  settings.pagesPerSheetRows = 1;
  EXPECT_EQ(CountPrintedSheets(list, settings), 3u);
  // Only the pages marked for printing count.
  PageRecord page;
  ASSERT_TRUE(list.Get(4, &page));
  page.selected = 0;
  ASSERT_TRUE(list.Put(4, page));
  EXPECT_EQ(CountPrintedSheets(list, settings), 2u);
}

}  // namespace
