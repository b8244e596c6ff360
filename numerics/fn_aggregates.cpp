#include <cfloat>
#include <cmath>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "functions/aggregate_cells.h"
#include "numerics/arg_values.h"
#include "numerics/running_moments.h"
#include "numerics/statistics_handlers.h"

namespace {

// How a one-list function treats an empty argument position.
enum class EmptyPosition { kSkipped, kCountsAsZero };

// The values a first pass took, in order, for a second pass over them
// while they fit; a longer list is read again from its cells.
struct KeptValues {
  static constexpr uint32_t kCapacity = 256;
  double values[kCapacity];
  uint32_t count = 0;
  bool overflowed = false;

  void Keep(double x) {
    if (count < kCapacity)
      values[count++] = x;
    else
      overflowed = true;
  }
};

struct Totals {
  uint32_t error = kErrorNone;
  RunningMoments moments;
  double sum = 0.0;
};

// One pass: count, plain sum and running moments; errors are passed on and
// stop the accumulation. The values taken are kept when kept is given (a
// pass that keeps none is compiled apart, without the test per value).
template <bool kKeeps>
Totals FirstPass(ArgValues& values, EmptyPosition empty, bool skipEmptyCells, KeptValues* kept) {
  Totals totals;
  values.ForEach([&](const ArgValue& value) {
    if (value.omitted && empty == EmptyPosition::kSkipped) return;
    if (skipEmptyCells && value.empty) return;
    totals.error = LargerErrorOf(totals.error, value.error);
    if (totals.error != kErrorNone) return;
    totals.moments.Add(value.number);
    if (kKeeps) kept->Keep(value.number);
    totals.sum += value.number;
    if (IsBadNumber(totals.sum)) totals.error = kErrorNum;
  });
  return totals;
}

// The most plain numbers a statistic gathers on the stack; a longer list is
// read through ArgValues::ForEach.
constexpr uint32_t kGathered = KeptValues::kCapacity;

// Whether a sum is bad as FirstPass tests it at every step, cheaply: a sum
// of finite numbers stays bad once it overflowed, which is left to the test
// at the end; it lies strictly between 0 and the smallest normal number
// exactly when it lies less than half that from half that (the difference
// is exact there, and rounds to no less than half above).
inline bool FellBelowNormal(double sum) {
  constexpr double kHalfNormal = DBL_MIN / 2.0;
  return std::fabs(std::fabs(sum) - kHalfNormal) < kHalfNormal;
}

// FirstPass over gathered plain numbers, with the same operations in the
// same order. Without tiny numbers the sum cannot fall below the normal
// range, and is not tested on the way.
template <bool kTinyNumbers>
Totals PlainTotals(const double* x, uint32_t n) {
  Totals totals;
  if (n == 0) return totals;
  const double shift = x[0];
  double deviations = 0.0;
  double squares = 0.0;
  double sum = 0.0;
  for (uint32_t i = 0; i < n; ++i) {
    const double d = x[i] - shift;
    deviations += d;
    squares += d * d;
    sum += x[i];
    if (kTinyNumbers && FellBelowNormal(sum)) {
      totals.error = kErrorNum;
      return totals;
    }
  }
  // Counted in whole numbers, exact as the running count.
  totals.moments.n = double(n);
  totals.moments.shift = shift;
  totals.moments.sum = deviations;
  totals.moments.squares = squares;
  totals.sum = sum;
  if (IsBadNumber(sum)) totals.error = kErrorNum;
  return totals;
}

// The first pass: over the gathered numbers when the list is plain (kept
// then holds them all), else through ForEach, keeping values when kKeeps.
template <bool kKeeps>
Totals ReadTotals(ArgValues& values, EmptyPosition empty, bool skipEmptyCells, KeptValues* kept) {
  const uint32_t n = values.GatherPlainNumbers(kept->values, KeptValues::kCapacity);
  if (n != ArgValues::kNotPlain) {
    kept->count = n;
    return values.GatheredTinyNumbers() ? PlainTotals<true>(kept->values, n) : PlainTotals<false>(kept->values, n);
  }
  kept->count = 0;
  return FirstPass<kKeeps>(values, empty, skipEmptyCells, kKeeps ? kept : nullptr);
}

// What a deviation function gives: never below 0 (the sum then only
// grows), or either sign.
enum class Terms { kNonNegative, kSigned };

// Second pass: the sum of f(x - mean) over the values of a first pass with
// the same rules that found no error.
template <class Deviation>
double SumOfDeviations(ArgValues& values, EmptyPosition empty, bool skipEmptyCells, const KeptValues& kept,
                       const RunningMoments& moments, uint32_t* error, Terms terms, Deviation deviation) {
  double sum = 0.0;
  const auto add = [&](double x) {
    sum += deviation(moments.Deviation(x));
    if (IsBadNumber(sum)) *error = kErrorNum;
  };
  if (!kept.overflowed && terms == Terms::kNonNegative) {
    const double offset = moments.sum / moments.n;
    for (uint32_t i = 0; i < kept.count; ++i) sum += deviation((kept.values[i] - moments.shift) - offset);
    // The sums only grow, so the ones between 0 and the normal range come
    // first: one falls there exactly when the first sum above 0, the first
    // term above 0, does.
    for (uint32_t i = 0; i < kept.count; ++i) {
      const double term = deviation((kept.values[i] - moments.shift) - offset);
      if (term == 0.0) continue;
      if (term < DBL_MIN) *error = kErrorNum;
      break;
    }
    if (IsBadNumber(sum)) *error = kErrorNum;
    return sum;
  }
  if (!kept.overflowed) {
    // The mean's share of each deviation, the same number every time.
    const double offset = moments.sum / moments.n;
    for (uint32_t i = 0; i < kept.count; ++i) {
      sum += deviation((kept.values[i] - moments.shift) - offset);
      if (FellBelowNormal(sum)) {
        *error = kErrorNum;
        return sum;
      }
    }
    if (IsBadNumber(sum)) *error = kErrorNum;
    return sum;
  }
  values.ForEach([&](const ArgValue& value) {
    if (value.omitted && empty == EmptyPosition::kSkipped) return;
    if (skipEmptyCells && value.empty) return;
    if (*error != kErrorNone || value.error != kErrorNone) return;
    add(value.number);
  });
  return sum;
}

enum class Spread { kAveDev, kDevSq };

void Deviations(EvalState& state, Spread spread) {
  if (!RequireArgs(state, 1)) return;
  const bool skipEmptyCells = spread == Spread::kDevSq;
  double result = 0.0;
  uint32_t error = kErrorNone;
  {
    ArgValues values(state);
    KeptValues kept;
    const Totals totals = ReadTotals<true>(values, EmptyPosition::kSkipped, skipEmptyCells, &kept);
    error = totals.error;
    if (error == kErrorNone && totals.moments.n == 0.0) error = kErrorNA;
    if (error == kErrorNone) {
      if (spread == Spread::kAveDev)
        result = SumOfDeviations(values, EmptyPosition::kSkipped, false, kept, totals.moments, &error,
                                 Terms::kNonNegative, [](double d) { return std::fabs(d); }) /
                 totals.moments.n;
      else
        result = SumOfDeviations(values, EmptyPosition::kSkipped, true, kept, totals.moments, &error,
                                 Terms::kNonNegative, [](double d) { return d * d; });
    }
  }
  SetNumberResult(state, result, error);
}

enum class VarianceKind { kSample, kPopulation };

void Variance(EvalState& state, VarianceKind kind, bool root) {
  if (!RequireArgs(state, 1)) return;
  uint32_t error = kErrorNone;
  double variance = 0.0;
  {
    ArgValues values(state);
    KeptValues gathered;
    const Totals totals = ReadTotals<false>(values, EmptyPosition::kCountsAsZero, false, &gathered);
    error = totals.error;
    const double needed = kind == VarianceKind::kSample ? 2.0 : 1.0;
    if (error == kErrorNone && totals.moments.n < needed) error = kErrorDivZero;
    if (error == kErrorNone)
      variance = kind == VarianceKind::kSample ? totals.moments.SampleVariance()
                                               : totals.moments.PopulationVariance();
  }
  SetNumberResult(state, root ? std::sqrt(variance) : variance, error);
}

enum class Shape { kSkew, kKurt };

void ShapeStatistic(EvalState& state, Shape shape) {
  if (!RequireArgs(state, 1)) return;
  uint32_t error = kErrorNone;
  double result = 0.0;
  {
    ArgValues values(state);
    KeptValues kept;
    const Totals totals = ReadTotals<true>(values, EmptyPosition::kCountsAsZero, false, &kept);
    error = totals.error;
    const double n = totals.moments.n;
    if (error == kErrorNone && n < (shape == Shape::kKurt ? 4.0 : 3.0)) error = kErrorDivZero;
    const double s = error == kErrorNone ? std::sqrt(totals.moments.SampleVariance()) : 0.0;
    if (error == kErrorNone && s == 0.0) error = kErrorDivZero;
    if (error == kErrorNone) {
      // Deviations in units of s, so that the powers stay in range.
      if (shape == Shape::kSkew) {
        const double sum = SumOfDeviations(values, EmptyPosition::kCountsAsZero, false, kept, totals.moments, &error,
                                           Terms::kSigned, [s](double d) { return (d / s) * (d / s) * (d / s); });
        result = n / ((n - 1.0) * (n - 2.0)) * sum;
      } else {
        const double sum =
            SumOfDeviations(values, EmptyPosition::kCountsAsZero, false, kept, totals.moments, &error,
                            Terms::kNonNegative, [s](double d) {
              const double z = (d / s) * (d / s);
              return z * z;
            });
        result = n * (n + 1.0) / ((n - 1.0) * (n - 2.0) * (n - 3.0)) * sum -
                 3.0 * (n - 1.0) * (n - 1.0) / ((n - 2.0) * (n - 3.0));
      }
    }
  }
  SetNumberResult(state, result, error);
}

enum class Extreme { kMax, kMin };

void ExtremeValue(EvalState& state, Extreme extreme) {
  if (!RequireArgs(state, 1)) return;
  double result = extreme == Extreme::kMax ? -kLargestNumber : kLargestNumber;
  bool any = false;
  {
    ArgValues values(state);
    double gathered[kGathered];
    const uint32_t n = values.GatherPlainNumbers(gathered, kGathered);
    if (n != ArgValues::kNotPlain) {
      any = n != 0;
      for (uint32_t i = 0; i < n; ++i)
        if (extreme == Extreme::kMax ? gathered[i] > result : gathered[i] < result) result = gathered[i];
    } else {
      values.ForEach([&](const ArgValue& value) {
        if (value.error != kErrorNone) return;
        any = true;
        if (extreme == Extreme::kMax ? value.number > result : value.number < result) result = value.number;
      });
    }
  }
  SetNumberResult(state, any ? result : 0.0, kErrorNone);
}

}  // namespace

