#ifndef TALVERO_VIEW_CELL_FROM_TEXT_H
#define TALVERO_VIEW_CELL_FROM_TEXT_H

// Storing what was typed into one cell of the active worksheet: an undo
// step of the cell, the old content deleted, the text parsed (or kept as a
// text when forced), the new record inserted, the format a parse implies
// applied, and the row's automatic height refitted. Whether the text is
// parsed is the caller's flag: nothing here reads the keyboard.

#include <cstdint>

#include "core/styles/text_measurer.h"

class CWorkBook;

struct CellFromTextResult {
  bool rowHeightChanged;
  bool formatApplied;
};

// False, with the workbook's error and the cell as it was, when the undo
// step or the new record finds no memory; false also when the row height
// could not be refitted (the cell is stored then).
bool StoreCellFromText(CWorkBook* workbook, const TextMeasurer& measurer, const char* text, uint32_t row,
                       uint16_t column, bool parse, bool autoFormatting, CellFromTextResult* result);

#endif
