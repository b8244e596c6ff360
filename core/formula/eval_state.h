#ifndef TALVERO_CORE_EVAL_STATE_H
#define TALVERO_CORE_EVAL_STATE_H

// One formula evaluator. A formula is kept as text and evaluated from its
// text every time, with an operand stack and an operator stack; the same
// record reads tokens for the translation between the display form and the
// stored form of formulas. Stacks, text pool and array stack are fixed-size
// and popped in step, so nothing is allocated per value except the cells of
// array values.

#include <cstddef>
#include <cstdint>

#include "core/cells/cell_store.h"
#include "core/formula/column_cells.h"
#include "core/formula/eval_value.h"
#include "core/formula/formula_strings.h"
#include "core/formula/handler_caches.h"
#include "core/formula/qualified_sheets.h"
#include "core/formula/lookup_indexes.h"
#include "core/formula/pending_gather.h"
#include "core/formula/scanned_formula_cache.h"
#include "core/formula/scanned_token.h"
#include "core/model/tree_item.h"

class CWorkBook;
class EvalState;
class KeptCellLookups;

// The array store of an evaluator: the cells of array values and array
// constants, each array a chain of the store, and the stack of the chains
// that belong to the values on the operand stack.
using EvalArrayStore = ArrayStore;

// Finds the worksheet that a qualifier text names for a reference made in
// the worksheet `from`: a text beginning with "\" is a full path, any other
// is relative to the folder of `from`. Null when nothing is found. The
// workbook supplies it; an evaluator without one resolves no qualifier.
using SheetResolver = CellStore* (*)(const EvalState& state, CellStore* from, const char* sheetText);

// Evaluator status: a syntax error or too few function arguments, after
// which the whole formula is "#SYNTAX!".
constexpr uint8_t kEvalStatusSyntax = 0xC0;

// Formula texts, "=" included, in either form.
constexpr size_t kFormulaTextCapacity = 1024;

// Which rows SortRows orders by: up to kMaxSortKeys columns, each ascending
// (non-zero) or descending.
constexpr uint32_t kMaxSortKeys = 100;
struct SortKeys {
  CellStore* store;
  uint32_t keyCount;
  const uint16_t* keyColumns;
  const uint8_t* ascending;
  // For a short sort by one key: the key cell of each row from firstRow on
  // (null where there is none), gathered once instead of looked up at every
  // comparison.
  const CellRecord* const* keyCells = nullptr;
  uint32_t firstRow = 0;
};

// A cell's value read in place (EvalState::ViewCell): what CellToValue
// would put in a slot, a text left in the cell instead of the pool.
struct CellValueView {
  uint32_t kind;     // kEvalNumber, kEvalText or kEvalEmpty
  uint32_t error;
  double number;     // 0 unless a number
  const char* text;  // the cell's own bytes, not terminated
  size_t length;
};

// The result area of an array formula as a recalculation pass found it:
// the formula's cell and the far corner of the values it spilled. A value
// read there before the formula is calculated in the pass is stale.
struct SpillExtent {
  CellStore* store;
  uint16_t column;
  uint32_t row;
  uint16_t lastColumn;
  uint32_t lastRow;
  uint8_t calculated;  // set once the formula was found calculated
  // The last row covered by this area or by any area of the same store
  // before it in the pass's ordered list.
  uint32_t reachRow;
};

class EvalState {
 public:
  static constexpr uint16_t kStackSlots = 50;  // slot 0 unused on both stacks
  // Texts joined by "&" and CONCATENATE.
  static constexpr size_t kJoinedTextCapacity = 1024;
  // Elements that all the arrays built for one formula may hold, about 80 MB
  // of cells: less than a whole column (2,097,152 rows), so arithmetic that
  // would fill every row of one gives "#MEMORY!" instead of taking memory
  // and time without bound.
  static constexpr uint32_t kArrayElementBudget = 2000000;

