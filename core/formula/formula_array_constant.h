#ifndef TALVERO_CORE_FORMULA_ARRAY_CONSTANT_H
#define TALVERO_CORE_FORMULA_ARRAY_CONSTANT_H

// Array constants: "{1, 2; 3, 4}" in the generic form, elements separated by
// the form's list separator and rows by its array-row separator. Elements
// are numbers, error literals, TRUE and FALSE, quoted texts, bare words
// (texts carrying "#NAME?") or nothing.

#include "core/base/bounded_text.h"
#include "core/formula/eval_value.h"

class EvalState;
struct CellBlock;

enum ArrayConstantResult {
  kArrayConstantRead,       // the token is an array; its chain is on the array stack
  kArrayConstantMalformed,  // a syntax error
  kArrayConstantNoMemory,   // a cell could not be stored
  kArrayConstantStackFull,  // the array stack holds 50 arrays already
};

// Reads the constant that opens with "{" at position into the evaluator's
// array store; *end follows its "}" (or where reading stopped).
ArrayConstantResult ParseArrayConstant(EvalState& state, const char* position, bool storedForm,
                                       EvalValue* token, const char** end);

// Writes the array of the chain, columns by rows, in the form's separators:
// "{1, 2; 3, }" (empty positions write nothing). False when an element cannot
// be written (a text holding both quote characters) or the text would reach
// kFormulaTextCapacity characters.
bool FormatArrayConstant(const CellBlock* chain, uint32_t columns, uint32_t rows, BoundedText& out,
                         bool storedForm);

#endif
