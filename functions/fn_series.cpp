#include <cmath>
#include <cstdint>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/element_call.h"
#include "functions/fn_math.h"
#include "functions/int_pow.h"
#include "functions/scalar_call.h"
#include "functions/random_stream.h"

namespace {

constexpr ScalarArg kAnyNumber = {false, -kLargestDouble, kLargestDouble, 0};
constexpr ScalarArg kAnyInteger = {true, -kLargestInt, kLargestInt, 0};

// x to a power that may lie beyond 32 bits. There |x| > 1 overflows and
// |x| < 1 vanishes whatever the exact power, so only the parity matters.
double PowerOf(double x, int64_t power) {
  constexpr int64_t kLimit = 2147483646;  // even
  if (power > kLimit) power = kLimit + (power & 1);
  if (power < -kLimit) power = -kLimit - (-power & 1);
  return IntPow(x, static_cast<int32_t>(power));
}

// ReadScalarArgs for arguments that are all numbers without error, as a
// series' x, n and m nearly always are: each within its bounds, an
// integer's whole, is taken as it stands (a zero without its sign, as an
// integer's reading gives it); false, nothing read, for any other, which
// ReadScalarArgs then reads.
bool ReadPlainScalarArgs(const EvalState& state, const ScalarArg* args, uint16_t count, double* values) {
  const EvalValue* slots = state.operands + FirstArg(state);
  for (uint16_t i = 0; i < count; ++i) {
    const EvalValue& value = slots[i];
    const double x = value.number;
    if (value.kind != kEvalNumber || value.error != kErrorNone || !(x >= args[i].min && x <= args[i].max))
      return false;
    if (args[i].integer && !(x >= -kLargestInt && x <= kLargestInt && x == double(int32_t(x)))) return false;
  }
  for (uint16_t i = 0; i < count; ++i)
    values[i] = args[i].integer ? double(int32_t(slots[i].number)) : slots[i].number;
  return true;
}

}  // namespace

// Sum of c_i * x^(n + i * m) over the coefficient cells in storage order;
// an empty cell adds nothing and does not advance the power. x, n and m
// apply element by element, the coefficients stay whole for every element.
void FnSeriesSum(EvalState& state) {
  if (!BeginElementCall(state, 4, 0x7u)) return;
  const ScalarArg scalars[3] = {kAnyNumber, kAnyInteger, kAnyInteger};
  const uint16_t coefficientsSlot = ArgSlot(state, 3);
  ArgRange coefficients;
  uint32_t error = GetRequiredArgRange(state, coefficientsSlot, &coefficients);
  double x[3] = {};
  if (!ReadPlainScalarArgs(state, scalars, 3, x)) error = LargerErrorOf(error, ReadScalarArgs(state, scalars, 3, x));
  double sum = 0;
  int64_t power = int64_t(x[1]);
  const int64_t step = int64_t(x[2]);
  // Powers rising one at a time, as most series' do, come one product each.
  RisingPowers powers(x[0]);
  const bool rising = step == 1 && power >= 1;
  while (error == kErrorNone) {
    const CellRecord* cell = NextArgCell(coefficients);
    if (!cell) break;
    double c = 0;
    error = ReadCellNumberInPlace(state, coefficientsSlot, coefficients, cell, &c);
    if (error != kErrorNone) break;
    sum += (rising && power <= RisingPowers::kMost ? powers.Of(int32_t(power)) : PowerOf(x[0], power)) * c;
    power += step;
    if (IsBadNumber(sum)) error = kErrorNum;
  }
  ReleaseArgRange(state, coefficients);
  SetNumberResult(state, sum, error);
}

// A whole number of the closed range between the bounds, each equally
// likely: one uniform deviate of the shared stream mapped onto the integers
// from ceil(min(a, b)) to floor(max(a, b)); none there, or more than a
// double counts, is "#NUM!".
void FnRandBetween(EvalState& state) {
  state.pendingGather.Forbid();  // evaluated as often as ever: each call draws anew
  RunScalarFunction(state, ScalarFunction{2, {kAnyNumber, kAnyNumber}, [](const double* x, uint32_t* error) {
                                             const double lo = std::ceil(x[0] < x[1] ? x[0] : x[1]);
                                             const double hi = std::floor(x[0] < x[1] ? x[1] : x[0]);
                                             // A span beyond the doubles has no uniform mapping.
                                             if (lo > hi || !std::isfinite(hi - lo + 1.0)) {
                                               *error = kErrorNum;
                                               return 0.0;
                                             }
                                             const double u = NextUniform(&ProcessRandomSeeds().shared);
                                             const double k = lo + std::floor((hi - lo + 1.0) * u);
                                             return k > hi ? hi : k;
                                           }});
}
