#include "view/geometry/sheet_sizes.h"

#include "core/styles/default_sizes.h"
#include "core/workbook/worksheet.h"
#include "view/draw_context/default_font.h"
#include "view/draw_context/screen_measurer.h"

namespace {

constexpr char kRowHeaderNines[] = "9999999";
constexpr int32_t kRowHeaderPadding = 8;

// Sizes of a run of columns or rows from first: the last that fits.
template <class SizeOf>
uint32_t LastFitting(int64_t extent, uint32_t first, uint32_t last, bool fullyOnly, SizeOf sizeOf) {
  if (first > last)
    return first;
  int64_t sum = 0;
  for (uint32_t i = first; i <= last; ++i) {
    sum += sizeOf(i) + 1;
    if (fullyOnly ? sum > extent : sum >= extent)
      return fullyOnly ? (i > first ? i - 1 : first) : i;
  }
  return last;
}

}  // namespace

uint16_t GetDefaultColumnWidth(CWorkSheet* sheet) {
  if (sheet->format.defaultColumnWidth == 0) {
    ScreenMeasurer screen;
    ::GetDefaultColumnWidth(&sheet->format, screen.Measurer());
  }
  return sheet->format.defaultColumnWidth;
}

uint16_t GetDefaultRowHeight(CWorkSheet* sheet) {
  if (sheet->format.defaultRowHeight == 0) {
    ScreenMeasurer screen;
    ::GetDefaultRowHeight(&sheet->format, screen.Measurer());
  }
  return sheet->format.defaultRowHeight;
}

int32_t GetColumnWidth(CWorkSheet* sheet, uint32_t column, uint16_t zoom) {
  if (column > kMaxColumn)
    return 0;
  const ColumnRecord& record = sheet->format.columns[column];
  const int32_t width = (record.WidthFixed() || record.Width() != 0) ? record.Width() : GetDefaultColumnWidth(sheet);
  return ScaleByZoom(width, zoom);
}

int32_t GetRowHeight(CWorkSheet* sheet, uint32_t row, uint16_t zoom) {
  const uint16_t* record = sheet->format.rows.At(row);
  int32_t height = record ? (*record & RowTable::kHeightMask) >> RowTable::kHeightShift : 0;
  if (!record || !(*record & RowTable::kFixedHeight)) {
    const int32_t fontHeight = sheet->format.MaxColumnFontHeight();
    if (fontHeight > height)
      height = fontHeight;
    if (height == 0)
      height = GetDefaultRowHeight(sheet);
  }
  return ScaleByZoom(height, zoom);
}

int32_t GetColumnHeaderHeight(const TextMeasurer& measurer, uint16_t zoom) {
  FontRecord font;
  CopyDefaultFont(&font);
  int32_t width = 0;
  int32_t height = 0;
  if (!measurer.SelectFont(font, 0, 100) || !measurer.MeasureLine("C", 1, &width, &height))
    return -1;
  return ScaleByZoom(height, zoom);
}

int RowHeaderDigits(uint32_t row) {
  int digits = 2;
  for (uint32_t limit = 100; digits < 7 && row >= limit; limit *= 10) ++digits;
  return digits;
}

int32_t GetRowHeaderWidth(const TextMeasurer& measurer, uint32_t lastRow, uint16_t zoom) {
  FontRecord font;
  CopyDefaultFont(&font);
  int32_t width = 0;
  int32_t height = 0;
  if (!measurer.SelectFont(font, 0, 100) ||
      !measurer.MeasureLine(kRowHeaderNines, static_cast<size_t>(RowHeaderDigits(lastRow)), &width, &height))
    return -1;
  return ScaleByZoom(width + kRowHeaderPadding, zoom);
}

uint32_t LastVisibleColumn(CWorkSheet* sheet, int64_t extent, uint32_t firstColumn, uint16_t zoom, bool fullyOnly) {
  return LastFitting(extent, firstColumn, kMaxColumn, fullyOnly,
                     [&](uint32_t column) { return GetColumnWidth(sheet, column, zoom); });
}

uint32_t LastVisibleRow(CWorkSheet* sheet, int64_t extent, uint32_t firstRow, uint16_t zoom, bool fullyOnly) {
  return LastFitting(extent, firstRow, kMaxRow, fullyOnly,
                     [&](uint32_t row) { return GetRowHeight(sheet, row, zoom); });
}
