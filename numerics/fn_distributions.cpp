#include <cmath>

#include "core/base/error_code.h"
#include "numerics/continuous_cdfs.h"
#include "numerics/discrete_distributions.h"
#include "numerics/inverse_cdfs.h"
#include "functions/scalar_call.h"
#include "numerics/statistics_handlers.h"

namespace {

constexpr double kMax = kLargestDouble;
constexpr double kIMax = kLargestInt;
constexpr double kSqrtTwoPi = 2.5066282746310005024;

constexpr ScalarArg Num(double min, double max) { return {false, min, max, 0.0}; }
constexpr ScalarArg Int(double min, double max) { return {true, min, max, 0.0}; }
constexpr ScalarArg kAnyNumber = Num(-kMax, kMax);
constexpr ScalarArg kProbability = Num(0.0, 1.0);
constexpr ScalarArg kDegrees = Int(1.0, kIMax);
constexpr ScalarArg kCumulative = Int(0.0, 1.0);

double Divided(double numerator, double divisor, uint32_t* error) {
  if (divisor == 0.0) {
    *error = kErrorDivZero;
    return 0.0;
  }
  return numerator / divisor;
}

double BinomDist(const double* v, uint32_t*) {
  return v[3] != 0.0 ? BinomialCdf(v[0], v[1], v[2]) : BinomialDensity(v[0], v[1], v[2]);
}
double ChiDist(const double* v, uint32_t*) { return ChiSquareCdf(v[0], v[1]); }
double ChiInv(const double* v, uint32_t*) { return ChiSquareInv(v[0], v[1]); }
double Confidence(const double* v, uint32_t*) { return NormalInv(1.0 - v[0] / 2.0, 0.0, 1.0) * v[1] / std::sqrt(v[2]); }

double CritBinom(const double* v, uint32_t* error) {
  const double k = CriticalBinomial(v[0], v[1], v[2]);
  if (k < 0.0) *error = kErrorNum;
  return k;
}

double ExponDist(const double* v, uint32_t* error) {
  const double x = v[0];
  const double lambda = v[1];
  // A negative rate is no distribution: its "probabilities" leave [0, 1].
  if (lambda < 0.0) {
    *error = kErrorNum;
    return 0.0;
  }
  return v[2] != 0.0 ? -std::expm1(-lambda * x) : lambda * std::exp(-lambda * x);
}

double FDist(const double* v, uint32_t*) { return FDistCdf(v[0], v[1], v[2]); }
double FDistP(const double* v, uint32_t*) { return FDensity(v[0], v[1], v[2]); }
double FInv(const double* v, uint32_t*) { return FDistInv(v[0], v[1], v[2]); }
double Fisher(const double* v, uint32_t*) { return std::atanh(v[0]); }
// tanh stays 1 where the quotient of exponentials would overflow to NaN.
double FisherInv(const double* v, uint32_t*) { return std::tanh(v[0]); }
double HypGeomDist(const double* v, uint32_t*) { return HypergeometricDensity(v[0], v[1], v[2], v[3]); }

double NormDist(const double* v, uint32_t* error) {
  const double deviation = v[2];
  if (deviation == 0.0) {
    *error = kErrorDivZero;
    return 0.0;
  }
  if (v[3] != 0.0) return NormalCdf(v[0], v[1], deviation);
  const double z = (v[0] - v[1]) / deviation;
  return std::exp(-0.5 * z * z) / (kSqrtTwoPi * deviation);
}

double NormInv(const double* v, uint32_t*) { return NormalInv(v[0], v[1], v[2]); }
double NormSDist(const double* v, uint32_t*) { return StdNormalCdf(v[0]); }
double NormSInv(const double* v, uint32_t*) { return NormalInv(v[0], 0.0, 1.0); }

double Permut(const double* v, uint32_t*) {
  const double n = v[0];
  const double k = v[1];
  // The factors pass through 0 when k > n; otherwise the product overflows
  // within a few thousand factors, so the loop ends either way.
  double product = 1.0;
  for (double factor = n - k + 1.0; factor <= n; factor += 1.0) {
    product *= factor;
    if (product == 0.0 || std::isinf(product)) break;
  }
  return product;
}

double Poisson(const double* v, uint32_t* error) {
  const double x = v[0];
  const double mean = v[1];
  if (mean == 0.0) {
    *error = kErrorNum;
    return 0.0;
  }
  return v[2] != 0.0 ? PoissonCdf(x, mean) : PoissonDensity(x, mean);
}

double Standardize(const double* v, uint32_t* error) { return Divided(v[0] - v[1], v[2], error); }
double TDist(const double* v, uint32_t*) { return StudentTCdf(v[0], v[1]); }
double TInv(const double* v, uint32_t*) { return StudentTInv(v[0], v[1]); }

double Weibull(const double* v, uint32_t* error) {
  const double x = v[0];
  const double alpha = v[1];
  const double beta = v[2];
  if (!(alpha > 0.0) || !(beta > 0.0)) {
    *error = kErrorNum;
    return 0.0;
  }
  const double scaled = x / beta;
  const double power = std::pow(scaled, alpha);
  if (v[3] != 0.0) return -std::expm1(-power);
  return alpha / beta * std::pow(scaled, alpha - 1.0) * std::exp(-power);
}

const ScalarFunction kBinomDist{4, {Int(0.0, kIMax), Int(0.0, kIMax), kProbability, kCumulative}, BinomDist};
const ScalarFunction kChiDist{2, {kAnyNumber, kDegrees}, ChiDist};
const ScalarFunction kChiInv{2, {kAnyNumber, kDegrees}, ChiInv};
const ScalarFunction kConfidence{3, {kProbability, Num(0.0, kMax), Int(1.0, kIMax)}, Confidence};
const ScalarFunction kCritBinom{3, {Int(1.0, kIMax), kProbability, kProbability}, CritBinom};
const ScalarFunction kExponDist{3, {Num(0.0, kMax), kAnyNumber, kCumulative}, ExponDist};
const ScalarFunction kFDist{3, {Num(0.0, kMax), kDegrees, kDegrees}, FDist};
const ScalarFunction kFDistP{3, {Num(0.0, kMax), kDegrees, kDegrees}, FDistP};
const ScalarFunction kFInv{3, {kProbability, kDegrees, kDegrees}, FInv};
const ScalarFunction kFisher{1, {Num(-1.0, 1.0)}, Fisher};
const ScalarFunction kFisherInv{1, {kAnyNumber}, FisherInv};
const ScalarFunction kHypGeomDist{
    4, {Int(0.0, kIMax), Int(0.0, kIMax), Int(0.0, kIMax), Int(0.0, kIMax)}, HypGeomDist};
const ScalarFunction kNormDist{4, {kAnyNumber, kAnyNumber, Num(0.0, kMax), kCumulative}, NormDist};
const ScalarFunction kNormInv{3, {kAnyNumber, kAnyNumber, Num(0.0, kMax)}, NormInv};
const ScalarFunction kNormSDist{1, {kAnyNumber}, NormSDist};
const ScalarFunction kNormSInv{1, {kAnyNumber}, NormSInv};
const ScalarFunction kPermut{2, {Int(1.0, kIMax), Int(1.0, kIMax)}, Permut};
const ScalarFunction kPoisson{3, {Num(0.0, kMax), Num(0.0, kMax), kCumulative}, Poisson};
const ScalarFunction kStandardize{3, {kAnyNumber, kAnyNumber, Num(0.0, kMax)}, Standardize};
const ScalarFunction kTDist{2, {kAnyNumber, kDegrees}, TDist};
const ScalarFunction kTInv{2, {Num(0.0, kMax), kDegrees}, TInv};
const ScalarFunction kWeibull{4, {Num(0.0, kMax), kAnyNumber, kAnyNumber, kCumulative}, Weibull};

}  // namespace

