#include "functions/rate_search.h"

#include <cmath>

#include "core/base/error_code.h"
#include "core/base/result_check.h"

namespace {

constexpr double kFirstStep = 0.0001;
constexpr double kLargestStep = 0.02;

bool Opposite(double a, double b) { return (a < 0 && b > 0) || (a > 0 && b < 0); }

class Search {
 public:
  Search(RateValuation valuation, const void* context) : valuation_(valuation), context_(context) {}

  // The valuation at rate; false with the error set when it failed or, for
  // a bracket end, gave a value the result check refuses.
  bool Value(double rate, double* value, bool bracketEnd) {
    ++result_.evaluations;
    uint8_t error = 0;
    *value = valuation_(context_, rate, &error);
    if (error == 0 && (bracketEnd ? IsBadNumber(*value) : !std::isfinite(*value))) error = kErrorNum;
    result_.error = error;
    return error == 0;
  }

  RateSearchResult Fail(uint8_t error) {
    result_.error = error;
    return result_;
  }

  // Illinois between a and b, whose values have opposite signs. Where
  // rounding puts the secant's point on an end of the bracket, the bracket
  // is halved instead; a bracket of two neighbouring doubles is the answer.
  RateSearchResult Refine(double a, double fa, double b, double fb) {
    for (uint32_t step = 0; step < kMaxRefineSteps; ++step) {
      const double lower = std::fmin(a, b);
      const double upper = std::fmax(a, b);
      double x = b - (b - a) * fb / (fb - fa);
      if (!(x > lower && x < upper)) {
        x = lower + (upper - lower) / 2;
        if (!(x > lower && x < upper)) return Found(b);
      }
      double fx = 0;
      if (!Value(x, &fx, false)) return result_;
      if (fx == 0 || !Opposite(fx, fb)) {
        fa /= 2;
      } else {
        a = b;
        fa = fb;
      }
      b = x;
      fb = fx;
      if (fx == 0 || std::fabs(b - a) <= kRateTolerance * std::fabs(b) || !Opposite(fx, fa)) return Found(b);
    }
    return Fail(kErrorNum);
  }

  RateSearchResult Outcome() const { return result_; }

  RateSearchResult Found(double rate) {
    result_.rate = rate;
    if (IsBadNumber(rate)) result_.error = kErrorNum;
    return result_;
  }

 private:
  RateValuation valuation_;
  const void* context_;
  RateSearchResult result_ = {0.0, 0, 0};
};

}  // namespace

RateSearchResult SearchRateNearGuess(RateValuation valuation, const void* context, double guess) {
  Search search(valuation, context);
  double step = kFirstStep;
  double lo = guess > kFirstStep + kSmallestRate ? guess - kFirstStep : kSmallestRate;
  double hi = guess + kFirstStep;
  double fLo = 0;
  double fHi = 0;
  double valuedLo = NAN;  // lo stays at kSmallestRate once it reaches it
  for (uint32_t steps = 0; steps < kMaxBracketSteps; ++steps) {
    if (lo != valuedLo) {
      if (!search.Value(lo, &fLo, true)) return search.Outcome();
      valuedLo = lo;
    }
    if (!search.Value(hi, &fHi, true)) return search.Outcome();
    if (Opposite(fLo, fHi)) return search.Refine(lo, fLo, hi, fHi);
    lo = lo > step + kSmallestRate ? lo - step : kSmallestRate;
    hi += step;
    if (std::fabs(lo) + std::fabs(hi) > kWidestRateBracket) break;
    step = std::fmin(2 * step, kLargestStep);
  }
  return search.Fail(kErrorNum);
}

RateSearchResult SearchAnnuityRate(RateValuation valuation, const void* context, double guess) {
  Search search(valuation, context);
  double lo = guess == 0 ? kSmallestRate : guess;
  double hi = lo;
  for (uint32_t steps = 0; steps < kMaxBracketSteps; ++steps) {
    double fLo = 0;
    double fHi = 0;
    if (!search.Value(lo, &fLo, true) || !search.Value(hi, &fHi, true)) return search.Outcome();
    if (Opposite(fLo, fHi)) return search.Refine(lo, fLo, hi, fHi);
    lo = lo - kLargestStep > kSmallestRate ? lo - kLargestStep : kSmallestRate;
    hi += kLargestStep;
    if (std::fabs(lo) + std::fabs(hi) > kWidestRateBracket) break;
  }
  return search.Fail(kErrorNum);
}
