#include <cmath>
#include <cstring>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "core/numfmt/double_to_text.h"
#include "core/formula/eval_state.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/complex_args.h"
#include "functions/element_call.h"
#include "functions/fn_engineering.h"
#include "functions/int_pow.h"

namespace {

// log10(e) and log2(e) to full precision.
constexpr double kLog10OfE = 0.4342944819032518;
constexpr double kLog2OfE = 1.4426950408889634;

uint16_t Position(const EvalState& state, uint16_t index) { return static_cast<uint16_t>(FirstArg(state) + index); }

double Argument(const Complex& z) { return std::atan2(z.im, z.re); }

Complex Logarithm(const Complex& z) { return {std::log(ComplexModulus(z)), Argument(z)}; }

// Functions of one complex number with a complex result.
template <class Formula>
void MapComplex(EvalState& state, Formula formula) {
  if (!BeginElementCall(state, 1)) return;
  Complex z{};
  const uint8_t error = GetArgComplex(state, FirstArg(state), &z);
  SetComplexResult(state, error == kErrorNone ? formula(z) : Complex{}, error);
}

// Functions of one complex number with a number result; badError is what an
// infinite or denormal result gives.
template <class Formula>
void MeasureComplex(EvalState& state, uint8_t badError, Formula formula) {
  if (!BeginElementCall(state, 1)) return;
  Complex z{};
  uint32_t error = GetArgComplex(state, FirstArg(state), &z);
  const double value = error == kErrorNone ? formula(z) : 0.0;
  if (error == kErrorNone && IsBadNumber(value)) error = badError;
  SetNumberResult(state, value, error);
}

// Functions of two complex numbers with a complex result; the formula may
// leave an error of its own.
template <class Formula>
void CombineComplex(EvalState& state, Formula formula) {
  if (!BeginElementCall(state, 2)) return;
  Complex w{};
  Complex z{};
  uint32_t error = GetArgComplex(state, Position(state, 1), &w);
  error = LargerErrorOf(error, GetArgComplex(state, Position(state, 0), &z));
  Complex result{};
  if (error == kErrorNone) result = formula(z, w, &error);
  SetComplexResult(state, result, error);
}

}  // namespace

void FnComplex(EvalState& state) {
  if (!BeginElementCall(state, 3)) return;
  const uint16_t first = FirstArg(state);
  char unit[kArgTextCapacity] = "i";
  uint32_t error = GetArgText(state, static_cast<uint16_t>(first + 2), unit);
  Complex z{};
  error = LargerErrorOf(error, GetArgNumber(state, static_cast<uint16_t>(first + 1), &z.im, -kLargestNumber,
                                            kLargestNumber));
  error = LargerErrorOf(error, GetArgNumber(state, first, &z.re, -kLargestNumber, kLargestNumber));
  // The unit is written as given; a unit too long for the text is "#VALUE!".
  char text[kArgTextCapacity] = "";
  size_t length = 0;
  if (error == kErrorNone) {
    length = ComplexToText(z.re, z.im, unit, text, sizeof text);
    if (length == 0) error = kErrorValue;
  }
  SetTextOrError(state, text, length, error);
}

void FnImAbs(EvalState& state) { MeasureComplex(state, kErrorValue, ComplexModulus); }

void FnImaginary(EvalState& state) {
  MeasureComplex(state, kErrorValue, [](const Complex& z) { return z.im; });
}

void FnImReal(EvalState& state) {
  MeasureComplex(state, kErrorNum, [](const Complex& z) { return z.re; });
}

void FnImArgument(EvalState& state) { MeasureComplex(state, kErrorNum, Argument); }

void FnImConjugate(EvalState& state) {
  MapComplex(state, [](const Complex& z) { return Complex{z.re, -z.im}; });
}

void FnImCos(EvalState& state) {
  MapComplex(state, [](const Complex& z) {
    return Complex{std::cos(z.re) * std::cosh(z.im), -(std::sin(z.re) * std::sinh(z.im))};
  });
}

void FnImSin(EvalState& state) {
  MapComplex(state, [](const Complex& z) {
    return Complex{std::sin(z.re) * std::cosh(z.im), std::cos(z.re) * std::sinh(z.im)};
  });
}

void FnImExp(EvalState& state) {
  MapComplex(state, [](const Complex& z) {
    const double scale = std::exp(z.re);
    return Complex{scale * std::cos(z.im), scale * std::sin(z.im)};
  });
}

void FnImLn(EvalState& state) { MapComplex(state, Logarithm); }

void FnImLog10(EvalState& state) {
  MapComplex(state, [](const Complex& z) {
    const Complex ln = Logarithm(z);
    return Complex{ln.re * kLog10OfE, ln.im * kLog10OfE};
  });
}

void FnImLog2(EvalState& state) {
  MapComplex(state, [](const Complex& z) {
    const Complex ln = Logarithm(z);
    return Complex{ln.re * kLog2OfE, ln.im * kLog2OfE};
  });
}

void FnImSqrt(EvalState& state) {
  MapComplex(state, [](const Complex& z) {
    const double r = std::sqrt(ComplexModulus(z));
    const double t = Argument(z) / 2.0;
    return Complex{r * std::cos(t), r * std::sin(t)};
  });
}

void FnImPower(EvalState& state) {
  if (!BeginElementCall(state, 2)) return;
  int32_t n = 0;
  uint32_t error = GetArgInt(state, Position(state, 1), &n, -2147483647, 2147483647);
  Complex z{};
  error = LargerErrorOf(error, GetArgComplex(state, Position(state, 0), &z));
  Complex result{};
  if (error == kErrorNone) {
    const double r = IntPow(ComplexModulus(z), n);
    const double t = n * Argument(z);
    result = {r * std::cos(t), r * std::sin(t)};
  }
  SetComplexResult(state, result, error);
}

void FnImDiv(EvalState& state) {
  CombineComplex(state, [](const Complex& z, const Complex& w, uint32_t* error) {
    if (w.re == 0.0 && w.im == 0.0) {
      *error = kErrorNum;
      return Complex{};
    }
    // Smith's method: the ratio of the divisor's parts keeps the
    // denominator from overflowing.
    if (std::fabs(w.im) <= std::fabs(w.re)) {
      const double r = w.im / w.re;
      const double den = w.re + w.im * r;
      return Complex{(z.re + z.im * r) / den, (z.im - z.re * r) / den};
    }
    const double r = w.re / w.im;
    const double den = w.re * r + w.im;
    return Complex{(z.re * r + z.im) / den, (z.im * r - z.re) / den};
  });
}

void FnImSub(EvalState& state) {
  CombineComplex(state, [](const Complex& z, const Complex& w, uint32_t*) {
    return Complex{z.re - w.re, z.im - w.im};
  });
}
