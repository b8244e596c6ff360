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

// Binds every built-in function's handler: the function library's, then
// this library's over its placeholders. The program, its tests and its
// benchmarks install the functions through this one routine before any
// formula is evaluated. False when a binding names an entry the table does
// not hold.
bool InstallFunctionLibrary();

#endif
