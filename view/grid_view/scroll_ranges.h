#ifndef TALVERO_VIEW_SCROLL_RANGES_H
#define TALVERO_VIEW_SCROLL_RANGES_H

// The maxima a grid view's scroll bars must reach: the selection end, and
// with containers counted the worksheet's used area and every container's
// right and bottom edge; at least 1 each. Ranges are 32-bit: rows run to
// 2,097,151, past what a 16-bit thumb position holds.

#include <cstdint>

class CWorkSheet;

struct ScrollMaxima {
  uint32_t column;
  uint32_t row;
};

ScrollMaxima ComputeScrollMaxima(CWorkSheet* sheet, bool includeContainers, uint32_t endColumn, uint32_t endRow);

#endif
