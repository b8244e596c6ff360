#include "dialogs/controls/symbol_shapes.h"

namespace {

void Add(SymbolShape* shape, int32_t x, int32_t y) {
  shape->x[shape->count] = x;
  shape->y[shape->count] = y;
  ++shape->count;
}

void Diagonals(SymbolShape* shape, int32_t h) {
  Add(shape, -h + 1, -h + 1), Add(shape, h, h);
  Add(shape, -h + 1, h - 1), Add(shape, h, -h);
}

}  // namespace

SymbolShape GetSymbolShape(uint32_t symbol) {
  SymbolShape shape{};
  if (symbol == 1) {
    shape.kind = kSymbolPixel;
    Add(&shape, 0, 0);
  } else if (symbol >= 2 && symbol <= 5) {
    const int32_t h = (3 + 2 * static_cast<int32_t>(symbol - 2)) / 2;
    shape.kind = kSymbolPolygon;
    Add(&shape, -h, -h), Add(&shape, h, -h), Add(&shape, h, h), Add(&shape, -h, h);
  } else if (symbol >= 6 && symbol <= 8) {
    const int32_t h = (5 + 2 * static_cast<int32_t>(symbol - 6)) / 2;
    shape.kind = kSymbolPolygon;
    Add(&shape, -h, 0), Add(&shape, 0, -h), Add(&shape, h, 0), Add(&shape, 0, h);
  } else if (symbol >= 9 && symbol <= 11) {
    shape.kind = kSymbolPolygon;
    // Sizes 5 and 7 cut the corners by one pixel, size 9 by two.
    const int32_t r = symbol == 9 ? 2 : symbol == 10 ? 3 : 4;
    const int32_t c = symbol == 11 ? 2 : 1;
    Add(&shape, -r, c), Add(&shape, -r, -c), Add(&shape, -c, -r), Add(&shape, c, -r);
    Add(&shape, r, -c), Add(&shape, r, c), Add(&shape, c, r), Add(&shape, -c, r);
  } else if (symbol >= 12 && symbol <= 15) {
    const int32_t h = (symbol == 12 || symbol == 14 ? 7 : 9) / 2;
    shape.kind = kSymbolSegments;
    if (symbol <= 13) {
      Add(&shape, 0, -h), Add(&shape, 0, h + 1);
      Add(&shape, -h, 0), Add(&shape, h + 1, 0);
    }
    Diagonals(&shape, h);
  }
  return shape;
}
