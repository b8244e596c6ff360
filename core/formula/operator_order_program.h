#ifndef TALVERO_CORE_OPERATOR_ORDER_PROGRAM_H
#define TALVERO_CORE_OPERATOR_ORDER_PROGRAM_H

// A kept formula's parse, done once. What the operator-precedence parse does
// with a formula's tokens (which operands it pushes, which operator or call
// it applies when, where omitted arguments go) depends only on the tokens'
// kinds, so it is recorded as steps in the order the evaluator carries them
// out; each evaluation of the formula walks the steps instead of parsing
// again, applying exactly the same operators to the same slots.

#include <cstdint>

#include "core/formula/scanned_token.h"

enum ProgramAction : uint8_t {
  kStepTakeOperand,   // the token at `token` becomes the next operand
  kStepOmitted,       // an empty operand for an omitted argument
  kStepApplyOperator, // the operator `value` is applied
  kStepCall,          // the call at `token` runs, its first argument in slot `value`
  // The cell corners at `token` and `token + value` joined by ":" into the
  // next operand, as taking both and applying ":" would leave it.
  kStepTakeRange,
};

struct ProgramStep {
  uint8_t action;
  uint8_t value;
  uint16_t token;
};
static_assert(sizeof(ProgramStep) == 4, "steps are kept packed beside the tokens");

// Records the steps for tokens (tokenCount of them, the end last) into
// steps, which has room for tokenCount steps (never more are needed).
// Returns the number of steps, or 0 when the formula gets no program and is
// parsed at every evaluation as before: any structural syntax error (the
// parse would stop part way, after running what came before), a stack the
// parse would overflow, an intersection (whose operand count depends on
// the values), or a token kind the steps do not cover. A ":" between two
// single-cell corners without an error becomes one kStepTakeRange.
uint32_t BuildOperatorOrderProgram(const ScannedToken* tokens, uint32_t tokenCount, ProgramStep* steps);

// Whether the steps compute on numbers alone: numbers without an error and
// single cells, joined by + - * / ^, unary minus and percent (a number
// alone too, but not a cell alone), so that an evaluation may first try
// them on plain doubles.
bool IsNumericProgram(const ScannedToken* tokens, const ProgramStep* steps, uint32_t stepCount);

// One argument of a formula that is a single call over operands alone (as
// "=COUNT(A1:H1)"): its step, and for a range written relative to the
// formula's cell, on the grid and in A1-free R1C1 form, what replay would
// work out from the two corner tokens every time: the offsets to add (0
// for a part written without a number) and the corners' flags.
enum CallArgumentShape : uint8_t {
  kArgumentStep,           // taken as its step says
  kArgumentRelativeRange,  // the offsets and flags below hold
  kArgumentPlainNumber,    // a number token without an error
  kArgumentRelativeCell,   // a single cell as kArgumentRelativeRange's first corner
};
struct CallArgument {
  ProgramStep step;
  uint8_t shape;  // CallArgumentShape
  uint32_t offsets[4];    // first column, first row, second column, second row
  uint32_t firstFlags;
  uint32_t secondFlags;
};

// Whether the steps are operands, ranges and omitted arguments (or none)
// followed by one call whose first argument is the first of them, the call's function
// an entry of the table; then arguments (room for stepCount - 1) describes
// each operand.
bool DescribeOneCall(const ScannedToken* tokens, const ProgramStep* steps, uint32_t stepCount,
                     CallArgument* arguments);

// Every step of any program described as DescribeOneCall describes an
// argument (descriptions has room for stepCount), so that the general
// replay too adds a relative range's offsets instead of decoding its
// corners each time; whether any step is such a range, a relative cell or
// a plain number.
bool DescribeRangeSteps(const ScannedToken* tokens, const ProgramStep* steps, uint32_t stepCount,
                        CallArgument* descriptions);

#endif
