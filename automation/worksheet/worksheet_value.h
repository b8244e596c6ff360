#ifndef TALVERO_AUTOMATION_WORKSHEET_VALUE_H
#define TALVERO_AUTOMATION_WORKSHEET_VALUE_H

// Values as the worksheet members hand them to their clients and take them
// back: nothing, a number, a text or a cell error code (1 to 12), read from
// cells and written into every cell of a rectangle.

#include <cstdint>

#include "core/cells/cell_store.h"
#include "core/edit/reference_adjust.h"

enum WorksheetValueKind : uint8_t {
  kWorksheetEmpty = 0,
  kWorksheetNumber = 1,
  kWorksheetText = 2,
  kWorksheetError = 3,
};

// The cell error codes a client names: the table index of ErrorCode.
constexpr uint8_t kFirstClientError = 1;
constexpr uint8_t kLastClientError = 12;

struct WorksheetValue {
  uint8_t kind;
  uint8_t error;  // kWorksheetError: 1..12
  double number;
  const char* text;  // kWorksheetText: length bytes, not NUL-terminated
  uint16_t length;
};

// What a client reads of a cell (null: none): an error code before anything
// else, so that a formula with an error result gives its code; a number; a
// text; a formula's cached text, else its cached number.
WorksheetValue ReadWorksheetValue(const CellRecord* cell);

// Removes the rectangle's cells, then gives every cell of it the value: a
// text cell (cut to kMaxCellTextLength characters), a number cell, or for
// an error a number cell of 0 carrying the code; an empty value leaves the
// rectangle empty. False when a cell cannot be stored; the cells stored
// before it stay.
bool FillRangeWithValue(CellStore* cells, const CellRange& range, const WorksheetValue& value);

// Stores the value into one cell, replacing what it held (an empty value
// stores nothing); false when the cell cannot be stored.
bool StoreWorksheetValue(CellStore* cells, uint32_t row, uint16_t column, const WorksheetValue& value,
                         CellCursor* cursor);

// Gives every cell of the rectangle, row by row, a formula cell of the
// stored-form text awaiting calculation, replacing the cells there. False
// when a cell cannot be stored; the cells stored before it stay.
bool FillRangeWithFormula(CellStore* cells, const CellRange& range, const char* storedFormula);

#endif
