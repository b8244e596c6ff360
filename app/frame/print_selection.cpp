#include "app/frame/print_selection.h"

void TakePrintSelection(const ViewSelection& selection, PageSettings* settings) {
  const uint8_t kind = settings->printRangeKind;
  if (kind != kPrintSelectedCells && kind != kPrintContainer && kind != kPrintSelection) return;
  if (selection.containerId != 0) {
    settings->printRangeKind = kPrintContainer;
    settings->containerId = selection.containerId;
    return;
  }
  SelectPrintCells(settings, selection.firstColumn, selection.firstRow, selection.lastColumn, selection.lastRow);
}
