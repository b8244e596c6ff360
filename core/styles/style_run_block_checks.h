#ifndef TALVERO_CORE_STYLES_STYLE_RUN_BLOCK_CHECKS_H
#define TALVERO_CORE_STYLES_STYLE_RUN_BLOCK_CHECKS_H

// The check of style runs that come from outside the program (a file's
// stored blocks): the run store trusts its runs to lie on the grid, in row
// and column order, without overlap.

#include <cstdint>

#include "core/cells/stored_blocks.h"

// A stored style-run block of length bytes: whole runs on the grid, columns
// not reversed, in row and column order after order without overlap. A style
// index past the table's styleCount becomes 0, the style such an index
// stands for.
bool CheckStyleRunBlock(uint8_t* bytes, uint32_t length, StoredOrder* order, uint16_t styleCount);

#endif
