#ifndef TALVERO_CORE_RECALCULATE_H
#define TALVERO_CORE_RECALCULATE_H

// The recalculation passes behind CWorkBook::Recalculate. There is no
// dependency graph: formulas are evaluated in storage order, and a formula
// that reads a formula cell not yet calculated in the pass is suspended
// while that cell is calculated first.

#include "core/cells/cell_store.h"
#include "core/formula/eval_state.h"

class CWorkBook;

// Marks every formula cell of every worksheet uncalculated, calculates the
// worksheet whose store is given (null: every worksheet), then clears the
// page flags of every worksheet store. A pass in which an array result
// changed the areas known at its start is run again, a bounded number of
// times. False when storage ran out.
bool RecalcWorkbook(EvalState& state, CellStore* store, CWorkBook& workbook);

#endif
