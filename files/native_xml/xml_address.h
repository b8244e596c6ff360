#ifndef TALVERO_FILES_NATIVE_XML_ADDRESS_H
#define TALVERO_FILES_NATIVE_XML_ADDRESS_H

// R1C1 addresses in attributes of the native XML workbook ("r5c3", "c2",
// "rc4"), read against a current cell so that a bare "r" or "c" names its
// row or column. Every address must lie inside the grid: a record outside
// it would address cells no worksheet has.

#include <cstdint>

#include "core/formula/ref_corner.h"

class CWorkBook;

// What an address must name: kRefCell, kRefHasRow or kRefHasColumn.
// The address at text, read against (row, column) of the current cell; it
// must name exactly `need`, lie in the grid and, when `absolute` is set,
// use no relative part. With `end` the position after it is stored;
// without, it must end the text. Anything else throws 58.
RefCorner ReadXmlAddress(CWorkBook* book, const char* text, uint32_t need, bool absolute, uint32_t row,
                         uint16_t column, const char** end = nullptr);

#endif
