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

#include "core/cell_store.h"
#include "core/eval_value.h"
#include "core/formula_strings.h"

class CWorkBook;
class EvalState;

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

class EvalState {
 public:
  static constexpr uint16_t kStackSlots = 50;  // slot 0 unused on both stacks

  explicit EvalState(CWorkBook* owner = nullptr, CellStore* sheet = nullptr);
  ~EvalState();
  EvalState(const EvalState&) = delete;
  EvalState& operator=(const EvalState&) = delete;

  // Reads one token at *position, blanks skipped before it, and moves
  // *position past it; returns its kind. A text token's characters are pushed
  // on the text pool, an array constant's chain on the array stack. A
  // character that starts no token gives kind 0 and the syntax status.
  uint32_t NextToken(const char** position, EvalValue* token, bool storedForm);

  // Rewrites the formula in text (capacity bytes, its NUL included) between
  // the display form and the stored form, relative to the cell (column, row).
  // False, with the text unchanged, when the text does not begin with "=" or
  // "+", cannot be read, or its translation passes kFormulaTextCapacity
  // characters or the capacity.
  bool TranslateFormula(char* text, size_t capacity, uint32_t column, uint32_t row, bool toStored);

  // Empties the stacks, the text pool, the status and the array store
  // (blocks kept for the next formula).
  void ResetForFormula(uint32_t column, uint32_t row);
  // Empties the array store and frees its blocks.
  void FreeTempStore();
  // Drops count operands from the slot index downwards, popping the pool
  // string of each text and the chain of each array, so that the pool and the
  // array stack stay in step with the operand stack.
  void ReleaseValues(uint16_t index, uint16_t count);

  // The worksheet a qualifier names through the resolver; null without one.
  CellStore* FindQualifiedSheet(CellStore* from, const char* sheetText) const {
    return resolveSheet ? resolveSheet(*this, from, sheetText) : nullptr;
  }

  CWorkBook* owner;  // its tree items serve sheet lookups
  CellStore* sheet;  // unqualified references point here
  EvalValue operands[kStackSlots];
  EvalValue operators[kStackSlots];
  uint16_t operandTop;
  uint16_t operatorTop;
  // A formula cell not yet calculated in this pass that the formula read;
  // recalculation picks it up.
  EvalValue pending;
  FormulaStrings strings;
  EvalArrayStore arrays;
  uint8_t status;
  uint8_t precedence[kOperatorCount];  // by operator code - 1
  uint16_t column;  // the formula's own cell
  uint32_t row;
  SheetResolver resolveSheet;
};

#endif
