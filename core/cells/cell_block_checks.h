#ifndef TALVERO_CORE_CELLS_CELL_BLOCK_CHECKS_H
#define TALVERO_CORE_CELLS_CELL_BLOCK_CHECKS_H

// Checks of cell records that come from outside the program (a file's
// stored blocks, other programs' cells). The store trusts its records: whole
// records of a known kind and error code, on the grid, in strictly
// increasing (row, column) order. What would break that makes a check fail;
// values a record merely carries out of range are brought within it, so
// that the cell is the same in every format it is saved in.

#include <cstdint>

#include "core/cells/cell_record.h"
#include "core/cells/stored_blocks.h"

// The extent of an array formula's result anchored at (row, column), at
// least one cell and not past the grid.
void CheckArrayExtent(uint32_t row, uint16_t column, uint16_t* columns, uint32_t* rows);

// A number cell's value or a formula's cached number that is no finite
// number (an infinity, a NaN) becomes "#NUM!" over 0, as the evaluator holds
// it.
void CheckCellNumber(CellRecord* cell);

// A stored cell block of length bytes: whole records with a known kind and
// error code, formula texts of at most longestFormula bytes, cells on the
// grid in strictly increasing row and column order after order, which is
// moved on to the block's last cell. The recalculation state of formulas is
// cleared, as a load starts afresh, an array formula's extent is brought
// within the grid, and numbers that are not finite become "#NUM!".
bool CheckCellBlock(uint8_t* bytes, uint32_t length, StoredOrder* order, uint16_t longestFormula);

#endif
