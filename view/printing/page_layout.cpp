// One page of the split: which rows and columns fit the page rectangle at the
// print zoom, widened for texts that run on past its last column, and its
// size in device pixels.

#include <new>

#include "core/workbook/workbook.h"
#include "view/geometry/sheet_sizes.h"
#include "view/geometry/sheet_viewport.h"
#include "view/printing/page_overflow.h"
#include "view/printing/print_exclusions.h"
#include "view/printing/print_frame.h"

namespace {

int32_t AtLeastZero(int32_t size) { return size < 0 ? 0 : size; }

uint32_t Saturated(int64_t size) { return size > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(size); }

// The last index from first whose sizes (each + 1; excluded ones take no
// room) stay within extent; first at least. Excluded indexes are passed over
// freely, so a run of them never makes pages of its own.
template <class SizeOf, class Excluded>
uint32_t LastFitting(uint32_t first, uint32_t last, int64_t extent, SizeOf sizeOf, Excluded excluded) {
  int64_t sum = 0;
  uint32_t fit = first;
  for (uint32_t i = first; i <= last; ++i) {
    if (!excluded(i)) {
      sum += sizeOf(i) + 1;
      if (sum > extent)
        break;
    }
    fit = i;
  }
  return fit;
}

}  // namespace

void CWorkBook::MeasurePage(const TextMeasurer& measurer, CWorkSheet* sheet, const PageRecord& page,
                            const PrintZoom& zoom, uint32_t* width, uint32_t* height) {
  const PageSettings& settings = sheet->pageSettings;
  const PrintExclusions exclusions(sheet);
  const FrozenPanes panes = GetFrozenPanes(sheet);
  int64_t h = 1;
  if (settings.columnHeadings)
    h += AtLeastZero(GetColumnHeaderHeight(measurer, zoom.y));
  if (panes.row)
    h += GetRowHeight(sheet, panes.frozenRow, zoom.y) + 1;
  for (uint32_t r = page.firstRow; r <= page.lastRow && r <= kMaxRow; ++r)
    if (!exclusions.Row(r))
      h += GetRowHeight(sheet, r, zoom.y) + 1;
  int64_t w = 1;
  if (settings.rowHeadings)
    w += AtLeastZero(GetRowHeaderWidth(measurer, page.lastRow, zoom.x));
  if (panes.column)
    w += GetColumnWidth(sheet, panes.frozenColumn, zoom.x) + 1;
  for (uint32_t c = page.firstColumn; c <= page.lastColumn && c <= kMaxColumn; ++c)
    if (!exclusions.Column(c))
      w += GetColumnWidth(sheet, c, zoom.x) + 1;
  *width = Saturated(w);
  *height = Saturated(h);
}

void CWorkBook::LayoutPage(const TextMeasurer& measurer, CWorkSheet* sheet, const PrintFrame& pageRect,
                           PageRecord* page, uint32_t lastRow, uint16_t lastColumn, bool explicitRange,
                           const PrintZoom& zoom) {
  const PageSettings& settings = sheet->pageSettings;
  const PrintExclusions exclusions(sheet);
  const FrozenPanes panes = GetFrozenPanes(sheet);
  int64_t availableHeight = static_cast<int64_t>(pageRect.bottom) - pageRect.top + 1;
  int64_t availableWidth = static_cast<int64_t>(pageRect.right) - pageRect.left + 1;
  if (panes.row)
    availableHeight -= GetRowHeight(sheet, panes.frozenRow, zoom.y) + 1;
  if (panes.column)
    availableWidth -= GetColumnWidth(sheet, panes.frozenColumn, zoom.x) + 1;

  const int32_t columnHeader = settings.columnHeadings ? AtLeastZero(GetColumnHeaderHeight(measurer, zoom.y)) : 0;
  int64_t rowsHeight = availableHeight - columnHeader;
  if (rowsHeight < 0)
    rowsHeight = 0;
  const uint32_t firstRow = page->firstRow;
  const uint32_t fitRow = LastFitting(
      firstRow, lastRow > firstRow ? lastRow : firstRow, rowsHeight,
      [&](uint32_t r) { return GetRowHeight(sheet, r, zoom.y); }, [&](uint32_t r) { return exclusions.Row(r); });
  const int32_t rowHeader = settings.rowHeadings ? AtLeastZero(GetRowHeaderWidth(measurer, fitRow, zoom.x)) : 0;
  int64_t columnsWidth = availableWidth - rowHeader;
  if (columnsWidth < 0)
    columnsWidth = 0;
  const uint16_t firstColumn = page->firstColumn;
  const uint16_t fitColumn = static_cast<uint16_t>(LastFitting(
      firstColumn, kMaxColumn, columnsWidth, [&](uint32_t c) { return GetColumnWidth(sheet, c, zoom.x); },
      [&](uint32_t c) { return exclusions.Column(c); }));

  page->lastColumn = fitColumn < lastColumn ? fitColumn : lastColumn;
  page->lastRow = fitRow < lastRow ? fitRow : lastRow;
  // A page that starts past the area (a text ran on into it) keeps at least
  // its first row and column.
  if (page->lastColumn < firstColumn)
    page->lastColumn = firstColumn;
  if (page->lastRow < firstRow)
    page->lastRow = firstRow;
  page->continuesRight = 0;
  page->selected = 1;

  if (firstRow <= lastRow) {
    RowCells* cells = new (std::nothrow) RowCells;
    if (cells) {
      cells->count = 0;
      for (uint32_t c = 0; c < kColumnCount; ++c) cells->byColumn[c] = nullptr;
      const OverflowScan scan = {this,      sheet,      &measurer,   &exclusions, zoom.x,
                                 zoom.y,    firstColumn, fitColumn,  lastColumn,  panes.column,
                                 panes.frozenColumn};
      auto layoutRow = [&](uint32_t row) {
        const int32_t reach = RowTextReach(scan, row, cells);
        if (reach < 0)
          return;
        if (reach > fitColumn)
          page->continuesRight = 1;
        if (!explicitRange && reach > page->lastColumn)
          page->lastColumn = static_cast<uint16_t>(reach < fitColumn ? reach : fitColumn);
      };
      if (panes.row)
        layoutRow(panes.frozenRow);
      for (uint32_t r = firstRow; r <= page->lastRow; ++r)
        if (!exclusions.Row(r))
          layoutRow(r);
      delete cells;
    }
  }
  MeasurePage(measurer, sheet, *page, zoom, &page->width, &page->height);
}
