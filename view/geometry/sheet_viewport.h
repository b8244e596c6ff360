#ifndef TALVERO_VIEW_SHEET_VIEWPORT_H
#define TALVERO_VIEW_SHEET_VIEWPORT_H

// What the scroll arithmetic knows of a view: its worksheet, its client
// size, its zooms and its header bands (measured once, at zoom 100), and the
// frozen row and column of the worksheet.

#include <cstdint>

#include "core/styles/text_measurer.h"

class CWorkSheet;

struct SheetViewport {
  CWorkSheet* sheet;
  int32_t clientWidth;   // right - left of the client rectangle
  int32_t clientHeight;  // bottom - top
  uint16_t zoomX;        // for widths
  uint16_t zoomY;        // for heights
  int32_t columnHeaderHeight;
  int32_t rowHeaderWidths[8];  // by digit count, 2 to 7
};

// The header bands measured through the measurer (the screen's, for a view).
SheetViewport MakeSheetViewport(CWorkSheet* sheet, const TextMeasurer& measurer, int32_t clientWidth,
                                int32_t clientHeight, uint16_t zoomX, uint16_t zoomY);

struct FrozenPanes {
  bool row;
  bool column;
  uint32_t frozenRow;
  uint16_t frozenColumn;
};
FrozenPanes GetFrozenPanes(const CWorkSheet* sheet);

// The pixels left for scrolling rows: the client height + 1, less the frozen
// row's height + 1, less the column header band; at least 0.
int64_t AvailableHeight(const SheetViewport& view);
// The pixels left for scrolling columns: the client width + 1, less the
// frozen column's width + 1, less the row header band as wide as the last
// partly visible row from firstRow needs; at least 0.
int64_t AvailableWidth(const SheetViewport& view, uint32_t firstRow);
// The same, with the header band as wide as lastRow needs.
int64_t AvailableWidthForLastRow(const SheetViewport& view, uint32_t lastRow);

#endif
