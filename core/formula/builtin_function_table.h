#ifndef TALVERO_CORE_BUILTIN_FUNCTION_TABLE_H
#define TALVERO_CORE_BUILTIN_FUNCTION_TABLE_H

// The built-in function names of the formula language. The scanner
// recognises a function by its name followed by "(", letter case aside; the
// evaluator calls the entry's handler with the arguments on its stack.
//
// The names belong to the language and live here, so that formulas translate
// and scan without the function library. The handlers belong to the function
// libraries, which bind them by name when the program starts; until then
// every name answers "#IMPL!".

#include <cstddef>
#include <cstdint>

class EvalState;

using FunctionHandler = void (*)(EvalState& state);

constexpr size_t kFunctionNameSize = 24;  // upper case, "(" and the NUL included
constexpr uint16_t kBuiltinFunctionCount = 365;

struct BuiltinFunction {
  FunctionHandler handler;
  char name[kFunctionNameSize];
};
// 28 bytes on the 32-bit target; the 64-bit build's handler pointer is wider.
static_assert(sizeof(BuiltinFunction) == sizeof(FunctionHandler) + kFunctionNameSize,
              "an entry is a handler and a 24-byte name");
static_assert(offsetof(BuiltinFunction, name) == sizeof(FunctionHandler), "layout");

// 365 entries and a terminator with a null handler and an empty name. Sorted
// by name in place, once per process; indexes are those of the sorted order.
extern BuiltinFunction BuiltinFunctionTable[kBuiltinFunctionCount + 1];

// Sorts the table the first time it is called and counts its entries.
void SortBuiltinFunctionTable();
uint16_t BuiltinFunctionCount();

// True when the text at position begins with a table name including its "(",
// letter case aside; gives the sorted index and the position after "(".
bool FindBuiltinFunction(const char* position, uint16_t* index, const char** end);

// The handler of names that are recognised but not implemented: any number
// of arguments, all released unread; the result is "#IMPL!".
void FnNotImplemented(EvalState& state);

// Gives every entry called name (upper case, with its "(") the handler;
// returns the number of entries bound, 0 for an unknown name.
int BindBuiltinFunctionHandler(const char* name, FunctionHandler handler);

#endif
