#ifndef TALVERO_FILES_XBASE_CELL_VALUE_H
#define TALVERO_FILES_XBASE_CELL_VALUE_H

// What a worksheet cell gives the field of an xBase table it is written to:
// its value, and a number's text when the field holds characters.

#include <cstddef>

class CWorkBook;
class CWorkSheet;
struct CellRecord;
struct CellCursor;

// Currency fields are written with the six decimals of "%f".
constexpr int kXBaseCurrencyDecimals = 6;

// A text (an error's name for an error) or a number; nothing for no cell or
// a formula not calculated yet. The text lies in the cell or is static.
struct XBaseFieldValue {
  bool present = false;
  bool isText = false;
  const char* text = "";
  size_t length = 0;
  double number = 0;
};

XBaseFieldValue XBaseValueOfCell(const CellRecord* cell);

// A number in a character field reads as the cell shows it when a style run
// gives it a format other than General, else in its shortest form: the text
// of the number cell (or of a formula's number) into out, which has room for
// kCellTextCapacity bytes; returns its length. The cursor lets a walk along
// the rows continue from the last style run.
size_t XBaseNumberText(const CWorkBook& book, const CWorkSheet& sheet, const CellRecord& cell, CellCursor* runCursor,
                       char* out);

#endif
