#include "functions/fn_math.h"

#include <cfloat>
#include <cmath>

#include "core/base/error_code.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/combin_product.h"
#include "functions/factorial.h"
#include "functions/scalar_call.h"

namespace {

// The double nearest to pi. Results once used a 15-digit pi, which put an
// error in the last shown digit of DEGREES, RADIANS and SQRTPI.
constexpr double kPi = 3.14159265358979323846;

constexpr ScalarArg kAnyNumber = {false, -kLargestDouble, kLargestDouble, 0};
constexpr ScalarArg kNotNegative = {false, 0, kLargestDouble, 0};

// Beyond this magnitude x * x overflows, which the inverse hyperbolic
// functions have always answered with "#NUM!".
const double kLargestSquareRoot = std::sqrt(DBL_MAX);

double Fail(uint32_t* error, uint32_t code) {
  *error = code;
  return 0;
}

void CallOne(EvalState& state, ScalarArg arg, ScalarFormula formula) {
  RunScalarFunction(state, ScalarFunction{1, {arg}, formula});
}

void CallTwo(EvalState& state, ScalarArg a, ScalarArg b, ScalarFormula formula) {
  RunScalarFunction(state, ScalarFunction{2, {a, b}, formula});
}

}  // namespace

void FnAbs(EvalState& state) {
  CallOne(state, kAnyNumber, [](const double* x, uint32_t*) { return std::fabs(x[0]); });
}

void FnAcos(EvalState& state) {
  CallOne(state, {false, -1, 1, 0}, [](const double* x, uint32_t*) { return std::acos(x[0]); });
}

void FnAsin(EvalState& state) {
  CallOne(state, {false, -1, 1, 0}, [](const double* x, uint32_t*) { return std::asin(x[0]); });
}

void FnAtan(EvalState& state) {
  CallOne(state, kAnyNumber, [](const double* x, uint32_t*) { return std::atan(x[0]); });
}

// The inverse hyperbolic cosine near 1 from x - 1, which is exact there:
// ln(x + sqrt(x * x - 1)) cancels to a few digits, as the 64-bit Windows
// runtime's acosh does (1e-13 off at 1.0000001). The same steps as the
// Linux runtime's, so both builds give its results bit for bit.
static double InverseHyperbolicCosine(double x) {
  if (x >= 0x1p28) return std::log(x) + 0.69314718055994530942;
  if (x > 2) return std::log(2 * x - 1 / (x + std::sqrt(x * x - 1)));
  const double t = x - 1;
  return std::log1p(t + std::sqrt(2 * t + t * t));
}

// The runtime's asinh and atanh keep full precision near 0 and for negative
// arguments, where ln(x + sqrt(x * x + 1)) cancels to nothing.
void FnAcosh(EvalState& state) {
  CallOne(state, {false, 1, kLargestDouble, 0}, [](const double* x, uint32_t* error) {
    return x[0] > kLargestSquareRoot ? Fail(error, kErrorNum) : InverseHyperbolicCosine(x[0]);
  });
}

void FnAsinh(EvalState& state) {
  CallOne(state, kAnyNumber, [](const double* x, uint32_t* error) {
    return std::fabs(x[0]) > kLargestSquareRoot ? Fail(error, kErrorNum) : std::asinh(x[0]);
  });
}

void FnAtanh(EvalState& state) {
  CallOne(state, kAnyNumber, [](const double* x, uint32_t* error) {
    return x[0] <= -1 || x[0] >= 1 ? Fail(error, kErrorNum) : std::atanh(x[0]);
  });
}

void FnAtan2(EvalState& state) {
  CallTwo(state, kAnyNumber, kAnyNumber, [](const double* x, uint32_t*) { return std::atan2(x[0], x[1]); });
}

void FnCos(EvalState& state) {
  CallOne(state, kAnyNumber, [](const double* x, uint32_t*) { return std::cos(x[0]); });
}

void FnSin(EvalState& state) {
  CallOne(state, kAnyNumber, [](const double* x, uint32_t*) { return std::sin(x[0]); });
}

void FnTan(EvalState& state) {
  CallOne(state, kAnyNumber, [](const double* x, uint32_t*) { return std::tan(x[0]); });
}

void FnCosh(EvalState& state) {
  CallOne(state, kAnyNumber, [](const double* x, uint32_t*) { return std::cosh(x[0]); });
}

void FnSinh(EvalState& state) {
  CallOne(state, kAnyNumber, [](const double* x, uint32_t*) { return std::sinh(x[0]); });
}

