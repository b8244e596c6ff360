#ifndef TALVERO_CORE_UNDOABLE_TRANSPOSE_H
#define TALVERO_CORE_UNDOABLE_TRANSPOSE_H

// The transpose command's edit: the rectangle of the active worksheet
// transposed about its top-left corner, with one undo step that puts back
// everything the transposition changes.

#include "core/edit/reference_adjust.h"

class CWorkBook;

// Records the cells and styles of the smallest rectangle holding the source,
// its transposed copy and every formula of the worksheet that the
// transposition rewrites, as one step, then transposes
// (CWorkBook::TransposeRange). False with the workbook's error and no step
// left when the recording or the transposition fails (the worksheet is then
// as it was).
bool TransposeRangeWithUndo(CWorkBook* book, const CellRange& range);

#endif