void FnAverage(EvalState& state) {
  if (!RequireArgs(state, 1)) return;
  double result = 0.0;
  uint32_t error = kErrorNone;
  {
    ArgValues values(state);
    KeptValues gathered;
    const Totals totals = ReadTotals<false>(values, EmptyPosition::kSkipped, false, &gathered);
    error = totals.error;
    if (error == kErrorNone && totals.moments.n == 0.0) error = kErrorNA;
    if (error == kErrorNone) result = totals.sum / totals.moments.n;
  }
  SetNumberResult(state, result, error);
}

void FnAveDev(EvalState& state) { Deviations(state, Spread::kAveDev); }
void FnDevSq(EvalState& state) { Deviations(state, Spread::kDevSq); }

void FnGeoMean(EvalState& state) {
  if (!RequireArgs(state, 1)) return;
  // Logarithms rather than the product, which overflows for large lists of
  // ordinary values.
  double logSum = 0.0;
  double n = 0.0;
  uint32_t error = kErrorNone;
  {
    ArgValues values(state);
    double gathered[kGathered];
    const uint32_t count = values.GatherPlainNumbers(gathered, kGathered);
    if (count != ArgValues::kNotPlain) {
      for (uint32_t i = 0; i < count && error == kErrorNone; ++i) {
        if (!(gathered[i] > 0.0)) {
          error = kErrorNum;
          break;
        }
        logSum += std::log(gathered[i]);
        n += 1.0;
      }
    } else {
      values.ForEach([&](const ArgValue& value) {
        error = LargerErrorOf(error, value.error);
        if (error != kErrorNone) return;
        if (!(value.number > 0.0)) {
          error = kErrorNum;
          return;
        }
        logSum += std::log(value.number);
        n += 1.0;
      });
    }
  }
  if (error == kErrorNone && n == 0.0) error = kErrorNA;
  SetNumberResult(state, error == kErrorNone ? std::exp(logSum / n) : 0.0, error);
}

