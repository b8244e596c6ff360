#include "view/grid_view/scroll_ranges.h"

#include <algorithm>

#include "core/workbook/worksheet.h"
#include "view/geometry/sheet_sizes.h"

namespace {

// The last index an offset of pixels (at zoom 100) from the start of first
// reaches; the walk ends at the grid's end.
template <class SizeOf>
uint32_t Reach(uint32_t first, int64_t offset, uint32_t last, SizeOf sizeOf) {
  uint32_t i = first;
  int64_t passed = sizeOf(i) + 1;
  while (passed < offset && i < last) {
    ++i;
    passed += sizeOf(i) + 1;
  }
  return i;
}

}  // namespace

ScrollMaxima ComputeScrollMaxima(CWorkSheet* sheet, bool includeContainers, uint32_t endColumn, uint32_t endRow) {
  ScrollMaxima m = {0, 0};
  if (includeContainers) {
    uint16_t lastColumn = 0;
    uint32_t lastRow = 0;
    if (sheet->cells.GetUsedRange(nullptr, &lastColumn, nullptr, &lastRow)) {
      m.column = lastColumn;
      m.row = lastRow;
    }
    for (const ContainerRecord* c = sheet->containers; c; c = c->next) {
      // Copied out of the packed header before any reference binds to them.
      const uint16_t anchorColumn = c->header.anchor.column;
      const uint32_t anchorRow = c->header.anchor.row;
      const int32_t right = c->header.rect.right;
      const int32_t bottom = c->header.rect.bottom;
      const uint32_t column = anchorColumn < kMaxColumn ? anchorColumn : kMaxColumn;
      const uint32_t row = anchorRow < kMaxRow ? anchorRow : kMaxRow;
      const uint32_t reachColumn =
          Reach(column, right, kMaxColumn, [&](uint32_t i) { return GetColumnWidth(sheet, i, 100); });
      const uint32_t reachRow = Reach(row, bottom, kMaxRow, [&](uint32_t i) { return GetRowHeight(sheet, i, 100); });
      m.column = std::max(m.column, reachColumn);
      m.row = std::max(m.row, reachRow);
    }
  }
  m.column = std::max<uint32_t>(std::max(m.column, endColumn), 1);
  m.row = std::max<uint32_t>(std::max(m.row, endRow), 1);
  return m;
}
