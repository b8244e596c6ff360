#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/base/error_code.h"
#include "functions/arg_readers.h"
#include "functions/finance_args.h"
#include "functions/fn_finance.h"
#include "functions/int_pow.h"

namespace {

int32_t Int(double value) { return static_cast<int32_t>(value); }

constexpr ScalarArg kLifeArg = kCountArg;
constexpr ScalarArg kPriceArg = {false, -2147483648.0, 2147483647.0, 0.0};
constexpr ScalarArg kDenominatorArg = {true, 1.0, kLargestInt, 1.0};

}  // namespace

// The declining rate is not rounded. Each period takes the rate of the
// value left, the first only for its months, and a schedule whose first
// year is short ends with the rest of that year in period life + 1. The
// value left before period p is a power of (1 - d), so no loop runs over
// the periods.
void FnDb(EvalState& state) {
  static constexpr ScalarArg kArgs[] = {kAmountArg, kAmountArg, kLifeArg, kLifeArg, {true, 1.0, 12.0, 12.0}};
  double v[5];
  uint32_t error = kErrorNone;
  if (!BeginFinanceCall(state, kArgs, 5, v, &error)) return;
  const double cost = v[0];
  const int32_t life = Int(v[2]);
  const int32_t period = Int(v[3]);
  const int32_t month = Int(v[4]);
  if (error == kErrorNone && (month == 12 ? period > life : period > life + 1)) error = kErrorValue;
  double result = 0.0;
  if (error == kErrorNone) {
    const double d = 1.0 - std::pow(v[1] / cost, 1.0 / life);
    const double first = cost * d * month / 12.0;
    if (period == 1) {
      result = first;
    } else {
      const double left = (cost - first) * IntPow(1.0 - d, period - 2);
      result = period == life + 1 ? left * d * (12 - month) / 12.0 : left * d;
    }
  }
  SetNumberResult(state, result, error);
}

// Earlier periods are not held above the salvage value; the last period
// takes whatever is left above it.
void FnDdb(EvalState& state) {
  static constexpr ScalarArg kArgs[] = {kAmountArg, kAmountArg, kLifeArg, kLifeArg, {false, 0.0, kLargestDouble, 2.0}};
  double v[5];
  uint32_t error = kErrorNone;
  if (!BeginFinanceCall(state, kArgs, 5, v, &error)) return;
  const double cost = v[0];
  const int32_t life = Int(v[2]);
  const int32_t period = Int(v[3]);
  if (error == kErrorNone && period > life) error = kErrorValue;
  double result = 0.0;
  if (error == kErrorNone) {
    const double f = v[4] / life;
    result = period < life ? cost * f * IntPow(1.0 - f, period - 1) : cost * IntPow(1.0 - f, life - 1) - v[1];
  }
  SetNumberResult(state, result, error);
}

void FnSln(EvalState& state) {
  static constexpr ScalarArg kArgs[] = {kAmountArg, kAmountArg, kLifeArg};
  double v[3];
  uint32_t error = kErrorNone;
  if (!BeginFinanceCall(state, kArgs, 3, v, &error)) return;
  SetNumberResult(state, error ? 0.0 : (v[0] - v[1]) / v[2], error);
}

// The period is not checked against the life: later periods give 0 or less.
void FnSyd(EvalState& state) {
  static constexpr ScalarArg kArgs[] = {kAmountArg, kAmountArg, kLifeArg, kLifeArg};
  double v[4];
  uint32_t error = kErrorNone;
  if (!BeginFinanceCall(state, kArgs, 4, v, &error)) return;
  const double life = v[2];
  SetNumberResult(state, error ? 0.0 : (life - v[3] + 1.0) * (v[0] - v[1]) / (life * (life + 1.0) / 2.0), error);
}

// The digits of the fraction, to six places without trailing zeros, are
// the numerator over the denominator: 1.02 in sixteenths is 1 + 2/16, and
// 1.1 is 1 + 1/16. A negative price converts its magnitude.
void FnDollarDe(EvalState& state) {
  static constexpr ScalarArg kArgs[] = {kPriceArg, kDenominatorArg};
  double v[2];
  uint32_t error = kErrorNone;
  if (!BeginFinanceCall(state, kArgs, 2, v, &error)) return;
  const double magnitude = std::fabs(v[0]);
  double whole = std::trunc(magnitude);
  double digits = std::floor((magnitude - whole) * 1e6 + 0.5);
  // A fraction that rounds up to a whole carries into the integer part.
  if (digits >= 1e6) {
    whole += 1.0;
    digits = 0.0;
  }
  while (digits > 0.0 && std::fmod(digits, 10.0) == 0.0) digits /= 10.0;
  const double result = whole + digits / v[1];
  SetNumberResult(state, v[0] < 0 ? -result : result, error);
}

// The numerator, rounded, written after the point with as many digits as
// the denominator has: 1.125 in sixteenths is 1.02.
void FnDollarFr(EvalState& state) {
  static constexpr ScalarArg kArgs[] = {kPriceArg, kDenominatorArg};
  double v[2];
  uint32_t error = kErrorNone;
  if (!BeginFinanceCall(state, kArgs, 2, v, &error)) return;
  const double magnitude = std::fabs(v[0]);
  const double whole = std::trunc(magnitude);
  const uint32_t denominator = static_cast<uint32_t>(v[1]);
  const uint32_t numerator = static_cast<uint32_t>((magnitude - whole) * denominator + 0.5);
  int places = 0;
  for (uint32_t rest = denominator; rest != 0; rest /= 10) ++places;
  char text[40];
  std::snprintf(text, sizeof text, "%u.%0*u", static_cast<uint32_t>(whole), places, numerator);
  const double result = std::strtod(text, nullptr);
  SetNumberResult(state, v[0] < 0 ? -result : result, error);
}
