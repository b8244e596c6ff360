#ifndef TALVERO_CORE_INCREMENT_CELLS_H
#define TALVERO_CORE_INCREMENT_CELLS_H

// Stepping the values of a rectangle up or down by one: numbers by 1, texts
// that are ISO 8601 dates by a day, and times or date-times by an hour.

#include <cstdint>

#include "core/edit/reference_adjust.h"

class CWorkBook;

// The cells of the rectangle of the active worksheet: a number cell (not an
// error constant) gains 1 (up) or -1; a text cell whose whole text is an ISO
// date gains one day, a time or a date-time one hour, and keeps its text
// when the result would leave the calendar; other texts, formulas and the
// values an array formula spilled stay. *changed (when given) counts the
// cells that changed; those are recorded as one undo step of the smallest
// rectangle holding them. Nothing changed, no step. False, with nothing
// changed and no step, on the workbook's error: kWorkbookOutOfMemory, or
// kWorkbookInvalidCacheIndex without an active worksheet.
bool IncrementCells(CWorkBook* book, const CellRange& range, bool up, uint32_t* changed);

#endif
