#ifndef TALVERO_CORE_SCANNED_TOKEN_H
#define TALVERO_CORE_SCANNED_TOKEN_H

// One token of a formula as the scanner reads it, before any evaluator takes
// it: a reference keeps its R1C1 parts as written, so that it resolves
// against whichever cell the formula is evaluated in, and a text its place
// in the formula. EvalState::NextToken reads and takes one token at a time;
// the cache of scanned formulas keeps a formula's tokens to be taken again.

#include <cstdint>

#include "core/formula/formula_ref_text.h"

struct ScannedToken {
  uint16_t kind;  // EvalKind or operator code, as the evaluator's token
  uint8_t error;  // of a number or text token
  // A reference read in A1 form: its corner is absolute already.
  uint8_t resolved;
  // A text token's characters, or the "{" of an array constant, counted from
  // the scan's base; a function call's sorted table index in textLength.
  uint32_t textOffset;
  uint32_t textLength;
  union {
    double number;
    R1C1Corner corner;
  };
};

// Reads the token at *position (blanks skipped first), offsets counted from
// base, without touching an evaluator. *position moves past the token,
// except for an array constant, which stays at its "{" for the evaluator to
// read into its array store, and a character that starts no token (kind 0).
// A name-like start that yields no characters (a lone "$") gives an empty
// text token without advancing.
uint32_t ScanFormulaToken(const char* base, const char** position, ScannedToken* token, bool storedForm);

// The corner a reference token names when its formula is evaluated in the
// cell (column, row).
inline RefCorner ScannedTokenCorner(const ScannedToken& token, uint32_t column, uint32_t row) {
  const R1C1Corner& c = token.corner;
  return token.resolved ? RefCorner{static_cast<uint32_t>(c.column), static_cast<uint32_t>(c.row), c.flags}
                        : ResolveR1C1Corner(c, column, row);
}

#endif
