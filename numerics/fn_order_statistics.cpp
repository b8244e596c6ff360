#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/base/error_code.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/scalar_call.h"
#include "numerics/sorted_values.h"
#include "numerics/statistics_handlers.h"

namespace {

constexpr double kIntMax = kLargestInt;

// The k-th value (from 1) of the list, largest or smallest first; a text
// is returned as text.
void KthValue(EvalState& state, bool largest) {
  if (!BeginListCall(state, 2, 2, 0x2u)) return;
  const uint16_t first = FirstArg(state);
  int32_t k = 0;
  uint32_t error = GetArgInt(state, static_cast<uint16_t>(first + 1), &k, 1, static_cast<int32_t>(kIntMax));
  SortedValues values;
  error = LargerErrorOf(error, values.Build(state, first, !largest));
  if (error == kErrorNone && values.Count() < static_cast<uint32_t>(k)) error = kErrorNum;
  if (error != kErrorNone) {
    SetNumberResult(state, 0.0, error);
    return;
  }
  if (values.NumbersOnly()) {
    SetNumberResult(state, values.Number(static_cast<uint32_t>(k - 1)), kErrorNone);
    return;
  }
  const ArgRange detached{};
  CellValueToSlot(state, first, detached, values.At(static_cast<uint32_t>(k - 1)));
  const EvalValue& value = state.operands[first];
  if (value.error != kErrorNone) {
    SetNumberResult(state, 0.0, kErrorValue);
  } else if (value.kind == kEvalText) {
    char text[kArgTextCapacity];
    const size_t length = state.SlotTextLength(first);
    std::memcpy(text, state.SlotText(first), length);
    state.DisownSlot(first);
    SetTextResult(state, text, length, kErrorNone);
  } else {
    SetNumberResult(state, value.kind == kEvalNumber ? value.number : 0.0, kErrorNone);
  }
}

// The value at fraction k of the sorted list, interpolated between the two
// values around it; each value stands at i / (n - 1).
double InterpolatedValue(EvalState& state, SortedValues& values, uint16_t scratch, double k, uint32_t* error) {
  const uint32_t n = values.Count();
  const double span = double(n) - 1.0;
  // Fractions rise with the position, and every position at least two below
  // k * span has one below k whatever the rounding: the search starts there
  // rather than at 0.
  const double below = std::floor(k * span) - 1.0;
  const uint32_t start = below > 0.0 ? static_cast<uint32_t>(below) : 0;
  for (uint32_t i = start; i < n; ++i) {
    const double fraction = i / span;  // NaN for a single value: no position
    if (!(fraction >= k)) continue;
    // Plain numbers need only the two around the position, not the order.
    double value = 0.0;
    if (values.Ordered())
      *error = LargerErrorOf(*error, values.NumberAt(state, scratch, i, &value));
    else
      value = values.SelectNumber(i);
    if (fraction == k) return value;
    double previous = 0.0;
    if (values.Ordered())
      *error = LargerErrorOf(*error, values.NumberAt(state, scratch, i - 1, &previous));
    else
      previous = values.LargestBefore(i);
    const double previousFraction = (i - 1) / span;
    return previous + (value - previous) * (k - previousFraction) / (fraction - previousFraction);
  }
  if (*error == kErrorNone) *error = kErrorValue;
  return 0.0;
}

void Percentile(EvalState& state, bool quartile) {
  if (!BeginListCall(state, 2, 2, 0x2u)) return;
  const uint16_t first = FirstArg(state);
  double k = 0.0;
  uint32_t error = kErrorNone;
  if (quartile) {
    static const double kQuartiles[] = {0.0, 0.25, 0.5, 0.75, 1.0};
    int32_t quart = 0;
    error = GetArgInt(state, static_cast<uint16_t>(first + 1), &quart, 0, 4);
    if (error == kErrorNone) k = kQuartiles[quart];
  } else {
    error = GetArgNumber(state, static_cast<uint16_t>(first + 1), &k, 0.0, 1.0);
  }
  SortedValues values;
  error = LargerErrorOf(error, values.Build(state, first, true, SortedValues::KeptOrder::kSortedWhenShort));
  if (error == kErrorNone && values.Count() == 0) error = kErrorNum;
  double result = 0.0;
  if (error == kErrorNone) result = InterpolatedValue(state, values, first, k, &error);
  SetNumberResult(state, result, error);
}

// RANK over kept numbers in any order: the walk down the sorted list stops
// after the numbers before x in the order, at the first equal to x or past
// it, so counting them gives the same position, and the neighbours there
// are the nearest numbers on either side of x.
double RankAmongNumbers(const SortedValues& values, double x, bool ascending, uint32_t* error) {
  uint32_t before = 0;
  bool equal = false;
  bool after = false;
  double nearestBefore = 0.0;
  double nearestAfter = 0.0;
  for (uint32_t i = 0; i < values.Count(); ++i) {
    const double value = values.Number(i);
    if (value == x) {
      equal = true;
    } else if (ascending ? value < x : value > x) {
      // The last of those before x in the order: the largest below x, or
      // the smallest above it.
      if (before == 0 || (ascending ? value > nearestBefore : value < nearestBefore)) nearestBefore = value;
      ++before;
    } else if (ascending ? value > x : value < x) {
      if (!after || (ascending ? value < nearestAfter : value > nearestAfter)) nearestAfter = value;
      after = true;
    }
  }
  if (equal) return before + 1.0;
  // Nothing equal and nothing past x, or nothing before it: no position.
  if (!after || before == 0) {
    *error = kErrorValue;
    return 0.0;
  }
  return before + (x - nearestBefore) / (nearestAfter - nearestBefore);
}

}  // namespace

