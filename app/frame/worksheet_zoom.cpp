#include "app/frame/worksheet_zoom.h"

#include "core/workbook/workbook.h"

void SetWorksheetZoom(CWorkBook* workbook, uint16_t zoomPercent, bool allWorksheets) {
  if (workbook == nullptr) return;
  if (!allWorksheets) {
    if (workbook->activeWorksheet != nullptr) workbook->activeWorksheet->viewFormat.zoom = zoomPercent;
    return;
  }
  for (CWorkSheetTree::CTreeItem* item = workbook->firstItem; item != nullptr; item = item->next)
    if (CWorkSheet* sheet = CWorkSheet::FromItem(item)) sheet->viewFormat.zoom = zoomPercent;
}
