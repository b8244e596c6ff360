#ifndef TALVERO_VIEW_SHEET_PLACEMENT_H
#define TALVERO_VIEW_SHEET_PLACEMENT_H

// Which pages of the page list go on which sheet of paper and where: the
// page rectangle is cut into pages-per-sheet places filled row by row, each
// place narrowed by the gaps, each page put in its place by the alignment
// bits. Plain arithmetic, shared by printing and its tests.

#include <cstdint>

#include "core/model/page_list.h"
#include "core/model/page_settings.h"
#include "view/draw_context/rect_margins.h"
#include "view/printing/header_footer_codes.h"
#include "view/printing/print_frame.h"

// Alignment bits of a page in its place; 0 is left and top.
constexpr uint8_t kAlignPageLeft = 1;
constexpr uint8_t kAlignPageCentre = 2;
constexpr uint8_t kAlignPageRight = 4;
constexpr uint8_t kAlignPageTop = 8;
constexpr uint8_t kAlignPageMiddle = 16;
constexpr uint8_t kAlignPageBottom = 32;

// The page's rectangle (inclusive, width x height) in the place.
PixelRect AlignPageInPlace(const PixelRect& place, uint32_t width, uint32_t height, uint8_t alignment);

struct PlacedPage {
  uint32_t listIndex;  // from 0
  PageRecord page;
  PixelRect target;
};
using PlacedPageVisitor = void (*)(void* context, const PlacedPage& placed);

// The selected pages that sheet sheetIndex (from 0) holds, in place order,
// each handed to the visitor (when given); info (when given) is filled for
// the header and footer codes. Returns how many pages the sheet holds.
uint32_t PlaceSheetPages(const PageList& list, const PageSettings& settings, const PrintFrame& frame,
                         const PrintZoom& zoom, uint32_t sheetIndex, PrintedSheetInfo* info,
                         PlacedPageVisitor visitor, void* context);

// Sheets of paper the selected pages of the list fill.
uint32_t CountPrintedSheets(const PageList& list, const PageSettings& settings);

#endif
