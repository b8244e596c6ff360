#ifndef TALVERO_CORE_CONVERT_CELLS_H
#define TALVERO_CORE_CONVERT_CELLS_H

// The converting modes of CWorkSheet::TransformCells (convert_cells.cpp).

#include <cstdint>

class CWorkBook;
class CWorkSheet;

// kTransformFormulasToValues: every formula becomes its present result, a
// text or a number (an error keeps its error), and the values an array
// formula spilled become plain cells with it. kTransformLabelsToNumbers: a
// text that typed as input gives a plain number becomes that number.
// kTransformNumbersToLabels: a number becomes the text it shows through its
// format. Formats stay as they are; values spilled by array formulas are
// not cells of their own and are left alone. The new cells are built aside
// and replace the old ones whole: false, with kWorkbookOutOfMemory and
// nothing changed, when memory runs out.
bool ConvertCells(CWorkBook* workbook, CWorkSheet* sheet, uint16_t firstColumn, uint16_t lastColumn,
                  uint32_t firstRow, uint32_t lastRow, uint8_t mode);

#endif
