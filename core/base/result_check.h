#ifndef TALVERO_CORE_RESULT_CHECK_H
#define TALVERO_CORE_RESULT_CHECK_H

// The check every numeric result passes: infinities, NaNs and non-zero
// magnitudes below the smallest normal number become "#NUM!". A NaN must
// never reach a cell or a file, where it would compare unequal to itself and
// print differently on every runtime.

#include <cfloat>
#include <cmath>

// Inline: every operator and handler result passes through it.
// The magnitude is tested once: a NaN fails both comparisons.
inline bool IsBadNumber(double x) {
  const double magnitude = std::fabs(x);
  return !(magnitude >= DBL_MIN && magnitude <= DBL_MAX) && x != 0.0;
}
bool IsBadFloat(float x);

#endif
