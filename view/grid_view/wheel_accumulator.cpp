#include "view/grid_view/wheel_accumulator.h"

int32_t& WheelTotal() {
  static int32_t total = 0;
  return total;
}

WheelSteps AccumulateWheel(int32_t* total, int32_t delta) {
  if ((delta < 0 && *total > 0) || (delta > 0 && *total < 0))
    *total = delta;
  else
    *total += delta;
  WheelSteps steps;
  steps.up = *total > 0;
  steps.rows = (*total < 0 ? -*total : *total) / 120;
  if (steps.rows > 0)
    *total = 0;
  return steps;
}
