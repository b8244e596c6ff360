#ifndef TALVERO_CORE_OPERATOR_PRECEDENCE_H
#define TALVERO_CORE_OPERATOR_PRECEDENCE_H

// How tightly each operator binds, by operator code - 1: higher binds
// tighter, and every operator is left-associative. The evaluator's parse
// and the programs kept for formulas must agree on it.

#include <cstdint>

#include "core/formula/eval_value.h"

inline constexpr uint8_t kOperatorPrecedence[kOperatorCount] = {
    1, 1, 1, 1, 1, 1,  // = < <= > >= <>
    2, 2, 2,           // + - &
    3, 3,              // * /
    4,                 // ^
    5, 5,              // unary minus, %
    6, 6,              // _ (intersection), ! (sheet)
    7,                 // : (range)
};

// What the previous token left the parse expecting; the parse and the
// programs kept for formulas step through the same states.
enum class ParsePrevious {
  kStart,
  kOperand,
  kOpenParen,
  kCloseParen,
  kPercent,
  kBinaryOperator,
  kUnaryMinus,
  kListSeparator,
  kFunctionCall,
};

// After these an operand is complete, so an operator is binary and no
// further operand may follow directly.
inline bool EndsOperand(ParsePrevious previous) {
  return previous == ParsePrevious::kOperand || previous == ParsePrevious::kCloseParen || previous == ParsePrevious::kPercent;
}

inline bool AwaitsOperand(ParsePrevious previous) {
  return previous == ParsePrevious::kBinaryOperator || previous == ParsePrevious::kUnaryMinus;
}

#endif
