#include "functions/rate_search.h"

#include <cmath>

#include "core/base/error_code.h"
#include "core/base/result_check.h"

namespace {

constexpr double kFirstStep = kFirstRateStep;
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
  uint32_t Evaluations() const { return result_.evaluations; }

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

namespace {

// The bracket points one-root searches keep: those of rates up to about 5.
constexpr uint32_t kKeptBracketPoints = 256;

int SignOf(double value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

// The bracket's upper ends as SearchRateNearGuess makes them from lo,
// which stays where it is: its first kKeptBracketPoints at most. Returns
// their count; *complete tells whether they are all it tries.
int64_t BracketPoints(double lo, double guess, double* points, bool* complete) {
  double step = kFirstStep;
  double hi = guess + kFirstStep;
  int64_t count = 0;
  *complete = true;
  for (uint32_t steps = 0; steps < kMaxBracketSteps; ++steps) {
    if (count == kKeptBracketPoints) {
      *complete = false;
      break;
    }
    points[count++] = hi;
    hi += step;
    if (std::fabs(lo) + std::fabs(hi) > kWidestRateBracket) break;
    step = std::fmin(2 * step, kLargestStep);
  }
  return count;
}

}  // namespace

RateSearchResult SearchRateOfOneRoot(RateValuation valuation, const void* context, double guess, double margin,
                                     int signBelowRoot) {
  // A guess up to the first step keeps lo at kSmallestRate.
  if (!(guess >= 0 && guess <= kFirstStep + kSmallestRate) || !(margin >= 0))
    return SearchRateNearGuess(valuation, context, guess);
  Search search(valuation, context);
  const double lo = kSmallestRate;
  double points[kKeptBracketPoints];
  bool complete = false;
  const int64_t count = BracketPoints(lo, guess, points, &complete);
  // Settled: farther from 0 than any rounding of the valuation reaches.
  const auto settled = [margin](double value) { return std::fabs(value) > 2 * margin; };
  double fLo = 0;
  // The bracket is searched only from a settled lo below the root.
  bool usable = search.Value(lo, &fLo, true) && settled(fLo) && SignOf(fLo) == signBelowRoot;
  // No point up to known has the other sign than lo; the point at opposite,
  // when found, has it, with value fOpposite.
  int64_t known = -1;
  int64_t opposite = -1;
  double fOpposite = 0;
  // What a point's value tells; false when it settles nothing.
  const auto look = [&](int64_t point) {
    double f = 0;
    if (!search.Value(points[point], &f, true)) {
      usable = false;
    } else if (Opposite(fLo, f)) {
      opposite = point;
      fOpposite = f;
      return true;
    } else if (settled(f)) {
      known = point;
      return true;
    }
    return false;
  };
  // Doubling: points 0, 1, 3, 7, ... up to the first of the other sign.
  for (int64_t probe = 0; usable && opposite < 0 && known < count - 1; probe = 2 * probe + 1)
    if (!look(probe < count ? probe : count - 1)) break;
  // Halving between the last point known and the first found opposite.
  while (usable && opposite >= 0 && opposite - known > 1)
    if (!look(known + (opposite - known) / 2)) break;
  // One by one after the last point known, up to the first opposite.
  for (int64_t point = known + 1; usable && point < (opposite >= 0 ? opposite : count); ++point) {
    double f = 0;
    if (!search.Value(points[point], &f, true)) {
      usable = false;
    } else if (Opposite(fLo, f)) {
      opposite = point;
      fOpposite = f;
      break;
    }
  }
  if (usable && opposite >= 0) return search.Refine(lo, fLo, points[opposite], fOpposite);
  if (usable && complete) return search.Fail(kErrorNum);
  // Not settled here: the general search, which reaches the same end.
  const uint32_t spent = search.Evaluations();
  RateSearchResult result = SearchRateNearGuess(valuation, context, guess);
  result.evaluations += spent;
  return result;
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