  explicit EvalState(CWorkBook* owner = nullptr, CellStore* sheet = nullptr);
  // An evaluator made for one call of a function that evaluates formulas
  // itself (a solver): every slot is written before it is read, so its
  // stacks are left as they are instead of cleared.
  struct ForOneCall {};
  EvalState(CWorkBook* owner, CellStore* sheet, ForOneCall);
  // The same for an evaluator kept from one such call to the next: made as
  // that constructor makes a new one, and afterwards rid of what it holds
  // (its arrays' blocks and kept tokens) while its tables stay.
  void StartOneCall(CWorkBook* owner, CellStore* sheet);
  void EndOneCall();
  ~EvalState();
  EvalState(const EvalState&) = delete;
  EvalState& operator=(const EvalState&) = delete;

  // Evaluates a stored-form formula ("=" or "+" first) in the cell (column,
  // row) of the current worksheet. Returns the result's kind: kEvalNumber
  // (also for an empty or error-only result), kEvalText or kEvalArray, or 0
  // with the syntax status when the formula cannot be evaluated. The result
  // is operand slot 1, its error byte the formula's error value; afterwards
  // the text pool and the array stack hold nothing but the result's own text
  // or array, whatever failed.
  uint32_t Evaluate(const char* text, uint32_t column, uint32_t row);
  // The same for a text of length bytes, with or without a NUL after them
  // (a cell's formula text as stored); one longer than kFormulaTextCapacity
  // cannot be evaluated.
  uint32_t Evaluate(const char* text, size_t length, uint32_t column, uint32_t row);
  // The same from tokens kept for a formula text, valid for as long as this
  // evaluation lasts.
  uint32_t Evaluate(const ScannedFormula& scanned, uint32_t column, uint32_t row);

  // Reads one token at *position, blanks skipped before it, and moves
  // *position past it; returns its kind. A text token's characters are pushed
  // on the text pool, an array constant's chain on the array stack. A
  // character that starts no token gives kind 0 and the syntax status.
  uint32_t NextToken(const char** position, EvalValue* token, bool storedForm);
  // The evaluator's token for a scanned one (offsets counted from base): a
  // reference resolved against the formula's own cell, a text pushed on the
  // pool (a full pool gives an empty value with "#VALUE!"); kind 0 sets the
  // syntax status. An array constant is not taken here: NextToken reads it.
  uint32_t TakeScannedToken(const ScannedToken& scanned, const char* base, EvalValue* token);

  // Rewrites the formula in text (capacity bytes, its NUL included) between
  // the display form and the stored form, relative to the cell (column, row).
  // False, with the text unchanged, when the text does not begin with "=" or
  // "+", cannot be read, or its translation passes kFormulaTextCapacity
  // characters or the capacity.
  bool TranslateFormula(char* text, size_t capacity, uint32_t column, uint32_t row, bool toStored);

  // Empties the stacks, the text pool, the status and the array store
  // (blocks kept for the next formula). In line: every evaluation starts
  // here, and most made no array, so the store is emptied only when its
  // chain changed since it was last emptied.
  void ResetForFormula(uint32_t ownColumn, uint32_t ownRow) {
    column = static_cast<uint16_t>(ownColumn);
    row = ownRow;
    operandTop = 0;
    operatorTop = 0;
    status = 0;
    arrayElementsLeft = kArrayElementBudget;
    strings.Reset();
    if (arrays.SavedCount() != 0 || arrays.ChainChanges() != arraysEmptiedAt) EmptyArrayStore();
  }
  // Empties the array store and frees its blocks.
  void FreeTempStore();
  // Drops count operands from the slot index downwards, popping the pool
  // string of each text and the chain of each array, so that the pool and the
  // array stack stay in step with the operand stack.
  void ReleaseValues(uint16_t index, uint16_t count);
  // For a function handler: releases what the call's arguments still own and
  // makes the first argument's slot, cleared, the top; the result goes there.
  EvalValue& ClearArguments();

  // The worksheet a qualifier names through the resolver; null without one.
  CellStore* FindQualifiedSheet(CellStore* from, const char* sheetText) const {
    return resolveSheet ? resolveSheet(*this, from, sheetText) : nullptr;
  }

