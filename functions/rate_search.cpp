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
      // fmin and fmax without their calls: a NaN end gives the other.
      const double lower = a < b || b != b ? a : b;
      const double upper = a > b || b != b ? a : b;
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

// Guesses of the one-root search before it doubles and halves.
constexpr int kGuesses = 8;

int SignOf(double value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

// The bracket's upper ends as SearchRateNearGuess makes them from lo,
// which stays where it is, made as far as they are asked for: its first
// kKeptBracketPoints at most.
class BracketPoints {
 public:
  BracketPoints(double lo, double guess) : lo_(lo), next_(guess + kFirstStep) {}
  // Whether point i (from 0) exists, making the points up to it.
  bool Has(int64_t i) {
    while (count_ <= i && !ended_) {
      if (count_ == kKeptBracketPoints) {
        cut_ = true;
        break;
      }
      points_[count_++] = next_;
      next_ += step_;
      if (std::fabs(lo_) + std::fabs(next_) > kWidestRateBracket || count_ == kMaxBracketSteps) ended_ = true;
      // fmin's answer for two numbers.
      step_ = 2 * step_ < kLargestStep ? 2 * step_ : kLargestStep;
    }
    return i < count_;
  }
  double operator[](int64_t i) const { return points_[i]; }
  // Whether points were cut off at kKeptBracketPoints.
  bool Cut() const { return cut_; }

 private:
  double lo_;
  double next_;
  double step_ = kFirstStep;
  int64_t count_ = 0;
  bool ended_ = false;
  bool cut_ = false;
  double points_[kKeptBracketPoints];
};

}  // namespace

RateSearchResult SearchRateOfOneRoot(RateValuation valuation, const void* context, double guess, double margin,
                                     int signBelowRoot) {
  // A guess up to the first step keeps lo at kSmallestRate.
  if (!(guess >= 0 && guess <= kFirstStep + kSmallestRate) || !(margin >= 0))
    return SearchRateNearGuess(valuation, context, guess);
  Search search(valuation, context);
  const double lo = kSmallestRate;
  BracketPoints points(lo, guess);
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
  double fLast = 0;  // the value at the point last looked at
  // What a point's value tells; false when it settles nothing.
  const auto look = [&](int64_t point) {
    if (!search.Value(points[point], &fLast, true)) {
      usable = false;
    } else if (Opposite(fLo, fLast)) {
      opposite = point;
      fOpposite = fLast;
      return true;
    } else if (settled(fLast)) {
      known = point;
      return true;
    }
    return false;
  };
  // Guessing: the point just past where the line through two values meets
  // 0, after the points known and before any found opposite; the values
  // are smooth, so a few guesses mostly reach the two points either side
  // of the root. Which points are looked at never changes the outcome.
  double rateKnown = lo;  // the last point known and its value
  double fKnown = fLo;
  double ratePrior = NAN;  // the one known before it
  double fPrior = NAN;
  for (int guesses = 0; usable && guesses < kGuesses && !(opposite >= 0 && opposite - known == 1) &&
                        points.Has(known + 1);
       ++guesses) {
    double target = NAN;
    if (opposite >= 0)
      target = rateKnown - fKnown * (points[opposite] - rateKnown) / (fOpposite - fKnown);
    else if (!std::isnan(ratePrior))
      target = rateKnown - fKnown * (rateKnown - ratePrior) / (fKnown - fPrior);
    int64_t next = known + 1;
    if (std::isfinite(target)) {
      while ((opposite < 0 || next + 1 < opposite) && points[next] < target && points.Has(next + 1)) ++next;
    }
    if (!look(next)) break;
    if (known == next) {
      ratePrior = rateKnown;
      fPrior = fKnown;
      rateKnown = points[next];
      fKnown = fLast;
    }
  }
  // Doubling from the last point known up to one of the other sign, the
  // last point there standing for those beyond it.
  for (int64_t stride = 1; usable && opposite < 0 && points.Has(known + 1); stride *= 2) {
    int64_t at = known + stride;
    while (!points.Has(at)) --at;
    if (!look(at)) break;
  }
  // Halving between the last point known and the first found opposite.
  while (usable && opposite >= 0 && opposite - known > 1)
    if (!look(known + (opposite - known) / 2)) break;
  // One by one after the last point known, up to the first opposite.
  for (int64_t point = known + 1; usable && (opposite >= 0 ? point < opposite : points.Has(point)); ++point) {
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
  if (usable && !points.Cut()) return search.Fail(kErrorNum);
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
