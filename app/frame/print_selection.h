#ifndef TALVERO_APP_PRINT_SELECTION_H
#define TALVERO_APP_PRINT_SELECTION_H

// The print selection a worksheet takes from the view just before it is
// printed. Plain code, tested everywhere.

#include <cstdint>

#include "core/model/page_settings.h"

// The print selection of a worksheet just before it is printed: the kinds
// that stand for "the selection" become the view's selected container
// (when one is selected) or its selected cells.
struct ViewSelection {
  uint16_t containerId;  // 0 when no container is selected
  uint16_t firstColumn;
  uint32_t firstRow;
  uint16_t lastColumn;
  uint32_t lastRow;
};
void TakePrintSelection(const ViewSelection& selection, PageSettings* settings);

#endif
