#include <cstdio>
#include <cstring>

#include "core/workbook/worksheet.h"
#include "view/geometry/sheet_sizes.h"
#include "view/geometry/sheet_viewport.h"
#include "view/painting/heading_label.h"
#include "view/painting/grid_painter.h"
#include "view/painting/object_painters.h"

namespace {

// A heading box framed with the current pen, its inside filled with the
// current brush and its label centred inside it.
void PaintHeading(const PaintSurface& surface, int32_t left, int32_t top, int32_t right, int32_t bottom,
                  const char* label) {
  const PixelPoint frame[5] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
  surface.Polyline(frame, 5);
  const PixelRect inside = {left + 1, top + 1, right - 1, bottom - 1};
  surface.FillRect(inside, kRopPatCopy);
  if (!label)
    return;
  surface.PushClip(inside);
  surface.DrawFormattedText((left + 1 + right) / 2, (top + 1 + bottom) / 2, label, "");
  surface.PopClip();
}

}  // namespace

const void* GridPainter::BackgroundPicture(CWorkSheet* sheet) const {
  const WorksheetViewFormat& view = sheet->viewFormat;
  if (view.backgroundMode != kBackgroundImage)
    return nullptr;
  char name[kViewImagePathSize + 1] = {};
  std::memcpy(name, view.imagePath, kViewImagePathSize);
  const ObjectPainters* painters = InstalledObjectPainters();
  return name[0] && painters && painters->cachedPicture ? painters->cachedPicture(workbook_, name) : nullptr;
}

void GridPainter::PaintBackground(const PaintSurface& surface, CWorkSheet* sheet, const PixelRect& rect) {
  const WorksheetViewFormat& view = sheet->viewFormat;
  if (view.backgroundMode == kBackgroundImage) {
    if (const void* picture = BackgroundPicture(sheet))
      surface.StretchDib(rect, picture, view.imageSizeMode, 100, 100);
    return;
  }
  if (view.backgroundMode != kBackgroundPattern)
    return;
  surface.SelectPen(0, 0, 100);
  surface.SelectFillRecord(view.fill);
  surface.FillRectFramed(rect);
}

void GridPainter::PaintHeaders(const PaintSurface& surface, const PixelRect& area, CWorkSheet* sheet,
                               uint16_t firstColumn, uint32_t firstRow, uint16_t lastColumn, uint32_t lastRow,
                               int32_t rowHeaderWidth, int32_t columnHeaderHeight, uint16_t zoomX, uint16_t zoomY) {
  const int32_t left = area.left;
  const int32_t top = area.top;
  const int32_t rw = rowHeaderWidth;
  const int32_t ch = columnHeaderHeight;
  const FrozenPanes panes = GetFrozenPanes(sheet);
  PaintHeading(surface, left, top, left + rw + 1, top + ch + 1, nullptr);

  char label[16];
  int32_t x = left + rw + 1;
  auto column = [&](uint16_t c) {
    const int32_t w = GetColumnWidth(sheet, c, zoomX);
    ColumnHeadingLabel(c, label, sizeof label);
    PaintHeading(surface, x, top, x + w + 1, top + ch + 1, label);
    x += w + 1;
  };
  if (panes.column)
    column(panes.frozenColumn);
  for (uint32_t c = firstColumn; c <= lastColumn; ++c) column(static_cast<uint16_t>(c));

  int32_t y = top + ch + 1;
  auto row = [&](uint32_t r) {
    const int32_t h = GetRowHeight(sheet, r, zoomY);
    std::snprintf(label, sizeof label, "%lu", static_cast<unsigned long>(r) + 1);
    PaintHeading(surface, left, y, left + rw + 1, y + h + 1, label);
    y += h + 1;
  };
  if (panes.row)
    row(panes.frozenRow);
  for (uint32_t r = firstRow; r <= lastRow; ++r) row(r);
}
