#ifndef TALVERO_APP_DOCUMENT_LINE_SIZES_H
#define TALVERO_APP_DOCUMENT_LINE_SIZES_H

// Row heights and column widths set by number for the selection's rows or
// columns of the active worksheet, each change one undo step.

#include <cstdint>

class CWorkBook;

// Every row of first..last takes the height (pixels at zoom 100) as a fixed
// height. False with the workbook's error, and no row changed, when the row
// table cannot reach the rows or the step cannot be recorded.
bool SetRowHeights(CWorkBook* book, uint32_t firstRow, uint32_t lastRow, uint16_t height);
// Every column of first..last takes the width as a fixed width, its other
// bits kept. False with the workbook's error when the step cannot be
// recorded; nothing changed then.
bool SetColumnWidths(CWorkBook* book, uint16_t firstColumn, uint16_t lastColumn, uint16_t width);

#endif
