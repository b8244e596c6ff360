#ifndef TALVERO_CORE_ERROR_CODE_H
#define TALVERO_CORE_ERROR_CODE_H

// The error values that cells and formula results carry. A code is its
// table index times 16, so that it fits the upper four bits of a cell's type
// byte; several errors combine to the largest code.

#include <cstdint>

enum ErrorCode : uint8_t {
  kErrorNone = 0,
  kErrorDivZero = 16,   // "#DIV/0!"
  kErrorName = 32,      // "#NAME?"
  kErrorNull = 48,      // "#NULL!"
  kErrorNA = 64,        // "#N/A!"
  kErrorNum = 80,       // "#NUM!"
  kErrorRef = 96,       // "#REF!"
  kErrorValue = 112,    // "#VALUE!"
  kErrorMemory = 128,   // "#MEMORY!"
  kErrorFill = 144,     // "#FILL!"
  kErrorCirc = 160,     // "#CIRC!"
  kErrorImpl = 176,     // "#IMPL!"
  kErrorSyntax = 192,   // "#SYNTAX!"
};

constexpr int kErrorCodeCount = 12;
constexpr uint8_t kErrorCodeStep = 16;

// The display text of a code; empty for 0 and for bytes that are no code.
const char* ErrorName(uint8_t code);

// The code whose display text equals the whole text, letter case aside;
// 0 when there is none (and for a null text).
uint8_t ErrorCodeFromText(const char* text);

#endif
