#ifndef TALVERO_FUNCTIONS_ARRAY_RESULT_H
#define TALVERO_FUNCTIONS_ARRAY_RESULT_H

// The end of a handler that returns a new array: the cells built at
// relative coordinates become the result, an array of columns x rows in
// the first argument's slot, whose chain goes on the array stack.

#include <cstdint>

#include "core/eval/eval_array_builder.h"
#include "core/formula/eval_state.h"

// Releases the arguments and makes the builder's cells the result. A failed
// builder gives "#MEMORY!", a full array stack "#VALUE!", an error other
// than 0 an empty value carrying it; no cell of the builder then remains.
void SetArrayResult(EvalState& state, ArrayBuilder& builder, uint32_t columns, uint32_t rows, uint32_t error = 0);

#endif
