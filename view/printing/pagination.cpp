// Pagination: a worksheet and its page settings into the workbook's page
// list, pages numbered across and then down, shrunk until each fits its place
// on the sheet, then repeated for the copies.

#include "core/model/chart_record.h"
#include "core/workbook/workbook.h"
#include "view/printing/print_frame.h"

namespace {

// The room of one page on the sheet, its gaps taken; false when the counts or
// the room are not positive (a record may store counts of 0, and many pages
// per sheet leave no room), which no zoom could make fit.
bool PlaceSize(const PrintFrame& pageRect, const PageSettings& settings, const PrintZoom& zoom, int64_t* width,
               int64_t* height) {
  const uint8_t rows = settings.pagesPerSheetRows;
  const uint8_t columns = settings.pagesPerSheetColumns;
  if (rows == 0 || columns == 0)
    return false;
  *width = (static_cast<int64_t>(pageRect.right) - pageRect.left + 1) / columns -
           2 * HorizontalPageGap(rows, columns, zoom.x);
  *height = (static_cast<int64_t>(pageRect.bottom) - pageRect.top + 1) / rows -
            2 * VerticalPageGap(rows, columns, zoom.y);
  return *width > 0 && *height > 0;
}

}  // namespace

void CWorkBook::FreePageList(CWorkSheet* sheet) {
  pageList.pages.Clear(true);
  if (!sheet)
    return;
  for (ContainerRecord* container = sheet->containers; container; container = container->next)
    for (int i = 0; i < kContainerMaxItems; ++i)
      if (container->items[i].kind == kItemChart && container->items[i].chart)
        container->items[i].chart->ResetStyles();
}

bool CWorkBook::SplitIntoPages(const TextMeasurer& measurer, CWorkSheet* sheet, const PrintFrame& pageRect,
                               const PrintZoom& zoom) {
  const PageSettings& settings = sheet->pageSettings;
  const bool explicitRange = settings.printRangeKind == kPrintSelectedCells;
  uint32_t firstRow = 0;
  uint16_t firstColumn = 0;
  uint32_t lastRow = 0;
  uint16_t lastColumn = 0;
  if (explicitRange) {
    const PrintSelectionRange& range = settings.selectionRange;
    firstRow = range.firstRow < range.lastRow ? range.firstRow : range.lastRow;
    lastRow = range.firstRow < range.lastRow ? range.lastRow : range.firstRow;
    firstColumn = range.firstColumn < range.lastColumn ? range.firstColumn : range.lastColumn;
    lastColumn = range.firstColumn < range.lastColumn ? range.lastColumn : range.firstColumn;
    if (lastRow > kMaxRow)
      lastRow = kMaxRow;
    if (firstRow > lastRow)
      firstRow = lastRow;
    if (lastColumn > kMaxColumn)
      lastColumn = kMaxColumn;
    if (firstColumn > lastColumn)
      firstColumn = lastColumn;
  } else {
    GetPrintArea(sheet, &lastRow, &lastColumn, zoom);
  }

  uint32_t row = firstRow;
  uint16_t column = firstColumn;
  for (;;) {
    PageRecord page = {};
    page.firstRow = row;
    page.firstColumn = column;
    LayoutPage(measurer, sheet, pageRect, &page, lastRow, lastColumn, explicitRange, zoom);
    if (!pageList.Append(page)) {
      error = kWorkbookOutOfMemory;
      return false;
    }
    // Every step moves on by at least one column or one row.
    if (page.lastColumn < kMaxColumn && (page.continuesRight || page.lastColumn < lastColumn)) {
      column = static_cast<uint16_t>(page.lastColumn + 1);
      continue;
    }
    if (page.lastRow >= lastRow)
      return true;
    column = firstColumn;
    row = page.lastRow + 1;
  }
}

