#include "view/printing/print_painter.h"

#include <cstdio>

#include "core/base/scheme_colors.h"
#include "core/workbook/workbook.h"
#include "view/draw_context/default_font.h"
#include "view/draw_context/text_placement.h"
#include "view/geometry/sheet_sizes.h"
#include "view/geometry/sheet_viewport.h"
#include "view/painting/heading_label.h"
#include "view/printing/print_exclusions.h"

namespace {

constexpr uint32_t kBlack = 0x000000;

bool RowLeftOut(const void* context, uint32_t row) { return static_cast<const PrintExclusions*>(context)->Row(row); }
bool ColumnLeftOut(const void* context, uint32_t column) {
  return static_cast<const PrintExclusions*>(context)->Column(column);
}

int32_t AtLeastZero(int32_t size) { return size < 0 ? 0 : size; }

// The painters' grid lines (left and top of the first cells) lie one pixel
// before the page's first pixel, so that the page ends on its last cell's
// right and bottom grid lines exactly where pagination measured it.
PixelRect CellOrigin(const PixelRect& target) { return {target.left - 1, target.top - 1, target.right, target.bottom}; }

}  // namespace

void PrintPainter::PaintPage(const PaintSurface& surface, const PixelRect& target, CWorkSheet* sheet,
                             const PageRecord& page, const PrintZoom& zoom, bool printing) {
  const PageSettings& settings = sheet->pageSettings;
  const int32_t ch = settings.columnHeadings ? AtLeastZero(GetColumnHeaderHeight(surface.measurer, zoom.y)) : 0;
  const int32_t rw =
      settings.rowHeadings ? AtLeastZero(GetRowHeaderWidth(surface.measurer, page.lastRow, zoom.x)) : 0;
  surface.PushClip(target);
  PaintHeadings(surface, target, sheet, rw, ch, page, zoom, printing);

  const WorksheetViewFormat& view = sheet->viewFormat;
  const PrintExclusions exclusions(sheet);
  const PrintedCells form = {page.lastRow,
                             page.lastColumn,
                             rw,
                             ch,
                             view.gridColorSet ? view.gridColor : GetSchemeColor(kSchemeWindowText),
                             RowLeftOut,
                             ColumnLeftOut,
                             &exclusions};
  cells_.printForm = &form;
  cells_.PaintCells(surface, CellOrigin(target), sheet, page.firstRow, page.firstColumn, zoom.x, zoom.y);
  cells_.printForm = nullptr;

  PaintPageContainers(surface, target, sheet, page.firstColumn, page.firstRow, zoom, rw, ch);
  surface.PopClip();
}

void PrintPainter::PaintHeadings(const PaintSurface& surface, const PixelRect& target, CWorkSheet* sheet,
                                 int32_t rowHeaderWidth, int32_t columnHeaderHeight, const PageRecord& page,
                                 const PrintZoom& zoom, bool printing) {
  if (rowHeaderWidth <= 0 && columnHeaderHeight <= 0)
    return;
  const WorksheetViewFormat& view = sheet->viewFormat;
  const PrintExclusions exclusions(sheet);
  const FrozenPanes panes = GetFrozenPanes(sheet);
  const bool outlined = view.gridLines != 0;
  FontRecord font;
  CopyDefaultFont(&font);
  surface.SelectFont(font, 0, zoom.y);
  surface.SetTextColor(view.headingsColorSet ? view.headingsColor : kBlack);
  surface.SetTextAlign(kAlignCentre, kAlignMiddle);
  surface.SetBkMode(1);
  if (outlined)
    surface.SelectPen(printing ? 8 : 1, view.gridColorSet ? view.gridColor : kBlack, 100);

  const PixelRect origin = CellOrigin(target);
  const int32_t rw = rowHeaderWidth;
  const int32_t ch = columnHeaderHeight;
  char label[16];
  auto heading = [&](int32_t left, int32_t top, int32_t right, int32_t bottom, const char* text) {
    if (outlined) {
      const PixelPoint frame[5] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
      surface.Polyline(frame, 5);
    }
    if (!text)
      return;
    const PixelRect inside = {left + 1, top + 1, right - 1, bottom - 1};
    surface.PushClip(inside);
    surface.DrawFormattedText((left + 1 + right) / 2, (top + 1 + bottom) / 2, text, "");
    surface.PopClip();
  };

  if (rw > 0 && ch > 0)
    heading(origin.left, origin.top, origin.left + rw + 1, origin.top + ch + 1, nullptr);
  if (ch > 0) {
    int32_t x = origin.left + rw + 1;
    auto column = [&](uint32_t c) {
      const int32_t w = GetColumnWidth(sheet, c, zoom.x);
      ColumnHeadingLabel(static_cast<uint16_t>(c), label, sizeof label);
      heading(x, origin.top, x + w + 1, origin.top + ch + 1, label);
      x += w + 1;
    };
    if (panes.column)
      column(panes.frozenColumn);
    for (uint32_t c = page.firstColumn; c <= page.lastColumn && c <= kMaxColumn && x <= target.right; ++c)
      if (!exclusions.Column(c))
        column(c);
  }
  if (rw > 0) {
    int32_t y = origin.top + ch + 1;
    auto row = [&](uint32_t r) {
      const int32_t h = GetRowHeight(sheet, r, zoom.y);
      std::snprintf(label, sizeof label, "%lu", static_cast<unsigned long>(r) + 1);
      heading(origin.left, y, origin.left + rw + 1, y + h + 1, label);
      y += h + 1;
    };
    if (panes.row)
      row(panes.frozenRow);
    for (uint32_t r = page.firstRow; r <= page.lastRow && r <= kMaxRow && y <= target.bottom; ++r)
      if (!exclusions.Row(r))
        row(r);
  }
}

void PrintPainter::PaintPageContainers(const PaintSurface& surface, const PixelRect& target, CWorkSheet* sheet,
                                       uint16_t firstColumn, uint32_t firstRow, const PrintZoom& zoom,
                                       int32_t rowHeaderWidth, int32_t columnHeaderHeight) {
  if (!sheet->containers)
    return;
  const FrozenPanes panes = GetFrozenPanes(sheet);
  const int32_t frozenWidth = panes.column ? GetColumnWidth(sheet, panes.frozenColumn, zoom.x) + 1 : 0;
  const int32_t frozenHeight = panes.row ? GetRowHeight(sheet, panes.frozenRow, zoom.y) + 1 : 0;
  const PixelRect origin = CellOrigin(target);
  const PixelRect cellArea = {origin.left + rowHeaderWidth + 1, origin.top + columnHeaderHeight + 1, target.right,
                              target.bottom};
  surface.PushClip({cellArea.left + frozenWidth, cellArea.top + frozenHeight, target.right, target.bottom});
  cells_.PaintObjects(surface, cellArea, sheet, firstColumn, firstRow, zoom.x, zoom.y);
  surface.PopClip();
}