void FnTanh(EvalState& state) {
  CallOne(state, kAnyNumber, [](const double* x, uint32_t*) { return std::tanh(x[0]); });
}

void FnDegrees(EvalState& state) {
  CallOne(state, kAnyNumber, [](const double* x, uint32_t*) { return x[0] * 180.0 / kPi; });
}

void FnRadians(EvalState& state) {
  CallOne(state, kAnyNumber, [](const double* x, uint32_t*) { return x[0] * kPi / 180.0; });
}

void FnSqrtPi(EvalState& state) {
  CallOne(state, kNotNegative, [](const double* x, uint32_t*) { return std::sqrt(x[0] * kPi); });
}

void FnPi(EvalState& state) {
  if (!RequireExactArgs(state, 0)) return;
  SetNumberResult(state, kPi, kErrorNone);
}

void FnExp(EvalState& state) {
  CallOne(state, kAnyNumber, [](const double* x, uint32_t*) { return std::exp(x[0]); });
}

void FnLn(EvalState& state) {
  CallOne(state, kAnyNumber, [](const double* x, uint32_t* error) {
    return x[0] <= 0 ? Fail(error, kErrorNum) : std::log(x[0]);
  });
}

void FnLog10(EvalState& state) {
  CallOne(state, kAnyNumber, [](const double* x, uint32_t* error) {
    return x[0] <= 0 ? Fail(error, kErrorNum) : std::log10(x[0]);
  });
}

// Any positive base but 1: a base below 1 gives the logarithm with the
// opposite sign, LOG(8, 0.5) = -3.
void FnLog(EvalState& state) {
  CallTwo(state, kAnyNumber, {false, -kLargestDouble, kLargestDouble, 10}, [](const double* x, uint32_t* error) {
    if (x[0] <= 0 || x[1] <= 0 || x[1] == 1) return Fail(error, kErrorNum);
    return std::log(x[0]) / std::log(x[1]);
  });
}

void FnSign(EvalState& state) {
  CallOne(state, kAnyNumber, [](const double* x, uint32_t*) { return x[0] < 0 ? -1.0 : x[0] > 0 ? 1.0 : 0.0; });
}

void FnSqrt(EvalState& state) {
  CallOne(state, kNotNegative, [](const double* x, uint32_t*) { return std::sqrt(x[0]); });
}

// 0! is 1, as is the empty product of FACTDOUBLE.
void FnFact(EvalState& state) {
  CallOne(state, {true, 0, 170, 0}, [](const double* x, uint32_t*) { return Factorial(int64_t(x[0])); });
}

void FnFactDouble(EvalState& state) {
  CallOne(state, {true, 0, 170, 0}, [](const double* x, uint32_t*) { return DoubleFactorial(int64_t(x[0])); });
}

// Choosing none of n is one way: COMBIN(n, 0) is 1.
void FnCombin(EvalState& state) {
  CallTwo(state, {true, 0, 170, 0}, {true, 0, 170, 0}, [](const double* x, uint32_t* error) {
    const int32_t n = int32_t(x[0]);
    const int32_t k = int32_t(x[1]);
    return k > n ? Fail(error, kErrorNum) : CombinProduct(n, k);
  });
}

// Combinations with repetition, C(n + k - 1, k): k may exceed n, as in
// choosing 3 from 2 kinds, which gives 4 ways.
void FnCombin2(EvalState& state) {
  CallTwo(state, {true, 1, 170, 0}, {true, 0, 170, 0}, [](const double* x, uint32_t*) {
    const int32_t n = int32_t(x[0]);
    const int32_t k = int32_t(x[1]);
    return CombinProduct(n + k - 1, k);
  });
}

// The remainder takes the sign of x: MOD(-3, 2) is -1.
void FnMod(EvalState& state) {
  CallTwo(state, kAnyNumber, kAnyNumber, [](const double* x, uint32_t* error) {
    return x[1] == 0 ? Fail(error, kErrorDivZero) : std::fmod(x[0], x[1]);
  });
}

void FnQuotient(EvalState& state) {
  CallTwo(state, kAnyNumber, kAnyNumber, [](const double* x, uint32_t* error) {
    return x[1] == 0 ? Fail(error, kErrorDivZero) : std::trunc(x[0] / x[1]);
  });
}

void FnPower(EvalState& state) {
  CallTwo(state, kAnyNumber, kAnyNumber, [](const double* x, uint32_t*) { return std::pow(x[0], x[1]); });
}
