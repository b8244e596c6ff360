#ifndef TALVERO_VIEW_CELL_FROM_TEXT_H
#define TALVERO_VIEW_CELL_FROM_TEXT_H

// Storing what was typed into cells of the active worksheet: an undo step,
// the old content deleted, the text parsed (or kept as a text when forced),
// the new record inserted, the format a parse implies applied, and the
// rows' automatic heights refitted. Whether the text is parsed is the
// caller's flag: nothing here reads the keyboard.

#include <cstdint>

#include "core/styles/text_measurer.h"
#include "core/workbook/undo_history.h"

class CWorkBook;

struct CellFromTextResult {
  bool rowHeightChanged;
  bool formatApplied;
  // A typed formula kept as text only because a worksheet's path and the
  // reference after it would not fit in a formula: the user is to be told.
  bool formulaKeptAsText;
};

// One cell, with an undo step of its own. False, with the workbook's error
// and the cell as it was, when the undo step or the new record finds no
// memory; false also when the row height could not be refitted (the cell is
// stored then).
bool StoreCellFromText(CWorkBook* workbook, const TextMeasurer& measurer, const char* text, uint32_t row,
                       uint16_t column, bool parse, bool autoFormatting, CellFromTextResult* result);

// Every cell of the range, row by row and left to right, as if the text was
// typed into each, with one undo step of the range's cells and formats. False, with the workbook's error
// and the range as it was, when memory runs out; false also when the rows'
// heights could not be refitted (the cells are stored then).
// formulaKeptAsText, when given, tells as CellFromTextResult's does.
bool StoreTextInRange(CWorkBook* workbook, const TextMeasurer& measurer, const char* text, const UndoRange& range,
                      bool autoFormatting, bool* formulaKeptAsText = nullptr);

// Cells of a range and the texts typed into them, handed out one at a time:
// false when none is left. The text lives until the next call.
struct CellTextSource {
  bool (*next)(void* context, uint32_t* row, uint16_t* column, const char** text);
  void* context;
};

// Each cell the source names, as if its text was typed into it, with one
// undo step of the recorded range's cells and formats, which must hold every
// cell named. False as StoreTextInRange.
bool StoreCellTexts(CWorkBook* workbook, const TextMeasurer& measurer, const UndoRange& recorded,
                    const CellTextSource& source, bool autoFormatting, bool* formulaKeptAsText = nullptr);

#endif
