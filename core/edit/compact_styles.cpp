// Dropping the styles no worksheet uses any more.

#include <cstdlib>

#include "core/styles/format_style_indexes.h"
#include "core/workbook/workbook.h"

void CWorkBook::CompactStyles() {
  uint32_t count = 0;
  for (CTreeItem* item = firstItem; item; item = item->next)
    if (item->IsWorksheet())
      ++count;
  if (count == 0)
    return;
  SheetFormat** formats = static_cast<SheetFormat**>(std::malloc(sizeof(SheetFormat*) * count));
  // Without the list the unused styles simply stay.
  if (!formats)
    return;
  uint32_t n = 0;
  for (CTreeItem* item = firstItem; item; item = item->next)
    if (CWorkSheet* sheet = CWorkSheet::FromItem(item))
      formats[n++] = &sheet->format;
  CompactFormatStyles(&styles, formats, n);
  std::free(formats);
}
