#ifndef TALVERO_VIEW_SELECTION_PAINTER_H
#define TALVERO_VIEW_SELECTION_PAINTER_H

// The selection is drawn by inverting the screen, so that moving it repaints
// nothing else: a call with the old and the new range inverts only what lies
// in one and not in the other, and a range alone, drawn twice, leaves the
// screen as it was.

#include <cstdint>

#include "view/painting/paint_surface.h"

class CWorkSheet;

struct SelectionRange {
  uint32_t firstColumn;
  uint32_t firstRow;
  uint32_t lastColumn;
  uint32_t lastRow;
};

constexpr uint32_t kSelectionHeadingColour = 0x006464;   // RGB(100, 100, 0)
constexpr uint32_t kSelectionInteriorColour = 0x003232;  // RGB(50, 50, 0)

// Either range may be null. The frozen row and column are never inverted.
void DrawSelection(const PaintSurface& surface, const PixelRect& area, CWorkSheet* sheet, uint32_t firstRow,
                   uint16_t firstColumn, const SelectionRange* a, const SelectionRange* b, uint16_t zoomX,
                   uint16_t zoomY);

// The frame and eight handles of a selected container.
void DrawSelectionHandles(const PaintSurface& surface, const PixelRect& rect);

#endif
