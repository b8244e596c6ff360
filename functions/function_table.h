#ifndef TALVERO_FUNCTIONS_FUNCTION_TABLE_H
#define TALVERO_FUNCTIONS_FUNCTION_TABLE_H

// The handlers of the built-in functions, by name. The names themselves and
// their lookup belong to the formula language (core/builtin_function_table.h);
// installing the library binds each name to its handler.

#include <cstddef>

#include "core/formula/builtin_function_table.h"

struct FunctionHandlerBinding {
  const char* name;  // upper case, with its "("
  FunctionHandler handler;
};

// One binding per distinct name, in the table's order.
extern const FunctionHandlerBinding kFunctionHandlerBindings[];
extern const size_t kFunctionHandlerBindingCount;

// Binds this library's handlers into the BuiltinFunctionTable; the program
// installs them together with the statistical handlers, which bind over this
// library's placeholders. False when a binding names no entry or an entry is left unbound, which
// means the library and the language disagree on the names. Names the
// language recognises but the library does not implement keep
// FnNotImplemented.
bool InstallBuiltinFunctionHandlers();

#endif
