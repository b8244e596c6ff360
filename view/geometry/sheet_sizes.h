#ifndef TALVERO_VIEW_SHEET_SIZES_H
#define TALVERO_VIEW_SHEET_SIZES_H

// Column widths and row heights in pixels at a zoom, the header bands, and
// which columns and rows fit into a pixel extent. Sizes are 32-bit: at print
// zooms a stored size of up to 4095 pixels grows past 16 bits.

#include <cstdint>

#include "core/styles/text_measurer.h"

class CWorkSheet;

// v x zoom / 100, truncated; v itself at zoom 100.
inline int32_t ScaleByZoom(int32_t value, uint16_t zoom) {
  return zoom == 100 ? value : static_cast<int32_t>(static_cast<int64_t>(value) * zoom / 100);
}

// Without its grid line. A column with neither the fixed flag nor a width
// takes the worksheet's default width; a fixed width of 0 hides it.
int32_t GetColumnWidth(CWorkSheet* sheet, uint32_t column, uint16_t zoom);
// Without its grid line. A fixed row has its own height (0 hides it); any
// other row its stored height raised to the largest column font height, or
// the default height when both are 0.
int32_t GetRowHeight(CWorkSheet* sheet, uint32_t row, uint16_t zoom);

// The two defaults, measured on the screen once per worksheet.
uint16_t GetDefaultColumnWidth(CWorkSheet* sheet);
uint16_t GetDefaultRowHeight(CWorkSheet* sheet);

// The header bands, measured in the default font at zoom 100 and then
// scaled: the height of "C", and for row numbers up to lastRow the width of
// as many nines as lastRow has digits (2 to 7) plus 8. The view asks for
// zoom 100, so its headers do not scale. -1 when measuring failed.
int32_t GetColumnHeaderHeight(const TextMeasurer& measurer, uint16_t zoom);
int32_t GetRowHeaderWidth(const TextMeasurer& measurer, uint32_t lastRow, uint16_t zoom);
// Digits of a row number for the header width: 2 to 7.
int RowHeaderDigits(uint32_t row);

// The last column (row) that fits into extent pixels from first, each
// taking its size at the zoom plus 1. With fullyOnly the last one that fits
// whole (first itself when even first does not); otherwise the one that
// reaches or passes the extent, or the last of the grid. A first beyond the
// grid comes back unchanged.
uint32_t LastVisibleColumn(CWorkSheet* sheet, int64_t extent, uint32_t firstColumn, uint16_t zoom, bool fullyOnly);
uint32_t LastVisibleRow(CWorkSheet* sheet, int64_t extent, uint32_t firstRow, uint16_t zoom, bool fullyOnly);

#endif