  // Operators (eval_operators.cpp). Applies the operator or call record in
  // the top operand slot to the operands below it: a binary operator leaves
  // its result in its left operand's slot, a unary one in its operand's, a
  // call in its first argument's slot.
  void ApplyOperator();
  // After a handler of a call whose arguments began at slot first: the
  // result stays there, and whatever the handler left above it is released
  // (the syntax status when it left less).
  // Inline: nearly every handler leaves its result alone on top.
  void KeepCallResultOnTop(uint16_t first) {
    if (status == 0 && operandTop != first) ReleaseAboveCallResult(first);
  }
  void ReleaseAboveCallResult(uint16_t first);
  // Element-wise application over ranges and arrays: the arguments are the
  // slots first .. top - 1, the operator or call record to re-apply is at the
  // top; flags[i] marks each argument to take element by element. True with
  // an array of the common shape in slot first; false with "#VALUE!" there
  // (or the flagged arguments' error) when the shapes differ.
  bool BroadcastArrays(const uint8_t* flags, uint16_t first);
  // False where BroadcastArrays would refuse to nest one more level.
  static bool MayBroadcast();

  // References (eval_references.cpp). A cell reference becomes the cell's
  // value; a text is pushed on the top of the pool.
  void ResolveReference(EvalValue& value);
  // The value of a cell (null: an empty value) for a value whose sheet says
  // where the cell lies (none for the cells of arrays); a text is pushed on
  // the top of the pool. A formula cell not calculated in this pass is noted
  // as pending when the value has a worksheet.
  void CellToValue(EvalValue& value, const CellRecord* cell);
  // The number CellToValue gives for the cell at corner of store (0 for a
  // blank), read without a slot; false where it would give anything else or
  // note the cell: a text, an error, a number the result check refuses, a
  // formula not calculated in this pass, a place a spill area may still
  // cover, a corner off the sheet.
  bool ReadPlainCell(CellStore& store, const RefCorner& corner, double* number);
  // The record at corner of store (null: a blank), through the kept
  // lookups when there are any; false for a corner off the grid.
  bool FindGridCell(CellStore& store, const RefCorner& corner, const CellRecord** cell) const;
  // The same for the cell found (null: a blank) in the given column.
  bool PlainCellNumber(const CellRecord* cell, uint32_t cellColumn, double* number) const;
  // The same value read in place, for handlers that only look at it: the
  // cell (not null) is noted as pending when store is given, and a text the
  // pool could not take now reads as empty with "#VALUE!", as it would there.
  // The error given joins the cell's, as a value's own error does there.
  CellValueView ViewCell(const CellRecord* cell, CellStore* store, uint32_t error = 0);
  // A range becomes an array value whose chain is pushed on the array stack.
  void RangeToArray(EvalValue& value);
  // The range (a cell made a one-cell range) taken from every item that the
  // folder contains, stacked downwards in tree order: the k-th item's cells
  // at k times the range's height.
  void FolderRangeToArray(EvalValue& value, const CWorkSheetTree::CTreeItem* folder);
  // The folder path of the worksheet that owns store, ending with "\"
  // (kTreePathCapacity bytes); false with an empty text when it is unknown.
  bool GetSheetFolderPath(const CellStore* store, char* buffer) const;

