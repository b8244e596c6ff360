#include "core/base/result_check.h"

#include <cfloat>

bool IsBadNumber(double x) {
  if (x != x) return true;  // NaN
  if (x > DBL_MAX || x < -DBL_MAX) return true;
  return x != 0.0 && x < DBL_MIN && x > -DBL_MIN;
}

bool IsBadFloat(float x) {
  if (x != x) return true;
  if (x > FLT_MAX || x < -FLT_MAX) return true;
  return x != 0.0f && x < FLT_MIN && x > -FLT_MIN;
}
