#ifndef TALVERO_VIEW_POINTING_REFERENCE_H
#define TALVERO_VIEW_POINTING_REFERENCE_H

// The reference text that pointing at cells while a formula is edited puts
// into the formula: whole columns as columns, whole rows as rows, else the
// cells; relative in A1 addressing, absolute in R1C1.

#include <cstddef>

#include "view/painting/selection_painter.h"

class EvalState;

// False when the text does not fit the buffer.
bool FormatSelectionReference(const EvalState& state, const SelectionRange& selection, char* buffer, size_t size);

#endif