  // The same for operand slots, keeping the text pool and the array stack in
  // the order of the operand stack whatever owns the slots above.
  void ResolveOperand(uint16_t slot) {
    if (slot != 0 && slot < kStackSlots && operands[slot].kind == kEvalCellRef) ResolveCellOperand(slot);
  }
  void RangeOperandToArray(uint16_t slot);
  // Notes a formula cell of store that is not yet calculated in this pass
  // as the pending reference, unless one is noted already. A spill value
  // inside a spill area whose formula is not yet calculated notes that
  // formula.
  void NotePending(const CellRecord* cell, CellStore* store) {
    // A formula calculated in this pass, nearly every cell noted, is looked
    // at no further, in line.
    if ((cell->Type() & (kCellKindMask | kCellSpillValue)) == kCellFormula &&
        (cell->ResultFlags() & kResultCalculated))
      return;
    NoteCellRead(cell, store);
  }
  // NotePending for any other cell.
  void NoteCellRead(const CellRecord* cell, CellStore* store);
  // The uncalculated formula cell noted first, and one read after it while
  // a walk gathers them.
  void NoteFirstPending(const CellRecord* cell, CellStore* store);
  void NoteFurtherPending(const CellRecord* cell, CellStore* store);
  // Names the cell as the one the formula waits for.
  void SetPendingCell(CellStore* store, uint16_t column, uint32_t row) {
    pending.Clear();
    pending.kind = kEvalCellRef;
    pending.cell = RefCorner{column, row, kRefCell};
    pending.sheet = store;
  }
  // A nested evaluation inside a pass reads the pass's result areas as the
  // pass's own evaluator does; none outside a pass.
  void ShareSpillAreas(const EvalState& pass) {
    spillAreas = pass.spillAreas;
    spillAreaCount = pass.spillAreaCount;
    spillFirstColumn = pass.spillFirstColumn;
    spillLastColumn = pass.spillLastColumn;
  }
  void ForgetSpillAreas() {
    spillAreas = nullptr;
    spillAreaCount = 0;
    spillFirstColumn = 1;
    spillLastColumn = 0;
  }
  // The same for a rectangle of store read whatever cells stand there: the
  // formula of a spill area it meets that is not yet calculated in this
  // pass, since that formula may still write or remove values there.
  void NoteSpillAreaMeeting(CellStore* store, uint32_t firstColumn, uint32_t lastColumn, uint32_t firstRow,
                            uint32_t lastRow) {
    // Most ranges lie beside every area, and most passes know none.
    if (spillAreaCount != 0 && lastColumn >= spillFirstColumn && firstColumn <= spillLastColumn) {
      // Gathering cannot tell which area formula the walk would wait for.
      pendingGather.Close();
      NoteStaleSpillArea(store, firstColumn, lastColumn, firstRow, lastRow);
    }
  }

  // Conversions of operand slots (eval_conversions.cpp). A text becomes the
  // number it spells (blanks around it allowed, the current decimal
  // separator); anything else is an empty value with "#NUM!". A value that
  // already carries an error only loses its text.
  void TextToNumber(uint16_t slot) {
    if (slot != 0 && slot < kStackSlots && operands[slot].kind == kEvalText) TextOperandToNumber(slot);
  }
  // A number (or an empty value) becomes its text with the generic
  // separators, an error-carrying value its error's text; a full pool gives
  // an empty value with "#VALUE!".
  void ValueToText(uint16_t slot);

  // Ownership of operand slots. The number of slots above slot, up to the
  // top, that own a pool string (kind text) or an array chain (kind array).
  uint16_t OwnersAbove(uint16_t slot, uint32_t kind) const;
  // Moves what was just pushed for slot (its text or array on the top of the
  // pool or the array stack) below what the slots above it own.
  void KeepInStep(uint16_t slot);
  // The slot's text; empty when it holds none.
  const char* SlotText(uint16_t slot) const;
  size_t SlotTextLength(uint16_t slot) const;
  // Takes the slot's array chain off the array stack for the caller, who
  // then owns it; the slot becomes an empty value keeping its error and
  // corners. Null when the slot holds no array.
  CellBlock* TakeSlotArray(uint16_t slot);
  // Releases whatever the slot owns wherever it lies in the pool or the
  // array stack; the slot becomes an empty value keeping its error and
  // corners.
  void DisownSlot(uint16_t slot) {
    if (slot >= kStackSlots) return;
    EvalValue& value = operands[slot];
    if (value.kind == kEvalText || value.kind == kEvalArray) ReleaseSlotOwnings(slot);
    value.kind = kEvalEmpty;
    value.number = 0;
  }
  // Empties a text slot whose string its reader found depth strings below
  // the pool's top: the top one, nearly always, popped as a release pops it.
  void DropSlotText(EvalValue& value, uint16_t depth) {
    if (depth == 0)
      strings.Pop();
    else
      strings.RemoveFromTop(depth);
    value.kind = kEvalEmpty;
    value.number = 0;
  }
  // Pushes on the operand or the operator stack; false with the syntax
  // status when the stack is full.
  bool PushOperand(const EvalValue& value) { return Push(operands, operandTop, value); }
  bool PushOperator(const EvalValue& value) { return Push(operators, operatorTop, value); }

