#ifndef TALVERO_FUNCTIONS_AGGREGATE_CELLS_H
#define TALVERO_FUNCTIONS_AGGREGATE_CELLS_H

// Reading the cells of range and array arguments for the aggregating
// handlers. A cell's value is put into the argument's own slot, which owns
// nothing once GetArgRange has taken its cells, and read back through the
// argument readers, so the text pool stays in step.

#include <cstdint>

#include "core/base/result_check.h"
#include "core/formula/eval_state.h"
#include "core/numfmt/date_time.h"
#include "functions/arg_readers.h"
#include "functions/plain_text_cell.h"

constexpr double kLargestNumber = 1.7976931348623157e308;

inline bool IsRangeOrArray(const EvalValue& value) {
  return value.kind == kEvalRange || value.kind == kEvalArray;
}
inline bool IsOmittedArg(const EvalValue& value) { return value.kind == kEvalEmpty && value.error == 0; }
inline uint32_t LargerErrorOf(uint32_t a, uint32_t b) { return a > b ? a : b; }

// GetArgRange for an argument that must be a range or an array: any other
// value, an omitted one too, is "#VALUE!" unless it carries its own error.
uint8_t GetRequiredArgRange(EvalState& state, uint16_t slot, ArgRange* out);

// Releases the arguments past the first count, which a handler of fixed
// arity does not read; inline, as nearly every call has none.
void ReleaseArgsBeyond(EvalState& state, uint16_t count);
inline void IgnoreArgsBeyond(EvalState& state, uint16_t count) {
  if (state.operandTop > FirstArg(state) + count) ReleaseArgsBeyond(state, count);
}

// The cell's value in the slot (a text on the pool); its error is kept.
void CellValueToSlot(EvalState& state, uint16_t slot, const ArgRange& range, const CellRecord* cell);
// The cell read as a number, as a single argument would be; its error.
uint8_t ReadCellNumber(EvalState& state, uint16_t slot, const ArgRange& range, const CellRecord* cell,
                       double* out);

// What reading the cell's value notes of it, without reading it: only a
// formula or an array formula's value can be pending.
inline void NotePendingCell(EvalState& state, const ArgRange& range, const CellRecord* cell) {
  if (cell->IsFormula() || cell->IsSpillValue()) state.NotePending(cell, range.sheet);
}

// While uncalculated cells are gathered for a walk that stops at a bad
// running total, a value read that could make the total bad ends the
// gathering: where the walk stops is then left to the values themselves.
inline void GatherOnlyTameValue(EvalState& state, double x) {
  if (state.pendingGather.Open() && !PendingGather::IsTame(x)) state.pendingGather.Close();
}

// The number of a number cell, or of a formula cell without error or text,
// when it passes the result check; false, untouched, for any other cell.
// Nothing is noted: the callers note the cell as their walks do.
inline bool PlainCellNumber(const CellRecord* cell, double* out) {
  if (cell->ErrorCode() != 0) return false;
  double number = 0.0;
  if (cell->IsNumber())
    number = cell->Number();
  else if (cell->IsFormula() && !cell->HasCachedText())
    number = cell->CachedNumber();
  else
    return false;
  if (IsBadNumber(number)) return false;
  *out = number;
  return true;
}

// The common case of ReadCellNumber without the slot: a number or formula
// cell without error or text whose number passes the result check gives
// what ReadCellNumber would (and is noted as pending the same way); false,
// untouched, for any other cell.
inline bool ReadPlainNumber(EvalState& state, const ArgRange& range, const CellRecord* cell, double* out) {
  // A number cell without error or spill mark, nearly every cell read, in
  // one test of its type byte: such a cell is never pending.
  if (cell->Type() == kCellNumber) {
    const double plain = cell->Number();
    if (IsBadNumber(plain)) return false;
    *out = plain;
    return true;
  }
  double number = 0.0;
  if (!PlainCellNumber(cell, &number)) return false;
  NotePendingCell(state, range, cell);
  *out = number;
  return true;
}

// ReadCellNumber for a caller that reads nothing back from the slot: a
// plain number leaves the slot as it was.
inline uint8_t ReadCellNumberInPlace(EvalState& state, uint16_t slot, const ArgRange& range, const CellRecord* cell,
                                     double* out) {
  return ReadPlainNumber(state, range, cell, out) ? uint8_t(kErrorNone) : ReadCellNumber(state, slot, range, cell, out);
}

// False for a text that cannot spell a number as TextToNumberValue reads
// one: a character no number holds, or a sign anywhere but at the start or
// after an exponent mark. True says only that the text may spell one.
bool MaySpellNumber(const char* text, size_t length);

// A cell's key inside its argument's rectangle: cells of two rectangles
// with equal keys lie at the same offset from their first corners.
inline uint64_t CellKey(const ArgRange& range, const CellRecord* cell) {
  return uint64_t(cell->Row() - range.firstRow) * 2047u + (cell->Column() - range.firstColumn);
}

// Walks two rectangles together in storage order, handing out the cells
// that share a key (either may be null when one side has no cell there).
class PairedWalk {
 public:
  PairedWalk(ArgRange& x, ArgRange& y) : x_(x), y_(y) {
    nextX_ = NextArgCell(x_);
    nextY_ = NextArgCell(y_);
  }
  // False at the end of both.
  bool Next(const CellRecord** x, const CellRecord** y);

 private:
  ArgRange& x_;
  ArgRange& y_;
  const CellRecord* nextX_;
  const CellRecord* nextY_;
};

// The text GetArgText makes of a cell's value read in place: a text up to
// its first NUL, a number as the evaluator writes it, an error by its name,
// nothing for an empty value. *text points at it, in the cell or in buffer
// (kArgTextCapacity bytes); the result is its length.
size_t CellValueText(const CellValueView& value, char* buffer, const char** text);

// A cell read as GetArgDate reads it, without taking its text through the
// pool: an empty cell leaves the date alone, a number is "#VALUE!".
uint8_t ReadCellDate(EvalState& state, const ArgRange& range, const CellRecord* cell, DateTime* out);
// The same, a plain text cell in the form dates are written in read where
// it stands, by the reader ReadCellDate tries first, without its view of
// the cell: dates in ranges (holidays, a schedule's dates) nearly all are.
inline uint8_t ReadCellDateInPlace(EvalState& state, const ArgRange& range, const CellRecord* cell, DateTime* out) {
  const char* text = nullptr;
  size_t length = 0;
  if (ReadPlainTextCell(state, cell, &text, &length) && ReadPlainIsoDate(text, length, out)) return kErrorNone;
  return ReadCellDate(state, range, cell, out);
}

// The cell of the argument at (column, row) in its own coordinates; null
// when there is none. An array's chain is walked from its head: a store
// with an index would cost more to set up than the walk.
const CellRecord* ArgCellAt(const ArgRange& range, uint32_t column, uint32_t row);

#endif
