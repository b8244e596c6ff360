#ifndef TALVERO_FUNCTIONS_FUNCTION_CATALOG_H
#define TALVERO_FUNCTIONS_FUNCTION_CATALOG_H

// The catalogue of the implemented built-in functions that the formula
// composer offers: each function's category, its name as it is shown, its
// arguments and a help text. Names recognised but not implemented have no
// entry; neither have ASC, TEXT and FDISTP.

#include <cstddef>
#include <cstdint>

struct FunctionCatalogEntry {
  uint8_t category;       // 0 .. kFunctionCategoryAll - 1
  uint8_t argumentCount;  // named arguments
  uint16_t variadic;      // non-zero: the argument list repeats
  const char* name;       // mixed case, e.g. "vLookUp"; upper-cased with "(" it is the table's name
  // One NUL-terminated name per argument, optional ones in brackets
  // ("[sorted]"), the last followed by an empty name.
  const char* argumentNames;
  // One digit per argument: '1' a range or array is expected, '0' a value;
  // seven digits for a variadic entry.
  const char* argumentKinds;
  // The call form, a blank line and a description; lines end in "\r\n".
  const char* help;
};
static_assert(sizeof(void*) != 4 || sizeof(FunctionCatalogEntry) == 20, "a catalogue entry is 20 bytes");

constexpr uint16_t kFunctionCatalogCount = 294;
// The entries by category, then in catalogue order, and an all-zero entry.
extern const FunctionCatalogEntry kFunctionCatalog[kFunctionCatalogCount + 1];

// A pseudo-category that lists every entry.
constexpr uint8_t kFunctionCategoryAll = 11;
constexpr size_t kFunctionCategoryCount = 12;
extern const char* const kFunctionCategoryNames[kFunctionCategoryCount];

#endif
