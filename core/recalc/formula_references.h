#ifndef TALVERO_CORE_FORMULA_REFERENCES_H
#define TALVERO_CORE_FORMULA_REFERENCES_H

// The rectangles of cells that a formula's text names, read from its tokens
// without evaluating it: cell references, ranges, whole rows and columns,
// qualified with a worksheet or a folder. References computed at run time
// (INDIRECT, OFFSET) and references into other workbooks are not seen.

#include <cstdint>

#include "core/cells/cell_store.h"
#include "core/formula/eval_state.h"

struct CellRectangle {
  CellStore* store;
  uint16_t firstColumn;
  uint16_t lastColumn;
  uint32_t firstRow;
  uint32_t lastRow;
};

// Called once per rectangle; returning false stops the scan.
using CellRectangleVisitor = bool (*)(void* context, const CellRectangle& rectangle);

// Scans the stored-form formula text of the cell (column, row) of store with
// the evaluator state (its stacks are reset; state.sheet becomes store).
// False when the visitor stopped the scan.
bool ForEachFormulaReference(EvalState& state, CellStore* store, const char* text, uint16_t column, uint32_t row,
                             CellRectangleVisitor visit, void* context);
// The same from the tokens kept for a formula text.
bool ForEachFormulaReference(EvalState& state, CellStore* store, const ScannedFormula& formula, uint16_t column,
                             uint32_t row, CellRectangleVisitor visit, void* context);

#endif
