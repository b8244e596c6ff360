#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/element_call.h"
#include "numerics/bessel_integer_order.h"
#include "numerics/engineering_handlers.h"
#include "numerics/error_function.h"

namespace {

uint16_t Position(const EvalState& state, uint16_t index) { return static_cast<uint16_t>(FirstArg(state) + index); }

// x over the full range and the order n, 0..2147483647.
template <class Bessel>
void BesselCall(EvalState& state, Bessel bessel) {
  if (!BeginElementCall(state, 2)) return;
  int32_t n = 0;
  uint32_t error = GetArgInt(state, Position(state, 1), &n, 0, 2147483647);
  double x = 0.0;
  error = LargerErrorOf(error, GetArgNumber(state, Position(state, 0), &x, -kLargestNumber, kLargestNumber));
  SetNumberResult(state, error == kErrorNone ? bessel(n, x) : 0.0, error);
}

// The error functions answer an infinite, NaN or denormal result with
// "#VALUE!" rather than the usual "#NUM!".
void SetErfResult(EvalState& state, double value, uint32_t error) {
  if (error == kErrorNone && IsBadNumber(value)) error = kErrorValue;
  SetNumberResult(state, value, error);
}

}  // namespace

void FnBesselJ(EvalState& state) { BesselCall(state, BesselJ); }
void FnBesselY(EvalState& state) { BesselCall(state, BesselY); }

// ERF(lower, upper): erf(lower) alone when upper is empty.
void FnErf(EvalState& state) {
  if (!BeginElementCall(state, 2)) return;
  const EvalValue& upperValue = state.operands[Position(state, 1)];
  const bool hasUpper = !IsOmittedArg(upperValue);
  double upper = 0.0;
  uint32_t error = GetArgNumber(state, Position(state, 1), &upper, -kLargestNumber, kLargestNumber);
  double lower = 0.0;
  error = LargerErrorOf(error, GetArgNumber(state, Position(state, 0), &lower, -kLargestNumber, kLargestNumber));
  double value = 0.0;
  if (error == kErrorNone) value = hasUpper ? ErfBetween(lower, upper) : Erf(lower);
  SetErfResult(state, value, error);
}

void FnErfc(EvalState& state) {
  if (!BeginElementCall(state, 1)) return;
  double x = 0.0;
  const uint32_t error = GetArgNumber(state, FirstArg(state), &x, -kLargestNumber, kLargestNumber);
  SetErfResult(state, error == kErrorNone ? Erfc(x) : 0.0, error);
}