bool CWorkBook::Paginate(const TextMeasurer& measurer, CWorkSheet* sheet, const PrintFrame& frame, PrintZoom* zoom) {
  FreePageList(sheet);
  PageSettings& settings = sheet->pageSettings;
  // Margins that meet leave nothing to print on, not even a container; said
  // as such rather than as a zoom shrunk to nothing.
  if (!PrintFrameHasRoom(frame)) {
    error = kWorkbookNoPrintableArea;
    return false;
  }
  const PrintFrame pageRect = PageFrameOf(frame);

  if (settings.printRangeKind == kPrintContainer) {
    PageRecord page = {};
    page.containerId = settings.containerId;
    page.width = static_cast<uint32_t>(static_cast<int64_t>(pageRect.right) - pageRect.left + 1);
    page.height = static_cast<uint32_t>(static_cast<int64_t>(pageRect.bottom) - pageRect.top + 1);
    page.selected = 1;
    if (!pageList.Append(page)) {
      error = kWorkbookOutOfMemory;
      return false;
    }
    return true;
  }

  // No zoom and no room for a page could ever be shrunk into: refused before
  // anything is measured.
  int64_t placeWidth = 0;
  int64_t placeHeight = 0;
  if (zoom->x == 0 || zoom->y == 0 || !PlaceSize(pageRect, settings, *zoom, &placeWidth, &placeHeight)) {
    error = kWorkbookZoomTooSmall;
    return false;
  }

  if (!SplitIntoPages(measurer, sheet, pageRect, *zoom))
    return false;
  const uint32_t count = pageList.Count();
  if (count == 0) {
    error = kWorkbookNoPages;
    return false;
  }

  PageRecord page;
  if (settings.printRangeKind == kPrintPageList) {
    bool any = false;
    for (uint32_t i = 0; i < count; ++i) {
      pageList.Get(i, &page);
      page.selected = settings.IsPageSelected(i) ? 1 : 0;
      any = any || page.selected;
      pageList.Put(i, page);
    }
    if (!any) {
      error = kWorkbookInvalidPageRange;
      return false;
    }
  }

  auto shrinkToFit = [&](PageRecord* p) {
    if (!PlaceSize(pageRect, settings, *zoom, &placeWidth, &placeHeight)) {
      error = kWorkbookZoomTooSmall;
      return false;
    }
    uint32_t width = 0;
    uint32_t height = 0;
    MeasurePage(measurer, sheet, *p, *zoom, &width, &height);
    while (width > placeWidth || height > placeHeight) {
      const uint64_t byWidth = static_cast<uint64_t>(placeWidth) * 100 / (width ? width : 1);
      const uint64_t byHeight = static_cast<uint64_t>(placeHeight) * 100 / (height ? height : 1);
      const uint64_t factor = byWidth < byHeight ? byWidth : byHeight;
      zoom->x = static_cast<uint16_t>(zoom->x * factor / 100);
      zoom->y = static_cast<uint16_t>(zoom->y * factor / 100);
      if (zoom->x == 0 || zoom->y == 0) {
        error = kWorkbookZoomTooSmall;
        return false;
      }
      MeasurePage(measurer, sheet, *p, *zoom, &width, &height);
    }
    return true;
  };

  if (settings.printRangeKind != kPrintPageList && settings.fitToSheetSize == 1) {
    PageRecord first;
    pageList.Get(0, &first);
    for (uint32_t i = 1; i < count; ++i) {
      pageList.Get(i, &page);
      if (page.lastRow > first.lastRow)
        first.lastRow = page.lastRow;
      if (page.lastColumn > first.lastColumn)
        first.lastColumn = page.lastColumn;
      page.selected = 0;
      pageList.Put(i, page);
    }
    first.selected = 1;
    if (!shrinkToFit(&first))
      return false;
    pageList.Put(0, first);
    settings.pagesPerSheetRows = 1;
    settings.pagesPerSheetColumns = 1;
  }

  for (uint32_t i = 0; i < count; ++i) {
    pageList.Get(i, &page);
    if (page.selected && !shrinkToFit(&page))
      return false;
  }
  for (uint32_t i = 0; i < count; ++i) {
    pageList.Get(i, &page);
    if (!page.selected)
      continue;
    MeasurePage(measurer, sheet, page, *zoom, &page.width, &page.height);
    pageList.Put(i, page);
  }

  if (settings.copies < 2)
    return true;
  PagedArray32 copies;
  auto copy = [&](uint32_t i) {
    pageList.Get(i, &page);
    return !page.selected || copies.Append(&page);
  };
  bool copied = true;
  if (settings.collate) {
    for (uint32_t i = 0; i < count && copied; ++i)
      for (uint16_t k = 0; k < settings.copies && copied; ++k) copied = copy(i);
  } else {
    for (uint16_t k = 0; k < settings.copies && copied; ++k)
      for (uint32_t i = 0; i < count && copied; ++i) copied = copy(i);
  }
  if (!copied) {
    error = kWorkbookOutOfMemory;
    return false;
  }
  pageList.pages.SwapContents(copies);
  return true;
}
