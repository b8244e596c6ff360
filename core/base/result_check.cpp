#include "core/base/result_check.h"

#include <cfloat>

bool IsBadFloat(float x) {
  if (x != x) return true;
  if (x > FLT_MAX || x < -FLT_MAX) return true;
  return x != 0.0f && x < FLT_MIN && x > -FLT_MIN;
}
