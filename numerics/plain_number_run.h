#ifndef TALVERO_NUMERICS_PLAIN_NUMBER_RUN_H
#define TALVERO_NUMERICS_PLAIN_NUMBER_RUN_H

// The number cells that lie right after a cell NextArgCell just handed out,
// in the same block and row and inside the rectangle, taken in one tight
// loop (see RangeWalk::TakeNumberRun). Plain number cells need no pending
// note: only formulas and array values are noted.

#include <cstdint>

#include "functions/arg_readers.h"

// Takes the run after cell into out (at most room numbers) and moves the
// range's walk past them; their count.
template <bool kRefuseNegativeZero, bool kRefuseTiny = false>
inline uint32_t TakePlainNumberRun(ArgRange& range, const CellRecord* cell, double* out, uint32_t room) {
  return range.TakeNumberRun<kRefuseNegativeZero, kRefuseTiny>(cell, out, room);
}

#endif
