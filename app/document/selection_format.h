#ifndef TALVERO_APP_DOCUMENT_SELECTION_FORMAT_H
#define TALVERO_APP_DOCUMENT_SELECTION_FORMAT_H

// One format attribute set on the selection of the active worksheet, as one
// undo step: whole columns through their column records, any other
// selection cell by cell.

#include "core/styles/style_record.h"
#include "view/painting/selection_painter.h"

class CWorkBook;

// The attribute kind from the template style and font; the styles are
// compacted afterwards. False with the workbook's error and the formats as
// they were: 8 when the undo step cannot be recorded, the applier's code
// when the change fails (its step then dropped again).
bool ApplyAttributeToSelection(CWorkBook* book, const SelectionRange& selection, int attributeKind,
                               const StyleRecord& templateStyle, const FontRecord& templateFont);

#endif
