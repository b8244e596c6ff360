#ifndef TALVERO_CORE_FORMULA_RESULT_H
#define TALVERO_CORE_FORMULA_RESULT_H

// Writing an evaluated result back into its formula cell during
// recalculation: the cached number or text, or an array result spilled into
// the cells to the right and below.

#include <cstdint>

#include "core/cells/cell_store.h"
#include "core/formula/eval_state.h"

// Stores the result that state.Evaluate left (kind is what it returned) in
// the formula cell (column, row) of store, whose record is cell (null: looked
// up), and marks the cell calculated. block is the block the caller found
// the record in (null: unknown); it is used only while the record lies there.
// The formula's error nibble always becomes the result's error. False when
// storage ran out: the cell then carries "#MEMORY!". *layoutChanged is set
// when records were moved, inserted or deleted (cursors into store are then
// stale); it is never cleared.
bool StoreFormulaResult(EvalState& state, uint32_t kind, CellStore& store, CellRecord* cell, CellBlock* block,
                        uint16_t column, uint32_t row, bool* layoutChanged);

// A number written over the formula record's single cached number, with
// the result flags given; false, with nothing written, when the record
// holds an array or a text result instead and must be rebuilt.
inline bool WriteNumberInPlace(CellRecord* cell, double number, uint8_t error, uint8_t resultFlags) {
  if (cell->ResultFlags() & (kResultArray | kResultCachedText))
    return false;
  // A result that carries an error holds nothing else (see StoreFormulaError).
  cell->SetCachedNumber(error ? 0.0 : number);
  cell->SetResultFlags(resultFlags);
  cell->SetType(static_cast<uint8_t>(kCellFormula | error));
  return true;
}

// StoreFormulaResult's most frequent case, inline for the pass: a number
// result (kind kEvalNumber) written in place with the result flags given
// (and the client's mark kept); false, with nothing written, in every
// other case.
inline bool StoreNumberInPlace(const EvalState& state, uint32_t kind, CellRecord* cell, uint8_t resultFlags) {
  if (kind != kEvalNumber || !cell)
    return false;
  const EvalValue& result = state.operands[1];
  return WriteNumberInPlace(cell, result.kind == kEvalNumber ? result.number : 0.0,
                            static_cast<uint8_t>(result.error & kCellErrorMask),
                            static_cast<uint8_t>(resultFlags | (cell->ResultFlags() & kResultClientFormula)));
}

// The formula cell (column, row) of store, whose record is cell (null:
// looked up), shows the error and is calculated. A value that carries an
// error is that error alone: the record keeps no number or text of an
// earlier result beneath it, which a reader could tell apart and which
// the native XML file does not carry. Nor does it own a result area: an
// array formula's spill goes and its area shrinks to its own cell; it is
// flagged an array formula exactly when the error stands for an array
// result (arrayResult), whatever it held before. False when the record
// could not be rebuilt for want of memory: it then carries "#MEMORY!" in
// place.
bool StoreFormulaError(EvalState& state, CellStore& store, CellRecord* cell, uint16_t column, uint32_t row,
                       uint8_t error, bool arrayResult, bool* layoutChanged);

// Parts of StoreFormulaResult (array_spill.cpp).
// Writes the array result on top of state's array stack from the formula
// cell (column, row) over the cells to the right and below; cell and block
// as for StoreFormulaResult.
bool StoreArrayResult(EvalState& state, CellStore& store, CellRecord* cell, CellBlock* block, uint16_t column,
                      uint32_t row, bool* layoutChanged);
// Deletes the spill values of a spilling array formula's result area, its
// formula cell excepted; cells of any other kind found there are kept.
void DeleteOwnSpill(CellStore& store, uint16_t column, uint32_t row, uint16_t columns, uint32_t rows);
// Replaces the formula cell's record by one with the same formula text and
// return link and the given result; false (record unchanged) when out of
// memory. at, when given, is a cursor on the record, where the search for
// its place starts; it is left on the new record.
bool RewriteFormulaCell(CellStore& store, const CellRecord* cell, const FormulaCellFields& result, CellCursor* at);
// The result flags that survive a new result: the pass's own bookkeeping
// and the mark of a formula an automation client put in.
inline uint8_t PassFlags(const CellRecord* cell) {
  return static_cast<uint8_t>(cell->ResultFlags() & (kResultCalculated | kResultDependantWaits | kResultClientFormula));
}

#endif
