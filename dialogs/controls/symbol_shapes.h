#ifndef TALVERO_DIALOGS_SYMBOL_SHAPES_H
#define TALVERO_DIALOGS_SYMBOL_SHAPES_H

// The marker symbols 1 to 15 as the symbol combo draws them, in pixels
// around the item's centre: a pixel, squares, diamonds and octagons as
// closed polygons, asterisks and crosses as line segments (each segment's
// end pixel left out, as lines are drawn).

#include <cstdint>

enum SymbolShapeKind : uint8_t {
  kSymbolNone = 0,
  kSymbolPixel = 1,
  kSymbolPolygon = 2,
  kSymbolSegments = 3,
};

struct SymbolShape {
  uint8_t kind;
  int count;  // polygon corners, or segment end points (two per segment)
  int32_t x[8];
  int32_t y[8];
};

// kSymbolNone for a value outside 1 to 15.
SymbolShape GetSymbolShape(uint32_t symbol);

#endif
