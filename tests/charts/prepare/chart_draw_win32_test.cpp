// A chart drawn on a real device through the drawing context's surface:
// what the display lists promise reaches the pixels.

#include <gtest/gtest.h>

#include <cstring>

#include "charts/prepare/chart_prepare.h"
#include "tests/charts/support/chart_test_data.h"
#include "tests/view/dib_canvas_win32.h"
#include "view/painting/draw_context_surface.h"

namespace {

constexpr COLORREF kWall = RGB(224, 240, 255);
constexpr COLORREF kColumns = RGB(200, 0, 0);

// Whether some pixel of the inclusive rectangle has exactly the colour.
bool AnyPixelOf(const DibCanvas& canvas, COLORREF colour, int left, int top, int right, int bottom) {
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x)
      if (canvas.At(x, y) == colour)
        return true;
  return false;
}

bool AnyDarkPixel(const DibCanvas& canvas, int left, int top, int right, int bottom) {
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) {
      const COLORREF c = canvas.At(x, y);
      if (GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128)
        return true;
    }
  return false;
}

TEST(ChartDraw, WallAxesTitlesAndLegendReachTheDevice) {
  auto chart = NewChart(kChart2D);
  SetSeries(*chart, 0, kSeriesCategories, kViewColumn).axisType = 1;
  SeriesRecord& values = SetSeries(*chart, 1, kSeriesData, kViewColumn);
  values.axisType = 1;
  values.periods = 5;
  values.fill.patternColorSet = 1;
  values.fill.patternColor = kColumns;
  SetName(values, "Sales");
  chart->options.wallFill.patternColorSet = 1;
  chart->options.wallFill.patternColor = kWall;
  chart->options.legend = 5;
  std::strcpy(chart->options.titleText, "&cTitle");
  TestArrays arrays;
  arrays.AddTexts({"North", "South"});
  arrays.AddNumbers({2, 9});
  ASSERT_TRUE(arrays.LoadInto(*chart));

  DibCanvas canvas(400, 300);
  DrawContext context;
  context.AttachDC(canvas.dc());
  {
    DrawContextSurface surface(&context);
    EXPECT_FALSE(surface.Surface().IsPrinting());
    const PixelRect slot = {0, 0, 399, 299};
    ASSERT_TRUE(Prepare(*chart, surface.Surface(), slot, 100, 100));
    Draw(*chart, slot, surface.Surface());
  }
  context.RestoreObjects();

  ChartLayout layout;
  AxisTable axes;
  LoadLayout(*chart, &layout, &axes);
  const int plotLeft = layout.margins.left;
  const int plotTop = layout.margins.top;
  const int middleY = plotTop + layout.plotHeight / 2 + 3;
  EXPECT_EQ(canvas.At(plotLeft + layout.plotWidth / 3, middleY), kWall);
  // The axis line one tick and a gap left of the plot, and its labels.
  EXPECT_TRUE(AnyDarkPixel(canvas, plotLeft - 14, middleY, plotLeft - 12, middleY));
  EXPECT_TRUE(AnyDarkPixel(canvas, 0, plotTop, plotLeft - 16, plotTop + layout.plotHeight));
  EXPECT_TRUE(AnyDarkPixel(canvas, 150, 0, 250, plotTop - 1));  // the centred title
  const int legendLeft = plotLeft + layout.plotWidth + 2;
  EXPECT_TRUE(AnyPixelOf(canvas, kColumns, legendLeft, plotTop, 399, plotTop + layout.plotHeight));
}

TEST(ChartDraw, APrinterContextIsSeenByTheCharts) {
  DibCanvas canvas(8, 8);
  DrawContext context;
  context.AttachDC(canvas.dc());
  context.SetPrinting(true, false);
  DrawContextSurface surface(&context);
  EXPECT_TRUE(surface.Surface().IsPrinting());
}

}  // namespace
