#ifndef TALVERO_VIEW_POINTING_REFERENCE_H
#define TALVERO_VIEW_POINTING_REFERENCE_H

// The reference text that pointing at cells while a formula is edited puts
// into the formula, and that the address commands put into the formula bar:
// whole columns as columns, whole rows as rows, else the cells; relative in
// A1 addressing unless asked absolute, absolute in R1C1.

#include <cstddef>

#include "core/formula/eval_value.h"
#include "view/painting/selection_painter.h"

class EvalState;

// The selection as a range value with the corner flags above; *whole tells
// whether it names whole columns or whole rows.
EvalValue SelectionReferenceRange(const SelectionRange& selection, bool absolute, bool* whole);

// With a sheet text the reference is qualified by it. A one-cell selection
// is written as that cell, or as a range of it ("B2:B2") when asRange is
// set. False when the text does not fit the buffer.
bool FormatSelectionReference(const EvalState& state, const SelectionRange& selection, char* buffer, size_t size,
                              bool absolute = false, const char* sheetText = nullptr, bool asRange = false);

#endif
