#include "view/printing/sheet_placement.h"

namespace {

// A stored record may hold 0 pages per sheet in either direction, which
// pagination refuses; printing reads such a count as 1.
uint32_t AtLeastOne(uint8_t count) { return count ? count : 1; }

}  // namespace

PixelRect AlignPageInPlace(const PixelRect& place, uint32_t width, uint32_t height, uint8_t alignment) {
  const int64_t w = width;
  const int64_t h = height;
  int64_t left = place.left;
  if (alignment & kAlignPageCentre)
    left = place.left + (place.right - w - place.left + 1) / 2;
  else if (alignment & kAlignPageRight)
    left = place.right - w + 1;
  int64_t top = place.top;
  if (alignment & kAlignPageMiddle)
    top = place.top + (place.bottom - h - place.top + 1) / 2;
  else if (alignment & kAlignPageBottom)
    top = place.bottom - h + 1;
  return {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(left + w - 1),
          static_cast<int32_t>(top + h - 1)};
}

uint32_t PlaceSheetPages(const PageList& list, const PageSettings& settings, const PrintFrame& frame,
                         const PrintZoom& zoom, uint32_t sheetIndex, PrintedSheetInfo* info,
                         PlacedPageVisitor visitor, void* context) {
  const uint32_t rows = AtLeastOne(settings.pagesPerSheetRows);
  const uint32_t columns = AtLeastOne(settings.pagesPerSheetColumns);
  const PixelRect rect = PageRectOf(frame);
  const int32_t gapX = HorizontalPageGap(static_cast<uint8_t>(rows), static_cast<uint8_t>(columns), zoom.x);
  const int32_t gapY = VerticalPageGap(static_cast<uint8_t>(rows), static_cast<uint8_t>(columns), zoom.y);
  const int32_t placeWidth = static_cast<int32_t>((static_cast<int64_t>(rect.right) - rect.left) / columns);
  const int32_t placeHeight = static_cast<int32_t>((static_cast<int64_t>(rect.bottom) - rect.top) / rows);
  const uint64_t perSheet = static_cast<uint64_t>(rows) * columns;
  const uint64_t first = perSheet * sheetIndex;

  if (info) {
    info->pageCount = list.Count();
    info->sheetNumber = sheetIndex + 1;
    info->pages[0] = 0;
  }
  uint32_t recorded = 0;
  uint32_t placed = 0;
  uint64_t selectedIndex = 0;
  PageRecord page;
  for (uint32_t i = 0; i < list.Count() && placed < perSheet; ++i) {
    if (!list.Get(i, &page) || !page.selected)
      continue;
    const uint64_t position = selectedIndex++;
    if (position < first)
      continue;
    const uint32_t slot = static_cast<uint32_t>(position - first);
    const int32_t r = static_cast<int32_t>(slot / columns);
    const int32_t c = static_cast<int32_t>(slot % columns);
    PixelRect place = {rect.left + c * placeWidth, rect.top + r * placeHeight, 0, 0};
    place.right = place.left + placeWidth;
    place.bottom = place.top + placeHeight;
    InflateRectBy(&place, -gapX, -gapY, -gapX, -gapY);
    if (info && recorded < kPrintedSheetMaxPages) {
      info->pages[recorded++] = i + 1;
      info->pages[recorded] = 0;
    }
    if (visitor)
      visitor(context, {i, page, AlignPageInPlace(place, page.width, page.height, settings.alignment)});
    ++placed;
  }
  return placed;
}

uint32_t CountPrintedSheets(const PageList& list, const PageSettings& settings) {
  const uint64_t perSheet =
      static_cast<uint64_t>(AtLeastOne(settings.pagesPerSheetRows)) * AtLeastOne(settings.pagesPerSheetColumns);
  uint64_t selected = 0;
  PageRecord page;
  for (uint32_t i = 0; i < list.Count(); ++i)
    if (list.Get(i, &page) && page.selected)
      ++selected;
  return static_cast<uint32_t>((selected + perSheet - 1) / perSheet);
}
