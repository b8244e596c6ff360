#include "app/document/find_start.h"

bool PlanFindNext(uint32_t firstColumn, uint32_t firstRow, uint32_t lastColumn, uint32_t lastRow,
                  FindSearch* search) {
  if (firstColumn == lastColumn && firstRow == lastRow) {
    search->range = CellRange{0, firstRow, kMaxColumn, kMaxRow};
  } else {
    search->range = CellRange{static_cast<uint16_t>(firstColumn), firstRow, static_cast<uint16_t>(lastColumn),
                              lastRow};
  }
  if (firstColumn < kMaxColumn) {
    search->startColumn = static_cast<uint16_t>(firstColumn + 1);
    search->startRow = firstRow;
    return true;
  }
  if (firstRow >= kMaxRow) return false;
  search->startColumn = 0;
  search->startRow = firstRow + 1;
  return true;
}
