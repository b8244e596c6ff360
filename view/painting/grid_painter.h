#ifndef TALVERO_VIEW_GRID_PAINTER_H
#define TALVERO_VIEW_GRID_PAINTER_H

// Turns a worksheet into pixels: background, headings, every visible cell
// with its fill, its formatted text running over empty neighbours, its
// markers and grid lines, then the borders and the containers. One painter
// serves a workbook; its border queue keeps its pages between paints.
//
// Pixel layout: the column-heading band is ch pixels high, the row-heading
// band rw wide; the first row's top grid line lies at top + ch + 1, the first
// column's left grid line at left + rw + 1; a cell of width w and height h
// at grid lines (x, y) covers x + 1 .. x + w by y + 1 .. y + h.

#include <cstdint>

#include "core/model/container_record.h"
#include "view/painting/border_queue.h"
#include "view/painting/paint_surface.h"

class CWorkBook;
class CWorkSheet;

// Column flags of a row being painted.
constexpr uint8_t kColumnRightLine = 1;
constexpr uint8_t kColumnBottomLine = 2;
constexpr uint8_t kColumnBottomCrossing = 4;  // the bottom line reaches the right edge's pixel
constexpr uint8_t kColumnFree = 8;            // no neighbour's text covers it
constexpr uint8_t kColumnAllFlags = 15;

// Marker corners.
constexpr int kCornerTopLeft = 0;
constexpr int kCornerTopRight = 1;
constexpr int kCornerBottomRight = 2;
constexpr int kCornerBottomLeft = 3;

// Marker colours: formulas and drop-down lists.
constexpr uint32_t kFormulaMarkerColour = 0x00BE00;   // RGB(0, 190, 0)
constexpr uint32_t kDropDownMarkerColour = 0xBE0000;  // RGB(0, 0, 190)

// The print form of PaintCells: a page's own last row and column and heading
// sizes instead of those of the area, rows and columns that print leaves out
// (they take no room), the grid in the given colour, borders at the smaller
// zoom; no background, headings or containers, which the page painter draws
// itself.
struct PrintedCells {
  uint32_t lastRow;
  uint16_t lastColumn;
  int32_t rowHeaderWidth;
  int32_t columnHeaderHeight;
  uint32_t gridColour;
  bool (*rowLeftOut)(const void* context, uint32_t row);
  bool (*columnLeftOut)(const void* context, uint32_t column);
  const void* context;
};

class GridPainter {
 public:
  explicit GridPainter(CWorkBook* workbook) : workbook_(workbook) {}

  void PaintCells(const PaintSurface& surface, const PixelRect& area, CWorkSheet* sheet, uint32_t firstRow,
                  uint16_t firstColumn, uint16_t zoomX, uint16_t zoomY);
  void PaintBackground(const PaintSurface& surface, CWorkSheet* sheet, const PixelRect& rect);
  void PaintHeaders(const PaintSurface& surface, const PixelRect& area, CWorkSheet* sheet, uint16_t firstColumn,
                    uint32_t firstRow, uint16_t lastColumn, uint32_t lastRow, int32_t rowHeaderWidth,
                    int32_t columnHeaderHeight, uint16_t zoomX, uint16_t zoomY);
  void DrawCellMarker(const PaintSurface& surface, const PixelRect& box, uint32_t colour, int corner,
                      uint16_t zoomX, uint16_t zoomY);
  static void DrawBorders(const PaintSurface& surface, const BorderQueue& queue, uint16_t zoom);
  void PaintObjects(const PaintSurface& surface, const PixelRect& cellArea, CWorkSheet* sheet,
                    uint16_t firstColumn, uint32_t firstRow, uint16_t zoomX, uint16_t zoomY);
  // One container into its rectangle, through the installed object painters
  // (object_painters.h) with the workbook's images; nothing without them.
  void DrawContainer(const PaintSurface& surface, ContainerRecord* container, const PixelRect& rect, uint16_t zoomX,
                     uint16_t zoomY);

  BorderQueue& Borders() { return borders_; }

  // The two program options the view copies in before each paint.
  uint8_t showFormulas = 0;
  uint8_t hideCellMarkers = 0;
  // Set by the page painter for the pages it paints; null on the screen.
  const PrintedCells* printForm = nullptr;
  // Set by the grid view, whose window is not erased before it paints: what
  // the background leaves bare is painted in the window colour. An image's
  // bitmap starts white, and paper is.
  bool onScreen = false;

 private:
  struct RowPass;
  void PaintRow(RowPass& pass, uint32_t row, int32_t y);
  void PaintCell(RowPass& pass, uint16_t column, int32_t x, bool frozen);
  void FillBox(RowPass& pass, uint16_t boxFirst, uint16_t boxLast, const PixelRect& box, const FillRecord& fill,
               bool frozen);
  void PaintGridLines(RowPass& pass, int32_t y, int32_t h);
  bool ColumnLeftOut(uint32_t column) const {
    return printForm && printForm->columnLeftOut(printForm->context, column);
  }
  // A column's room with its grid line; none for one left out of print.
  int32_t ColumnStep(CWorkSheet* sheet, uint32_t column, uint16_t zoomX) const;

  // The decoded picture of an image background; null for any other
  // background or a picture that cannot be had.
  const void* BackgroundPicture(CWorkSheet* sheet) const;

  CWorkBook* workbook_;
  BorderQueue borders_;
};

#endif
