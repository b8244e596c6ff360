#include <cmath>

#include "core/base/error_code.h"
#include "functions/aggregate_cells.h"
#include "functions/fn_math.h"
#include "functions/int_pow.h"
#include "functions/scalar_call.h"

namespace {

constexpr ScalarArg kAnyNumber = {false, -kLargestDouble, kLargestDouble, 0};
constexpr ScalarArg kDigits = {true, -14, 14, 0};

double Fail(uint32_t* error, uint32_t code) {
  *error = code;
  return 0;
}

// How ROUND and its kin round the fraction left after shifting the digits.
enum class Rounding { kHalfAway, kTowardZero, kAwayFromZero };

// The magnitude is rounded and the sign put back, so every direction is
// symmetric about zero: ROUND(-2.5) is -3, ROUNDDOWN(-1.9) is -1.
double RoundToDigits(double x, int32_t digits, Rounding rounding) {
  const bool negative = x < 0;
  const double magnitude = std::fabs(x);
  const double p = IntPow(10.0, digits >= 0 ? digits : -digits);
  const double shifted = digits >= 0 ? magnitude * p : magnitude / p;
  // Shifted beyond the largest double, the number has no digits at that
  // place to round: ROUND(1e300, 2) is 1e300.
  if (std::isinf(shifted)) return x;
  double whole = 0;
  const double fraction = std::modf(shifted, &whole);
  double step = 0;
  if (rounding == Rounding::kHalfAway) step = std::floor(fraction + 0.5);
  if (rounding == Rounding::kAwayFromZero) step = std::ceil(fraction);
  const double rounded = digits >= 0 ? (whole + step) / p : (whole + step) * p;
  return negative ? -rounded : rounded;
}

void CallRound(EvalState& state, ScalarFormula formula) {
  RunScalarFunction(state, ScalarFunction{2, {kAnyNumber, kDigits}, formula});
}

// The nearest multiple of m, a tie (within a relative 1e-14) away from zero.
double NearestMultiple(double x, double m, uint32_t* error) {
  if ((x < 0 && m > 0) || (x > 0 && m < 0)) return Fail(error, kErrorNum);
  if (m == 0) return Fail(error, kErrorDivZero);
  const bool negative = x < 0;
  if (negative) {
    x = -x;
    m = -m;
  }
  const double q = x / m;
  const double c = std::ceil(q);
  const double f = std::floor(q);
  const double dc = std::fabs(x - c * m);
  const double df = std::fabs(x - f * m);
  const double d = std::fabs(dc - df);
  double multiple;
  if (df < dc && (dc + df) * 1e-14 < d)
    multiple = f;
  else if (dc < df && d > 1e-14 * (dc + df))
    multiple = c;
  else
    multiple = c > f ? c : f;
  const double result = multiple * m;
  return negative ? -result : result;
}

}  // namespace

void FnRound(EvalState& state) {
  CallRound(state, [](const double* x, uint32_t*) { return RoundToDigits(x[0], int32_t(x[1]), Rounding::kHalfAway); });
}

void FnRoundDown(EvalState& state) {
  CallRound(state,
            [](const double* x, uint32_t*) { return RoundToDigits(x[0], int32_t(x[1]), Rounding::kTowardZero); });
}

void FnTrunc(EvalState& state) { FnRoundDown(state); }

void FnRoundUp(EvalState& state) {
  CallRound(state,
            [](const double* x, uint32_t*) { return RoundToDigits(x[0], int32_t(x[1]), Rounding::kAwayFromZero); });
}

void FnMRound(EvalState& state) {
  RunScalarFunction(state, ScalarFunction{2, {kAnyNumber, {false, -kLargestDouble, kLargestDouble, 1}},
                                           [](const double* x, uint32_t* error) {
                                             return NearestMultiple(x[0], x[1], error);
                                           }});
}

// Away from zero: CEILING(-2.5, 1) is -3.
void FnCeiling(EvalState& state) {
  RunScalarFunction(state, ScalarFunction{2, {kAnyNumber, {false, 0, kLargestDouble, 1}},
                                           [](const double* x, uint32_t* error) {
                                             if (x[1] == 0) return Fail(error, kErrorDivZero);
                                             const double m = std::ceil(std::fabs(x[0]) / x[1]) * x[1];
                                             return x[0] < 0 ? -m : m;
                                           }});
}

// Towards zero: FLOOR(-2.5, 1) is -2. The step has no default.
void FnFloor(EvalState& state) {
  RunScalarFunction(state, ScalarFunction{2, {kAnyNumber, {false, 0, kLargestDouble, 0}},
                                           [](const double* x, uint32_t* error) {
                                             if (x[1] == 0) return Fail(error, kErrorDivZero);
                                             const double m = std::floor(std::fabs(x[0]) / x[1]) * x[1];
                                             return x[0] < 0 ? -m : m;
                                           }});
}

void FnInt(EvalState& state) {
  RunScalarFunction(state, ScalarFunction{1, {kAnyNumber}, [](const double* x, uint32_t*) {
                                             return std::floor(x[0]);
                                           }});
}

// The next even integer away from zero; an even integer stays.
void FnEven(EvalState& state) {
  RunScalarFunction(state, ScalarFunction{1, {kAnyNumber}, [](const double* x, uint32_t*) {
                                             const double v = x[0];
                                             if (std::fmod(v, 2) == 0) return v;
                                             return v >= 0 ? 2 * std::ceil(v / 2) : 2 * std::floor(v / 2);
                                           }});
}

// The next odd integer away from zero; an odd integer stays, 0 gives 1.
void FnOdd(EvalState& state) {
  RunScalarFunction(state, ScalarFunction{1, {kAnyNumber}, [](const double* x, uint32_t*) {
                                             const double v = x[0];
                                             if (std::fabs(std::fmod(v, 2)) == 1) return v;
                                             return v >= 0 ? 2 * std::ceil((v - 1) / 2) + 1
                                                           : 2 * std::floor((v + 1) / 2) - 1;
                                           }});
}
