#ifndef TALVERO_NUMERICS_NUMERIC_FUNCTION_TABLE_H
#define TALVERO_NUMERICS_NUMERIC_FUNCTION_TABLE_H

// The statistical handlers by name. The function library binds its own
// handlers first; this library then binds the names it implements over the
// library's placeholders, so that neither the core nor the function library
// needs to know it.

#include <cstddef>

#include "functions/function_table.h"

extern const FunctionHandlerBinding kNumericHandlerBindings[];
extern const size_t kNumericHandlerBindingCount;

// Installs the function library's handlers, then this library's. False when
// either names an entry the table does not hold.
bool InstallNumericFunctionHandlers();

#endif