  // Orders the row numbers first..last into index (last - first + 1
  // entries) by the key columns (sort_rows.cpp). More than kMaxSortKeys keys
  // leave the rows in their order. The order is not stable.
  void SortRows(CellStore* store, uint32_t first, uint32_t last, uint32_t keyCount,
                const uint16_t* keyColumns, const uint8_t* ascending, uint32_t* index);
  // Negative when row a sorts before row b, 0 when their keys are equal.
  int CompareSortRows(const SortKeys& keys, uint32_t a, uint32_t b) const;

  // The invariant of the stacks: the text pool holds exactly one string per
  // text operand and the array stack one chain per array operand, in the
  // order of the operand stack, and no array is being built. After an
  // evaluation this means that nothing but the result owns anything. On
  // failure a description goes to message (when given). For tests and
  // debugging.
  bool CheckStackOwnership(char* message = nullptr, size_t capacity = 0) const;

  CWorkBook* owner;  // its tree items serve sheet lookups
  CellStore* sheet;  // unqualified references point here
  EvalValue operands[kStackSlots];
  EvalValue operators[kStackSlots];
  uint16_t operandTop;
  uint16_t operatorTop;
  // A formula cell not yet calculated in this pass that the formula read;
  // recalculation picks it up. Its error field is kPendingForResultArea
  // when the cell was noted for a result area it may still write rather
  // than for its own value.
  static constexpr uint32_t kPendingForResultArea = 1;
  EvalValue pending;
  // The formula cell whose number the recalculation pass wrote last, in
  // place, while its store showed the count of chain changes kept with it
  // (no cell outside a pass): a root search beside its target, which the
  // pass has just calculated, takes the target's record from here.
  struct StoredFormulaCell {
    const CellRecord* cell;
    const CellStore* store;
    uint64_t changes;
  };
  StoredFormulaCell lastStored = {nullptr, nullptr, 0};
  // What is left of kArrayElementBudget for the formula being evaluated.
  uint32_t arrayElementsLeft;
  // The array formulas' result areas of the recalculation pass under way
  // (none outside a pass).
  SpillExtent* spillAreas;
  uint32_t spillAreaCount;
  // The first of them before the formula being stored that its array
  // result meets, found when the result was evaluated; null for none.
  SpillExtent* earlierSpillArea = nullptr;
  // Where the last such lookup of the pass ended in the list.
  uint32_t spillAreaHint = 0;
  // The columns the areas cover together: most ranges lie beside them all.
  uint32_t spillFirstColumn;
  uint32_t spillLastColumn;
  // Counts the result areas of the pass that differ from the ones known at
  // its start (grown, shrunk or gone): formulas calculated before them may
  // have read the old contents, or waited for a formula only for its old
  // area.
  uint32_t spillAreasChanged;
  FormulaStrings strings;
  EvalArrayStore arrays;
  // The array store's chain changes when it was last emptied.
  uint64_t arraysEmptiedAt;
  uint8_t status;
  // Whether the last translation failed because a qualifier and the
  // reference after it would reach kQualifiedRefCapacity characters: a path
  // too long for a formula, not a fault of what was typed around it.
  bool qualifiedRefTooLong = false;
  uint16_t column;  // the formula's own cell
  uint32_t row;
  SheetResolver resolveSheet;
  // The tokens of the formulas evaluated before, taken again in place of
  // scanning their texts; and those of the evaluator that made this one for
  // a solver (null for any other), read only: it changes them only when it
  // evaluates a formula itself, after this one is gone.
  ScannedFormulaCache scannedFormulas;
  const ScannedFormulaCache* ownersFormulas;
  // Where a solver's evaluator finds the cells its references name, kept
  // across the steps of one search; null for any other evaluator.
  KeptCellLookups* keptCells;
  // Arithmetic on plain numbers computed on doubles without the operand
  // slots' conversions (set by default). Off, every operator goes through
  // the slots: for comparing both ways.
  uint8_t numberShortcuts;
  // A formula that is one call over operands replayed by its own short
  // loop (set by default). Off, it walks its steps as any other: for
  // comparing both ways.
  uint8_t callShortcuts;
  // A solver's numbers-only target read from cells found once per search
  // (solverFoundCells), compiled for the search's trials
  // (solverTrialPrograms), and searched by the loops written for the
  // operators it applies to its variable (solverKnownOperations); each set
  // by default, and taken by the evaluator a solver makes from its caller's.
  // Off, each evaluation goes the general way: for comparing both ways.
  uint8_t solverFoundCells;
  uint8_t solverTrialPrograms;
  uint8_t solverKnownOperations;
  // The uncalculated cells a walk read after the first one, for the pass
  // to calculate before evaluating the formula again (on by default; off,
  // each evaluation notes only its first: for comparing both ways).
  PendingGather pendingGather;
  // The exact-match lookups' column indexes of the pass under way.
  LookupIndexes lookupIndexes;
  // The long columns that whole-column criteria walk again and again,
  // listed for the pass under way.
  ColumnCells columnCells;
  // What handlers keep from one call for the next.
  HandlerCaches handlerCaches;
  // The worksheets qualifiers named in the pass under way.
  QualifiedSheets qualifiedSheets;
  // A recalculation begins or ends: what it keeps for itself (the lookup
  // indexes, the column lists, the qualified worksheets, the gathered
  // cells) starts afresh or is dropped.
  void BeginRecalculation() {
    lookupIndexes.BeginPass();
    columnCells.BeginPass();
    qualifiedSheets.BeginPass();
    pendingGather.SetActive(true);
  }
  void EndRecalculation() {
    lookupIndexes.EndPass();
    columnCells.EndPass();
    qualifiedSheets.EndPass();
    pendingGather.SetActive(false);
  }

