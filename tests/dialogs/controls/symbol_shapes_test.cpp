#include "dialogs/controls/symbol_shapes.h"

#include <gtest/gtest.h>

namespace {

TEST(SymbolShapes, SizesFollowTheSymbolNumbers) {
  const struct {
    uint32_t symbol;
    uint8_t kind;
    int count;
    int32_t x0, y0;  // the first point
  } cases[] = {
      {1, kSymbolPixel, 1, 0, 0},      {2, kSymbolPolygon, 4, -1, -1},   {5, kSymbolPolygon, 4, -4, -4},
      {6, kSymbolPolygon, 4, -2, 0},   {8, kSymbolPolygon, 4, -4, 0},    {9, kSymbolPolygon, 8, -2, 1},
      {10, kSymbolPolygon, 8, -3, 1},  {11, kSymbolPolygon, 8, -4, 2},   {12, kSymbolSegments, 8, 0, -3},
      {13, kSymbolSegments, 8, 0, -4}, {14, kSymbolSegments, 4, -2, -2}, {15, kSymbolSegments, 4, -3, -3},
      {0, kSymbolNone, 0, 0, 0},       {16, kSymbolNone, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const SymbolShape shape = GetSymbolShape(c.symbol);
    EXPECT_EQ(shape.kind, c.kind) << c.symbol;
    EXPECT_EQ(shape.count, c.count) << c.symbol;
    if (c.count > 0) {
      EXPECT_EQ(shape.x[0], c.x0) << c.symbol;
      EXPECT_EQ(shape.y[0], c.y0) << c.symbol;
    }
  }
  // The asterisk's strokes are 2h + 1 pixels long: the end pixel is not drawn.
  const SymbolShape star = GetSymbolShape(12);
  EXPECT_EQ(star.y[1] - star.y[0], 7);
  EXPECT_EQ(star.x[5], 3);
  EXPECT_EQ(star.y[5], 3);
}

}  // namespace
