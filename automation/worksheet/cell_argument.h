#ifndef TALVERO_AUTOMATION_CELL_ARGUMENT_H
#define TALVERO_AUTOMATION_CELL_ARGUMENT_H

// The cell and range arguments of the worksheet members: absolute references
// in the current addressing style, "$B$3" or "$B$3:$D$10" with A1
// addressing, "R3C2" or "R3C2:R10C4" with R1C1; whole columns ("$B:$D",
// "C2") and whole rows ("$3:$10", "R3") span the grid.

#include "core/edit/reference_adjust.h"

class EvalState;

// The rectangle the whole text names, corners in order. False for a text
// that is not exactly one or two such references, for a relative part, for
// a corner outside the grid, and for two corners that name different parts
// (a cell and a column, a column and a row). R1C1 texts are read by the
// evaluator's parser.
bool ParseCellArgument(const char* text, const EvalState& evaluator, CellRange* range);

#endif
