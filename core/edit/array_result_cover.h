#ifndef TALVERO_CORE_ARRAY_RESULT_COVER_H
#define TALVERO_CORE_ARRAY_RESULT_COVER_H

// Commands that turn array formulas into values change the formula's whole
// result, wherever it lies; the rectangle they record for undo must hold it.

#include "core/edit/reference_adjust.h"

class CellStore;

// The rectangle widened to the right and downwards so that it covers the
// whole result of every array formula that starts inside it (not past the
// grid's last column and row).
CellRange CoverArrayResults(const CellStore& cells, const CellRange& range);

#endif
