#ifndef TALVERO_FUNCTIONS_SUM_STRETCHES_H
#define TALVERO_FUNCTIONS_SUM_STRETCHES_H

// Walks that add terms and stop once the sum is no longer a number
// (infinite, or below the smallest normal number but not 0), read as
// stretches while a recalculation pass gathers the cells they read: after a
// cell calculated to a new value, the cells after it are taken for the walk
// only when the sum that reaches them is known to stay a number. Each
// stretch commits, by the sum read before its first listed cell, to terms
// that keep it one in either of two ways:
// - kMultiplesWay: every term is 0 or at least 2^-970 in size, as the sum
//   is a multiple of the smallest normal number at the start, so that every
//   sum is such a multiple, 0 or at least that number in size;
// - kRisingWay: every term is 0 or more and the sum at the start a normal
//   number above 0, which the sum then never falls below.
// And no term exceeds the share of a quarter of the largest number that
// leaves room for as many terms as the walk can read (termLimit), nor the
// sum at the start a quarter of it. Anything else (kFrozenWay) takes no
// cell after a changed value. A value read while listing that its stretch
// does not take starts another stretch.

#include <cmath>
#include <cstdint>

enum SumWay : uint8_t { kFrozenWay, kMultiplesWay, kRisingWay };

constexpr double kLargestSum = 1.7976931348623157e308;
constexpr double kSmallestNormal = 2.2250738585072014e-308;
constexpr double kSmallestMultipleTerm = 0x1p-970;

// The share of each of terms terms (at least 1).
inline double SumTermLimit(double terms) { return kLargestSum / 4 / (terms < 1 ? 1 : terms); }

inline bool IsMultipleOfSmallestNormal(double sum) {
  const double magnitude = std::fabs(sum);
  if (magnitude == 0 || magnitude >= kSmallestMultipleTerm) return true;
  const double scaled = sum * 0x1p1022;
  return scaled == std::trunc(scaled);
}

// The way of a stretch whose sum is sum before its first listed cell: the
// rising one while no term so far was negative.
inline uint8_t SumWayAfter(double sum, bool negativeSeen) {
  if (!(std::fabs(sum) <= kLargestSum / 4)) return kFrozenWay;
  if (!negativeSeen && sum >= kSmallestNormal) return kRisingWay;
  if (IsMultipleOfSmallestNormal(sum)) return kMultiplesWay;
  return sum >= kSmallestNormal ? kRisingWay : kFrozenWay;
}

inline bool TermKeepsSumSound(uint8_t way, double termLimit, double term) {
  if (!(std::fabs(term) <= termLimit)) return false;
  if (way == kRisingWay) return term >= 0;
  return way == kMultiplesWay && (term == 0 || std::fabs(term) >= kSmallestMultipleTerm);
}

#endif
