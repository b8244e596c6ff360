#ifndef TALVERO_CORE_MOVE_OR_COPY_RANGE_H
#define TALVERO_CORE_MOVE_OR_COPY_RANGE_H

#include "core/edit/reference_adjust.h"

class CWorkBook;
struct TextMeasurer;

// Moves (or, with copy, copies) the cells and style runs of the source
// rectangle of the workbook's active worksheet onto the target rectangle,
// as a block drag ends. The source is taken aside before anything changes,
// so the two rectangles may overlap. A move records one undo step, the
// cells and styles of the smallest rectangle holding both, and empties the
// source; a copy records the target's. Formula texts are copied unchanged. The
// heights of the source rows (when they are not the target rows) and of the
// target rows are refitted afterwards. Recalculation and repainting are the
// caller's. False with nothing changed and no step left: the workbook's
// error kWorkbookOutOfMemory when memory runs out (kWorkbookTooManyStyles
// when the style table is full), kWorkbookInvalidCacheIndex for a rectangle
// off the grid or no active worksheet. The same source and target change
// nothing and succeed.
bool MoveOrCopyRange(CWorkBook* book, const TextMeasurer& measurer, const CellRange& source, const CellRange& target,
                     bool copy);

#endif