 private:
  bool Push(EvalValue* stack, uint16_t& top, const EvalValue& value) {
    if (top + 1 >= kStackSlots) {
      status = kEvalStatusSyntax;
      return false;
    }
    stack[++top] = value;
    return true;
  }
  // The tokens kept for the text, this evaluator's or its owner's; a text
  // that ends with a NUL may be noted or scanned now. The formula filled
  // down from the row above is found in line, anything else out of line.
  const ScannedFormula* FindScanned(const char* text, size_t length, bool endsWithNul) {
    const ScannedFormula* scanned = scannedFormulas.FindRecent(text, length, column);
    return scanned ? scanned : FindScannedElsewhere(text, length, endsWithNul);
  }
  const ScannedFormula* FindScannedElsewhere(const char* text, size_t length, bool endsWithNul);
  // A formula whose steps fold to one number (as "=1") takes it without
  // any step; false for any other.
  bool TakeConstant(const ScannedFormula& scanned) {
    if (!scanned.constant || !numberShortcuts) return false;
    EvalValue& result = operands[1];
    result.Clear();
    result.kind = kEvalNumber;
    result.number = scanned.constantNumber;
    operandTop = 1;
    return true;
  }
  // The array store emptied, its saved chains released.
  void EmptyArrayStore();
  // Evaluate after ResetForFormula: from kept tokens, or by scanning the
  // text (null: a syntax error).
  uint32_t EvaluateScanned(const ScannedFormula& scanned, uint32_t ownColumn, uint32_t ownRow);
  uint32_t EvaluateText(const char* text, uint32_t ownColumn, uint32_t ownRow);
  // Apart from the kept steps, so that their way pays for no more than it
  // uses: a text no tokens are kept for (length bytes, no NUL needed), and
  // kept tokens without steps.
  uint32_t EvaluateUnkept(const char* text, size_t length, uint32_t ownColumn, uint32_t ownRow);
  // Evaluate's ways for a text of length bytes: any text, before
  // ResetForFormula; and after it, kept tokens found, and a text that is not
  // the recent formula of its column.
  uint32_t EvaluateAnyText(const char* text, size_t length, uint32_t ownColumn, uint32_t ownRow);
  uint32_t EvaluateKept(const ScannedFormula& scanned, uint32_t ownColumn, uint32_t ownRow);
  uint32_t EvaluateNotRecent(const char* text, size_t length, uint32_t ownColumn, uint32_t ownRow);
  uint32_t ParseTokens(const ScannedFormula& scanned, uint32_t ownColumn, uint32_t ownRow);
  // The evaluation loop over the tokens that readToken(&token) gives, in
  // the cell (ownColumn, ownRow); the rest of Evaluate.
  template <class ReadToken>
  uint32_t Parse(ReadToken readToken, uint32_t ownColumn, uint32_t ownRow);
  // The same from the steps kept for the formula's parse.
  uint32_t ReplayProgram(const ScannedFormula& scanned, uint32_t ownColumn, uint32_t ownRow);
  // One step of it; false when it set a status, which ends the replay.
  bool ReplayStep(const ScannedFormula& scanned, const ProgramStep& step);
  // The same for a formula that is one call over operands (oneCall).
  uint32_t ReplayOneCall(const ScannedFormula& scanned, uint32_t ownColumn, uint32_t ownRow);
  // An operand step's operand, written into slot.
  void TakeOperandStep(const ScannedFormula& scanned, const ProgramStep& step, EvalValue& slot);
  // A relative range described when the formula was kept, written into
  // slot; false, with nothing written, when it falls off the grid.
  bool TakeRelativeRange(const CallArgument& range, EvalValue& slot);
  // The same for a relative single cell.
  bool TakeRelativeCell(const CallArgument& cell, EvalValue& slot);
  // A range step's operand, written into slot.
  void TakeCornerRange(const ScannedToken& firstToken, const ScannedToken& secondToken, EvalValue& slot);
  // The steps of a formula of numbers alone computed on plain doubles (in
  // eval_numeric_program.cpp), its number result in slot 1; false, with
  // nothing changed, where the general path would do more than compute.
  bool EvaluateNumbers(const ScannedFormula& scanned);
  // The end of either: the one operand left becomes the result (a range an
  // array, a reference its cell's value), or the formula fails with
  // "#SYNTAX!" and nothing else survives.
  uint32_t FinishEvaluation(uint32_t ownColumn, uint32_t ownRow);
  // The same at the end of a replay, a number result finished in line.
  uint32_t FinishReplay(uint32_t ownColumn, uint32_t ownRow);
  // The out-of-line parts of ResolveOperand, TextToNumber and DisownSlot,
  // for a slot that holds a reference, a text, or a text or an array.
  void ResolveCellOperand(uint16_t slot);
  void NoteStaleSpillArea(CellStore* store, uint32_t firstColumn, uint32_t lastColumn, uint32_t firstRow,
                          uint32_t lastRow);
  void TextOperandToNumber(uint16_t slot);
  void ReleaseSlotOwnings(uint16_t slot);
  // Parts of ApplyOperator.
  void ApplyCall();
  void ApplyUnary(uint32_t op);
  void ApplyBinary(uint32_t op);
  void ApplyArithmetic(uint32_t op, uint16_t left, uint16_t right);
  // The number of an operand that is one already or a single cell holding
  // one (ReadPlainCell), without an error; false for anything else.
  bool ReadPlainOperand(uint16_t slot, double* number);
  void ApplyComparison(uint32_t op, uint16_t left, uint16_t right);
  void ApplyConcatenation(uint16_t left, uint16_t right);
  void ApplyRange(uint16_t left, uint16_t right);
  void ApplyIntersection(uint16_t left, uint16_t right);
  void ApplySheetQualifier(uint16_t left, uint16_t right);
  // Releases both operands and leaves an empty value carrying error in left.
  void FailBinary(uint16_t left, uint16_t right, uint32_t error);
};

#endif
