#ifndef TALVERO_CORE_CELL_TEXT_H
#define TALVERO_CORE_CELL_TEXT_H

// The text of a cell or a range for editing, copying and automation.

#include <cstddef>
#include <cstdint>

#include "core/numfmt/num_format_params.h"

class CellStore;
struct CellCursor;
class EvalState;
class SheetFormat;
class StyleTable;

// Where the cells of a worksheet find their number formats: the style of the
// run covering the cell, else its column's; without a sheet format every cell
// takes style 0. A cursor (over the style runs) serves cells asked for in
// storage order.
struct CellFormats {
  const SheetFormat* sheet;
  const StyleTable* styles;

  const NumFormatParams& At(uint32_t row, uint16_t column, CellCursor* cursor = nullptr) const;
};

// The longest text written, without its NUL.
constexpr size_t kMaxCellTextOutput = 1024;

// One cell without the array flag: for editing (no value flag) a formula in
// display form and any other cell's value text, which typed again gives the
// same value; with the value flag the value as shown, a text value in double
// quotes. A range, or the array flag: the values row by row as "{...}" (value
// flag) or "={...}", with the current list separator and a blank between
// cells and the array-row separator and a blank between rows; a value that
// would pass kMaxCellTextOutput characters ends its row. Empty positions add
// only their separator. Returns the length written (buffer always
// terminated when size is not 0).
size_t GetCellText(EvalState& translator, CellStore& cells, const CellFormats& formats, uint16_t firstColumn,
                   uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow, bool valueFlag, bool arrayFlag,
                   char* buffer, size_t size);

#endif