void FnLarge(EvalState& state) { KthValue(state, true); }
void FnSmall(EvalState& state) { KthValue(state, false); }
void FnPercentile(EvalState& state) { Percentile(state, false); }
void FnQuartile(EvalState& state) { Percentile(state, true); }

void FnPercentRank(EvalState& state) {
  if (!BeginListCall(state, 2, 3, 0x6u)) return;
  const uint16_t first = FirstArg(state);
  int32_t significance = 3;
  uint32_t error = kErrorNone;
  if (ArgCount(state) > 2) error = GetArgInt(state, static_cast<uint16_t>(first + 2), &significance, 1, 14);
  double x = 0.0;
  error = LargerErrorOf(error, GetArgNumber(state, static_cast<uint16_t>(first + 1), &x, -kLargestNumber,
                                            kLargestNumber));
  SortedValues values;
  error = LargerErrorOf(error, values.Build(state, first, true));
  const uint32_t n = values.Count();
  if (error == kErrorNone && n == 0) error = kErrorNum;
  double rank = 0.0;
  if (error == kErrorNone) {
    uint32_t i = 0;
    double value = 0.0;
    uint32_t valueError = kErrorNone;
    for (; i < n; ++i) {
      valueError = values.NumberAt(state, first, i, &value);
      if (value >= x) break;
    }
    if (i == n) {
      error = kErrorValue;
    } else if (value == x) {
      rank = i / (double(n) - 1.0);
    } else if (i > 0) {
      double previous = 0.0;
      valueError = LargerErrorOf(valueError, values.NumberAt(state, first, i - 1, &previous));
      rank = ((i - 1) + (x - previous) / (value - previous)) / (double(n) - 1.0);
    }
    error = LargerErrorOf(error, valueError);
  }
  if (error == kErrorNone) {
    // Rounded as written with that many decimals.
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", significance, rank);
    rank = std::strtod(text, nullptr);
  }
  SetNumberResult(state, rank, error);
}

void FnRank(EvalState& state) {
  if (!BeginListCall(state, 2, 3, 0x5u)) return;
  const uint16_t first = FirstArg(state);
  int32_t order = 0;
  uint32_t error = kErrorNone;
  if (ArgCount(state) > 2) error = GetArgInt(state, static_cast<uint16_t>(first + 2), &order, 0, 1);
  SortedValues values;
  error = LargerErrorOf(error, values.Build(state, static_cast<uint16_t>(first + 1), order != 0,
                                            SortedValues::KeptOrder::kAsRead));
  double x = 0.0;
  error = LargerErrorOf(error, GetArgNumber(state, first, &x, -kLargestNumber, kLargestNumber));
  const uint32_t n = values.Count();
  if (error == kErrorNone && n == 0) error = kErrorNum;
  double rank = 0.0;
  if (error == kErrorNone && values.NumbersOnly()) {
    rank = RankAmongNumbers(values, x, order != 0, &error);
  } else if (error == kErrorNone) {
    const uint16_t scratch = static_cast<uint16_t>(first + 1);
    bool found = false;
    double previous = 0.0;
    for (uint32_t i = 0; i < n && !found; ++i) {
      double value = 0.0;
      error = LargerErrorOf(error, values.NumberAt(state, scratch, i, &value));
      if (value == x) {
        rank = i + 1.0;
        found = true;
      } else if (order == 0 ? value < x : value > x) {
        // Between two neighbours the rank is fractional, in both orders.
        if (i == 0)
          error = LargerErrorOf(error, kErrorValue);
        else
          rank = i + (x - previous) / (value - previous);
        found = true;
      }
      previous = value;
    }
    if (!found && error == kErrorNone) error = kErrorValue;
  }
  SetNumberResult(state, rank, error);
}

void FnTrimMean(EvalState& state) {
  if (!BeginListCall(state, 2, 2, 0x2u)) return;
  const uint16_t first = FirstArg(state);
  double percent = 0.0;
  uint32_t error = GetArgNumber(state, static_cast<uint16_t>(first + 1), &percent, 0.0, 1.0);
  SortedValues values;
  error = LargerErrorOf(error, values.Build(state, first, true));
  const uint32_t n = values.Count();
  // An even number of values to drop, half at each end.
  const double t = n * percent;
  uint32_t k = static_cast<uint32_t>(t);
  if (k % 2 != 0) k = static_cast<uint32_t>(t + 0.5);
  if (k % 2 != 0) k = static_cast<uint32_t>(t - 0.5);
  if (error == kErrorNone && k >= n) error = kErrorNum;
  double sum = 0.0;
  if (error == kErrorNone && values.NumbersOnly()) {
    for (uint32_t i = k / 2; i <= n - 1 - k / 2; ++i) sum += values.Number(i);
    SetNumberResult(state, sum / (n - k), kErrorNone);
    return;
  }
  for (uint32_t i = k / 2; error == kErrorNone && i <= n - 1 - k / 2; ++i) {
    double value = 0.0;
    if (values.NumberAt(state, first, i, &value) != kErrorNone) error = kErrorNum;
    sum += value;
  }
  SetNumberResult(state, error == kErrorNone ? sum / (n - k) : 0.0, error);
}