void FnHarMean(EvalState& state) {
  if (!RequireArgs(state, 1)) return;
  double sum = 0.0;
  double n = 0.0;
  uint32_t error = kErrorNone;
  {
    ArgValues values(state);
    values.ForEach([&](const ArgValue& value) {
      error = LargerErrorOf(error, value.error);
      if (error != kErrorNone) return;
      if (value.number == 0.0) {
        error = kErrorNum;
        return;
      }
      sum += 1.0 / value.number;
      n += 1.0;
      if (IsBadNumber(sum)) error = kErrorNum;
    });
  }
  if (error == kErrorNone && n == 0.0) error = kErrorNA;
  if (error == kErrorNone && sum == 0.0) error = kErrorDivZero;
  SetNumberResult(state, error == kErrorNone ? n / sum : 0.0, error);
}

void FnKurt(EvalState& state) { ShapeStatistic(state, Shape::kKurt); }
void FnSkew(EvalState& state) { ShapeStatistic(state, Shape::kSkew); }
void FnMax(EvalState& state) { ExtremeValue(state, Extreme::kMax); }
void FnMin(EvalState& state) { ExtremeValue(state, Extreme::kMin); }
void FnVar(EvalState& state) { Variance(state, VarianceKind::kSample, false); }
void FnVarP(EvalState& state) { Variance(state, VarianceKind::kPopulation, false); }
void FnStDev(EvalState& state) { Variance(state, VarianceKind::kSample, true); }
void FnStDevP(EvalState& state) { Variance(state, VarianceKind::kPopulation, true); }
