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

#endif
