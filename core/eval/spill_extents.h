#ifndef TALVERO_CORE_SPILL_EXTENTS_H
#define TALVERO_CORE_SPILL_EXTENTS_H

// The spill areas a recalculation pass keeps, found by the cells they hold:
// the list is ordered by worksheet and then by formula cell in storage
// order, and each area notes the last row reached by it or by any area of
// its worksheet before it, so that a lookup bisects to the rectangle's last row and
// steps back only over the areas that may reach it.

#include <cstdint>

#include "core/formula/eval_state.h"

// Orders the list and fills every area's reachRow; the columns the areas
// cover together go to firstColumn and lastColumn (first above last for
// none).
void OrderSpillExtents(SpillExtent* areas, uint32_t count, uint32_t* firstColumn, uint32_t* lastColumn);

// The first area of store, in storage order, that meets the rectangle and
// whose formula is not yet calculated in this pass; null when there is none.
// Areas whose formula is found calculated are marked so on the way.
SpillExtent* FindStaleSpillArea(SpillExtent* areas, uint32_t count, CellStore* store, uint32_t firstColumn,
                                uint32_t lastColumn, uint32_t firstRow, uint32_t lastRow);
// Among the areas whose formula cell comes before (row, column) in storage
// order and that meet the rectangle: the first in storage order whose
// formula is not yet calculated in this pass (*stale), and the first
// whatever its formula's state (*any, when given); null when there is none.
// hint, when given, is where the last lookup of the pass ended (0 at its
// start): lookups in storage order find their place there.
void FindEarlierSpillAreas(SpillExtent* areas, uint32_t count, CellStore* store, uint32_t firstColumn,
                           uint32_t lastColumn, uint32_t firstRow, uint32_t lastRow, uint32_t row, uint32_t column,
                           SpillExtent** stale, SpillExtent** any, uint32_t* hint);

#endif
