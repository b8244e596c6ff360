#ifndef TALVERO_CORE_RECALC_GATHERED_CELLS_H
#define TALVERO_CORE_RECALC_GATHERED_CELLS_H

// The pass's use of what an evaluation gathered (core/formula/pending_gather.h):
// a formula waiting on the chain takes the uncalculated cells its evaluation
// listed one by one, in place of the evaluations that would each have found
// the next of them first, while evaluating it again would still read up to
// the next of them; and a result read from values that all stood is kept.

#include <cstdint>

#include "core/cells/cell_store.h"
#include "core/formula/eval_state.h"

// Whether a settled cell was calculated to another value than the one the
// evaluation read: not at all, inside the walk of the cells settled last,
// or anywhere else.
constexpr uint8_t kNotDiverged = 0;
constexpr uint8_t kDivergedInWalk = 1;
constexpr uint8_t kDiverged = 2;

// A suspended formula's share of the evaluator's list: the entries from
// base to end, the first of them the cell it needed first (each cell's
// above those of the cell it waits for); those before next taken or passed,
// those before settled calculated and looked at (their marks cleared); and
// the count of changed result areas when it was evaluated.
struct GatheredCells {
  uint32_t base;
  uint32_t next;
  uint32_t settled;
  uint32_t end;
  uint32_t spillChanges;
  uint8_t diverged;
  // The budget's bits and sizes of the terms that the cells settled so far
  // in the walk of the last one add, as their values now stand.
  uint8_t settledBits;
  double settledSizes;
  // The evaluation's number result, kept while it may stand: it listed
  // every uncalculated cell it read, and none has changed so far. Once
  // they are all calculated to the values it read, evaluating again would
  // read all it read and give that very result.
  bool resultKept;
  bool keptIsNumber;
  uint8_t keptError;
  double keptNumber;
};

// Nothing gathered, for a cell joining the chain whose entries will stand
// from base on.
inline void StartGathered(GatheredCells& gathered, uint32_t base) {
  gathered.base = gathered.next = gathered.settled = gathered.end = base;
  gathered.spillChanges = 0;
  gathered.diverged = kNotDiverged;
  gathered.settledBits = 0;
  gathered.settledSizes = 0;
  gathered.resultKept = false;
}

void KeepGathered(EvalState& state, uint32_t kind, GatheredCells& gathered);
uint32_t TakeKeptResult(EvalState& state, const GatheredCells& gathered);
void DropGathered(EvalState& state, GatheredCells& gathered);
CellRecord* TakeGathered(EvalState& state, GatheredCells& gathered);
void NoteStanding(const EvalState& state, uint32_t kind, CellRecord* cell);

#endif
