#ifndef TALVERO_APP_CLIPBOARD_PASTED_TEXT_H
#define TALVERO_APP_CLIPBOARD_PASTED_TEXT_H

// Text that another program put on the clipboard, read as typed input into a
// block of cells: a field runs up to a TAB, a CR, an LF or the end; after a
// field each TAB moves one column to the right (from the grid's last column
// back to column 0 of the same row), and a CR with one LF directly after it,
// or an LF alone, moves to column 0 of the next row. A field that begins with
// a double quote and ends with one before its separator is read as the
// program's own copies write such texts: without the outer quotes, doubled
// inner quotes as one, TABs and line ends inside kept. An empty field leaves
// its cell out of the block.

#include <cstddef>
#include <cstdint>

#include "core/cells/cell_store.h"

class CWorkBook;

// The characters of one field that typed input takes; the rest of a longer
// field is left out, as typing would cut it.
constexpr size_t kPastedFieldCapacity = 1025;

struct PastedBlock {
  // The fields' cells, from column 0 and row 0 at the block's top-left.
  CellStore cells;
  // The last column and row holding a cell; both 0 for an empty block.
  uint16_t lastColumn = 0;
  uint32_t lastRow = 0;
};

// Reads text (length bytes, no NUL needed) into block, which must be empty.
// Each field is parsed where it lands in a paste whose top-left cell is
// (originColumn, originRow), so that a formula's references name the cells
// they would name typed there; fields beyond the grid's last row are left
// out. False when memory runs out; the block is then emptied again.
bool ParsePastedText(CWorkBook* book, const char* text, size_t length, uint16_t originColumn, uint32_t originRow,
                     PastedBlock* block);

#endif
