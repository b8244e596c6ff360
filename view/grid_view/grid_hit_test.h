#ifndef TALVERO_VIEW_GRID_HIT_TEST_H
#define TALVERO_VIEW_GRID_HIT_TEST_H

// What a left-button press on a grid view's client pixel hits. The seven
// tests run in a fixed order and the first that matches wins: containers,
// the selection's frame, a cell, a column header, a row header, a column
// border, a row border.

#include <cstdint>

#include "view/geometry/sheet_viewport.h"
#include "view/painting/selection_painter.h"

enum class GridHitKind : uint8_t {
  kNone,
  kContainer,
  kSelectionFrame,
  kCell,
  kColumnHeader,
  kRowHeader,
  kColumnBorder,
  kRowBorder,
};

struct GridHit {
  GridHitKind kind;
  uint16_t containerId;
  uint16_t column;
  uint32_t row;
  // A border's column (row): its left (top) pixel and left + width + 1.
  int32_t edgeStart;
  int32_t edgeEnd;
};

// What the tests look at: the view, its scroll position and its selection
// (current cell to selection end, not normalised).
struct GridHitInput {
  const SheetViewport* view;
  uint32_t firstRow;
  uint16_t firstColumn;
  uint32_t currentColumn;
  uint32_t currentRow;
  uint32_t endColumn;
  uint32_t endRow;
};

// The last container of the worksheet's list whose rectangle (edges
// included) holds the point inside the cell area; when moveToEnd it is moved
// to the end of the list, the others keeping their order.
bool HitTestContainer(const GridHitInput& in, int32_t x, int32_t y, bool moveToEnd, uint16_t* id);
// Spanning more than two rows: a band 8 pixels wide inside each edge of the
// selection's rectangle; otherwise its top edge down to 4 pixels below.
bool HitTestSelectionFrame(const GridHitInput& in, int32_t x, int32_t y);
bool HitTestCell(const GridHitInput& in, int32_t x, int32_t y, uint32_t* row, uint16_t* column);
bool HitTestColumnHeader(const GridHitInput& in, int32_t x, int32_t y, uint16_t* column);
bool HitTestRowHeader(const GridHitInput& in, int32_t x, int32_t y, uint32_t* row);
bool HitTestColumnBorder(const GridHitInput& in, int32_t x, int32_t y, uint16_t* column, int32_t* left,
                         int32_t* end);
bool HitTestRowBorder(const GridHitInput& in, int32_t x, int32_t y, uint32_t* row, int32_t* top, int32_t* end);

// All seven in order; a container hit is moved to the end of the list.
GridHit HitTestGrid(const GridHitInput& in, int32_t x, int32_t y);

#endif
