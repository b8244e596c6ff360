#ifndef TALVERO_FUNCTIONS_ARG_READERS_H
#define TALVERO_FUNCTIONS_ARG_READERS_H

// How handlers read their arguments. Each reader takes the argument's
// operand slot, resolves a cell reference, converts between text and
// number, checks bounds, releases the text or array the slot owned and
// returns the slot's error byte (0 when the value is usable). An omitted
// argument (an empty value without error) returns 0 and leaves the output
// alone, so the handler's default stands. An argument's own error wins over
// the reader's. Read the arguments from the last to the first, as they lie
// on the pool and the array stack; afterwards a slot owns nothing.

#include <cstdint>

#include "core/base/error_code.h"
#include "core/cells/cell_store.h"
#include "core/cells/range_walk.h"
#include "core/numfmt/date_time.h"
#include "core/formula/eval_state.h"

// What a reader reports for an argument of the wrong kind: the argument's
// own error when it carries one, else "#VALUE!".
inline uint8_t KindError(uint32_t ownError) {
  return static_cast<uint8_t>(ownError != kErrorNone ? ownError : uint32_t(kErrorValue));
}

// Buffers given to GetArgText hold the pool's capacity.
constexpr size_t kArgTextCapacity = FormulaStrings::kByteCapacity;

// A number rounded half away from zero. It is stored even out of bounds
// (limited to the 32-bit range); valid within [min, max] and when the
// number lies within +-2147483647, else "#NUM!". A text that spells no
// number is "#NUM!", a range or an array "#VALUE!".
uint8_t GetArgInt(EvalState& state, uint16_t slot, int32_t* out, int32_t min, int32_t max);
uint8_t GetArgInt64(EvalState& state, uint16_t slot, int64_t* out, int64_t min, int64_t max);
// The number itself, stored even out of bounds; valid within [min, max].
uint8_t GetArgNumber(EvalState& state, uint16_t slot, double* out, double min, double max);
// An ISO 8601 date, time or both; anything else is "#VALUE!".
uint8_t GetArgDate(EvalState& state, uint16_t slot, DateTime* out);
// The text (a number written as the evaluator writes numbers) into buffer,
// which holds kArgTextCapacity bytes; a range or an array is "#VALUE!".
uint8_t GetArgText(EvalState& state, uint16_t slot, char* buffer);

// The cells of a range or array argument, walked by core's range walk: a
// range's cells stay in its worksheet (sheet); an array's chain was taken
// off the array stack and belongs to the handler until ReleaseArgRange.
struct ArgRange : RangeWalk {
  bool ownsChain;  // an array's chain
};

// A single worksheet column the pass keeps listed (see ColumnCells): its
// records in row order as [*first, *last). False for any other range, and
// for a column not listed (yet).
inline bool ListedColumn(EvalState& state, const ArgRange& range, const CellRecord* const** first,
                         const CellRecord* const** last) {
  return range.sheet && range.firstColumn == range.lastColumn && range.lastColumn <= kMaxColumn &&
         range.lastRow - range.firstRow >= ColumnCells::kMinRows - 1 &&
         state.columnCells.Cells(range.sheet, static_cast<uint16_t>(range.firstColumn), range.firstRow, range.lastRow,
                                 first, last);
}

// Turns the walk of a worksheet range (not yet listed) to the column's list
// when the pass keeps one; false, untouched, when it does not.
inline bool UseListedColumn(EvalState& state, ArgRange& range) {
  const CellRecord* const* first = nullptr;
  const CellRecord* const* end = nullptr;
  if (!ListedColumn(state, range, &first, &end)) return false;
  range.WalkList(first, static_cast<uint32_t>(end - first));
  return true;
}

// The output is cleared first. A range or an array without error gives its
// cells; any other value that is not omitted is "#VALUE!".
uint8_t GetArgRange(EvalState& state, uint16_t slot, ArgRange* out);
// GetArgRange for the arguments its set-up without calls does not cover.
uint8_t GetArgRangeGeneral(EvalState& state, uint16_t slot, ArgRange* out);
// The argument's next cell in storage order (row by row, left to right),
// existing cells only; null at the end.
inline const CellRecord* NextArgCell(ArgRange& range) { return range.Next(); }
// The argument's remaining cells in NextArgCell's order, each handed to
// visit(const CellRecord*), which returns false to stop the walk there;
// false when visit stopped it (see RangeWalk::VisitCells).
template <class Visit>
bool WalkArgCells(ArgRange& range, Visit visit) {
  return range.VisitCells(visit);
}

// Starts the walk of NextArgCell again at the first row of the bounds (which
// the caller may have narrowed): a range's through its worksheet's row index,
// an array's at the head of its chain.
inline void RestartArgRange(ArgRange& range) { range.Restart(); }
// Gives an array's cells back to the array store; a range keeps its cells.
// Afterwards the range owns nothing and holds no cells, so that a second
// release gives nothing back; its other fields are not read again. Inline:
// a range, nearly every argument, has nothing to give back.
void ReleaseArgChain(EvalState& state, ArgRange& range);
inline void ReleaseArgRange(EvalState& state, ArgRange& range) {
  if (range.ownsChain) ReleaseArgChain(state, range);
  range.ownsChain = false;
  range.Clear();
}

// The number of arguments of the call on top of the stack; a handler that
// needs more than it was given sets the syntax status through this. Inline,
// as the other counts: every handler asks at every call.
inline uint16_t FirstArg(const EvalState& state) { return state.operands[state.operandTop].firstArgument; }
inline uint16_t ArgCount(const EvalState& state) {
  const uint16_t first = FirstArg(state);
  return state.operandTop > first ? static_cast<uint16_t>(state.operandTop - first) : 0;
}
// The slot of the argument at a position counted from 0.
inline uint16_t ArgSlot(const EvalState& state, uint16_t index) {
  return static_cast<uint16_t>(FirstArg(state) + index);
}
// False, with the syntax status, when fewer than minimum were given.
inline bool RequireArgs(EvalState& state, uint16_t minimum) {
  if (ArgCount(state) >= minimum) return true;
  state.status = kEvalStatusSyntax;
  return false;
}
// False, with the syntax status, unless exactly count were given.
inline bool RequireExactArgs(EvalState& state, uint16_t count) {
  if (ArgCount(state) == count) return true;
  state.status = kEvalStatusSyntax;
  return false;
}
// Ends a call: releases every argument the handler left unread and puts
// the result in the first argument's slot, which becomes the top. A number
// result passes the result check.
void SetNumberResult(EvalState& state, double value, uint32_t error);
void SetErrorResult(EvalState& state, uint32_t error);
// The text is pushed on the pool; a full pool gives "#VALUE!".
void SetTextResult(EvalState& state, const char* text, size_t length, uint32_t error);

#endif