void FnBinomDist(EvalState& state) { RunScalarFunction(state, kBinomDist); }
void FnChiDist(EvalState& state) { RunScalarFunction(state, kChiDist); }
void FnChiInv(EvalState& state) { RunScalarFunction(state, kChiInv); }
void FnConfidence(EvalState& state) { RunScalarFunction(state, kConfidence); }
void FnCritBinom(EvalState& state) { RunScalarFunction(state, kCritBinom); }
void FnExponDist(EvalState& state) { RunScalarFunction(state, kExponDist); }
void FnFDist(EvalState& state) { RunScalarFunction(state, kFDist); }
void FnFDistP(EvalState& state) { RunScalarFunction(state, kFDistP); }
void FnFInv(EvalState& state) { RunScalarFunction(state, kFInv); }
void FnFisher(EvalState& state) { RunScalarFunction(state, kFisher); }
void FnFisherInv(EvalState& state) { RunScalarFunction(state, kFisherInv); }
void FnHypGeomDist(EvalState& state) { RunScalarFunction(state, kHypGeomDist); }
void FnNormDist(EvalState& state) { RunScalarFunction(state, kNormDist); }
void FnNormInv(EvalState& state) { RunScalarFunction(state, kNormInv); }
void FnNormSDist(EvalState& state) { RunScalarFunction(state, kNormSDist); }
void FnNormSInv(EvalState& state) { RunScalarFunction(state, kNormSInv); }
void FnPermut(EvalState& state) { RunScalarFunction(state, kPermut); }
void FnPoisson(EvalState& state) { RunScalarFunction(state, kPoisson); }
void FnStandardize(EvalState& state) { RunScalarFunction(state, kStandardize); }
void FnTDist(EvalState& state) { RunScalarFunction(state, kTDist); }
void FnTInv(EvalState& state) { RunScalarFunction(state, kTInv); }
void FnWeibull(EvalState& state) { RunScalarFunction(state, kWeibull); }
