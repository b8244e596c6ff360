#include <cstdint>
#include <cstdlib>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "functions/aggregate_cells.h"
#include "functions/cell_integer.h"
#include "functions/factorial.h"
#include "functions/fn_sums.h"

namespace {

constexpr int32_t kSmallestInt = -2147483647 - 1;
constexpr int32_t kLargestInt = 2147483647;

// Calls visit(value, error) for every integer of the arguments, single
// positions and existing cells alike, from the last argument to the first;
// omitted positions are skipped.
template <class Visit>
void ForEachInteger(EvalState& state, int32_t min, int32_t max, Visit visit) {
  const uint16_t first = FirstArg(state);
  for (uint16_t slot = static_cast<uint16_t>(state.operandTop - 1); slot >= first; --slot) {
    if (!IsRangeOrArray(state.operands[slot])) {
      if (IsOmittedArg(state.operands[slot]))
        continue;
      int32_t value = 0;
      const uint8_t error = GetArgInt(state, slot, &value, min, max);
      visit(value, error);
      continue;
    }
    ArgRange range;
    const uint8_t rangeError = GetArgRange(state, slot, &range);
    if (rangeError != kErrorNone)
      visit(0, rangeError);
    // Every cell is visited, whatever the values.
    PendingGather::WalkScope walk(state.pendingGather);
    while (const CellRecord* cell = NextArgCell(range)) {
      int32_t value = 0;
      if (ReadPlainInteger(state, range, cell, min, max, &value)) {
        visit(value, kErrorNone);
        continue;
      }
      CellValueToSlot(state, slot, range, cell);
      const uint8_t error = GetArgInt(state, slot, &value, min, max);
      state.DisownSlot(slot);
      visit(value, error);
    }
    ReleaseArgRange(state, range);
  }
}

// Euclid with the truncating remainder, so negative values can give a
// negative divisor. The remainder by -1 is 0, which also keeps the lowest
// integer divided by -1 out of the arithmetic.
int32_t TruncatingGcd(int32_t value, int32_t divisor) {
  int32_t a = value;
  int32_t b = divisor;
  for (;;) {
    const int32_t remainder = b == -1 ? 0 : a % b;
    if (remainder == 0)
      return b;
    a = b;
    b = remainder;
  }
}

int64_t Gcd64(int64_t a, int64_t b) {
  while (b != 0) {
    const int64_t r = a % b;
    a = b;
    b = r;
  }
  return a;
}

}  // namespace

void FnGcd(EvalState& state) {
  if (!RequireArgs(state, 1))
    return;
  uint32_t error = kErrorNone;
  int32_t divisor = 0;
  ForEachInteger(state, kSmallestInt, kLargestInt, [&](int32_t value, uint8_t valueError) {
    error = LargerErrorOf(error, valueError);
    if (error != kErrorNone)
      return;
    divisor = divisor == 0 ? value : TruncatingGcd(value, divisor);
  });
  if (error == kErrorNone && divisor == 0)
    error = kErrorNum;
  SetNumberResult(state, divisor, error);
}

// The least common multiple is kept exactly in 64 bits; a multiple beyond
// the 32-bit range is "#NUM!" rather than a truncated number.
void FnLcm(EvalState& state) {
  if (!RequireArgs(state, 1))
    return;
  uint32_t error = kErrorNone;
  int64_t multiple = 0;
  ForEachInteger(state, kSmallestInt, kLargestInt, [&](int32_t value, uint8_t valueError) {
    error = LargerErrorOf(error, valueError);
    if (valueError != kErrorNone)
      return;
    if (value == 0) {
      error = LargerErrorOf(error, kErrorValue);
      return;
    }
    const int64_t v = value < 0 ? -int64_t(value) : int64_t(value);
    if (multiple == 0) {
      multiple = v;
      return;
    }
    if (multiple > kLargestInt)
      return;  // already too large; "#NUM!" below
    multiple = multiple / Gcd64(multiple, v) * v;
  });
  if (error == kErrorNone && (multiple == 0 || multiple > kLargestInt))
    error = kErrorNum;
  SetNumberResult(state, double(multiple), error);
}

void FnMultinomial(EvalState& state) {
  if (!RequireArgs(state, 1))
    return;
  uint32_t error = kErrorNone;
  double denominator = 1;
  int64_t total = 0;
  ForEachInteger(state, 1, kLargestInt, [&](int32_t value, uint8_t valueError) {
    error = LargerErrorOf(error, valueError);
    if (error != kErrorNone)
      return;
    denominator *= Factorial(value);
    total += value;
    if (IsBadNumber(denominator))
      error = kErrorNum;
  });
  double result = 0;
  if (error == kErrorNone) {
    const double numerator = Factorial(total);
    result = numerator / denominator;
    if (IsBadNumber(numerator) || IsBadNumber(result))
      error = kErrorNum;
  }
  SetNumberResult(state, result, error);
}
