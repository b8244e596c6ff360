#ifndef TALVERO_FUNCTIONS_ELEMENT_CALL_H
#define TALVERO_FUNCTIONS_ELEMENT_CALL_H

// The frame of handlers that take a fixed number of argument positions and
// apply to ranges and arrays element by element.

#include <cstddef>
#include <cstdint>

#include "core/formula/eval_state.h"

// Checks that positions were given (else the syntax status), releases any
// positions beyond them, and hands the call to BroadcastArrays when one of
// the positions whose bit is set in broadcastMask holds a range or an array.
// True when the handler is to compute a scalar result itself.
bool BeginElementCall(EvalState& state, uint16_t positions, uint32_t broadcastMask = 0xFFFFFFFFu);

// A text result, or an empty value carrying the error when there is one.
void SetTextOrError(EvalState& state, const char* text, size_t length, uint32_t error);

#endif
