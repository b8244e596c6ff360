#ifndef TALVERO_CORE_RESULT_CHECK_H
#define TALVERO_CORE_RESULT_CHECK_H

// The check every numeric result passes: infinities, NaNs and non-zero
// magnitudes below the smallest normal number become "#NUM!". A NaN must
// never reach a cell or a file, where it would compare unequal to itself and
// print differently on every runtime.

#include <cfloat>

// Inline: every operator and handler result passes through it.
inline bool IsBadNumber(double x) {
  if (x != x) return true;  // NaN
  if (x > DBL_MAX || x < -DBL_MAX) return true;
  return x != 0.0 && x < DBL_MIN && x > -DBL_MIN;
}
bool IsBadFloat(float x);

#endif
