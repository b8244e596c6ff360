#ifndef TALVERO_CORE_REFERENCE_ADJUST_H
#define TALVERO_CORE_REFERENCE_ADJUST_H

// Keeping formulas pointed at their cells through structural edits. Stored
// formulas hold relative references as offsets from their own cell; when
// rows or columns are inserted or deleted, or a block is transposed, the
// cells move but the offsets do not, so every formula of the edited
// worksheet is rewritten. References qualified with a worksheet and
// absolute parts are never rewritten.

#include <cstddef>
#include <cstdint>

#include "core/cells/cell_store.h"

class EvalState;

// The edit a formula rewrite follows.
enum StructureEdit : uint32_t {
  kEditRowsInserted = 1,
  kEditRowsDeleted = 2,
  kEditColumnsInserted = 3,
  kEditColumnsDeleted = 4,
  kEditBlockTransposed = 5,
};

// The edited span: rows first..last (every column) for row edits, columns
// first..last (every row) for column edits, the source rectangle for a
// transposition.
struct CellRange {
  uint16_t firstColumn;
  uint32_t firstRow;
  uint16_t lastColumn;
  uint32_t lastRow;
};

// Why a rewrite could not be done.
enum AdjustFailure : uint8_t {
  kAdjustNoFailure = 0,
  // A moved reference would leave the grid.
  kAdjustOffGrid = 1,
  // A rewritten formula would pass kFormulaTextCapacity characters (or the
  // caller's capacity), or its record would not fit a block.
  kAdjustTooLong = 2,
  kAdjustOutOfMemory = 3,
};

// Where a cell that was at (column, row) lies after the edit; false when the
// edit deleted it or, for a transposition, pasted over it.
bool CellAfterEdit(uint32_t operation, const CellRange& area, uint32_t column, uint32_t row,
                   uint32_t* newColumn, uint32_t* newRow);

// Rewrites the stored formula text (NUL-terminated, capacity bytes with the
// NUL) of the cell now, after the edit, at (column, row), so that each
// unqualified relative reference designates the cell it designated before:
// a reference follows its target exactly when the target moved. A
// reference into deleted lines becomes "#REF!"; a range with one end in them
// shrinks to the lines that remain, and is "#REF!" when none remain. Sets
// changed and replaces text only when something was rewritten. False, with
// text unchanged and the reason in failure (when given), when a reference
// would leave the grid or the text would grow too long.
bool AdjustReferences(EvalState& state, char* text, size_t capacity, uint32_t column, uint32_t row,
                      uint32_t operation, const CellRange& area, bool* changed, uint8_t* failure = nullptr);

// Fills rewritten (emptied first) with a new record for every formula of
// store whose text the edit changes, at the cell's position after the edit.
// With storeEdited false the store is still as it was before the edit, so
// that an edit can be checked before anything moves; formulas the edit
// deletes are skipped. originals, when given (with storeEdited false), is
// emptied and receives each of those formulas' records as they stand before
// the edit, at their places then. False with the reason in failure.
bool CollectAdjustedFormulas(EvalState& state, CellStore* store, uint32_t operation, const CellRange& area,
                             bool storeEdited, CellStore* rewritten, uint8_t* failure,
                             CellStore* originals = nullptr);

// Puts the records of rewritten into store over the formula cells at the same
// positions (cells that are no longer formulas are left alone). A record of
// the old size is written in place; false, with kAdjustOutOfMemory, when a
// longer one cannot be inserted (the records before it are applied).
bool ApplyAdjustedFormulas(CellStore* store, CellStore* rewritten, uint8_t* failure);

// Gives each formula cell of store standing where a record of kept stands
// the formula text of that record, its result and state left as they are
// (cells that are no longer formulas are left alone): what an undone edit
// puts back of the formulas it had rewritten. False, with
// kAdjustOutOfMemory, when a record cannot be stored.
bool RestoreFormulaTexts(CellStore* store, const CellStore& kept, uint8_t* failure);

// Rewrites every formula of store after the edit has been made to its cells.
// Every new text is computed before any is written: on failure the store is
// unchanged, except after a failed insertion (kAdjustOutOfMemory).
bool NotifyFormulas(EvalState& state, CellStore* store, uint32_t operation, const CellRange& area,
                    uint8_t* failure = nullptr);

#endif
