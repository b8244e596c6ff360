#include "core/edit/sheet_backup.h"

#include "core/workbook/worksheet.h"

bool SheetBackup::Take(CWorkSheet* sheet) {
  return cells_.CopyFrom(&sheet->cells) && format_.CopyFrom(&sheet->format);
}

void SheetBackup::PutBack(CWorkSheet* sheet) {
  sheet->cells.SwapContents(cells_);
  sheet->format.SwapContents(format_);
}
