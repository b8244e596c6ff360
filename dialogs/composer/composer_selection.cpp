#include "dialogs/composer/composer_selection.h"

#include "core/workbook/workbook.h"
#include "view/grid_view/pointing_reference.h"

bool ComposerSelectionText(CWorkBook* book, ComposerSelectionUse use, const ComposerSelection& selection,
                           bool takesRange, char* out, size_t size) {
  if (size == 0) return false;
  out[0] = '\0';
  CWorkSheet* sheet = book->activeWorksheet;
  if (sheet == nullptr) return false;
  if (use == ComposerSelectionUse::kValue || (use == ComposerSelectionUse::kAddress && selection.shiftHeld)) {
    const uint16_t column = static_cast<uint16_t>(selection.currentColumn);
    sheet->GetCellText(book, out, size, column, column, selection.currentRow, selection.currentRow, true, false);
    return true;
  }
  char path[kTreePathCapacity] = {};
  if (use == ComposerSelectionUse::kWorksheetAddress) sheet->GetFullPath(path, sizeof path);
  if (FormatSelectionReference(book->evaluator, selection.range, out, size, selection.controlHeld,
                               use == ComposerSelectionUse::kWorksheetAddress ? path : nullptr, takesRange))
    return true;
  out[0] = '\0';
  return false;
}
