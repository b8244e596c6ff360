#ifndef TALVERO_VIEW_WHEEL_ACCUMULATOR_H
#define TALVERO_VIEW_WHEEL_ACCUMULATOR_H

// Turns mouse-wheel deltas into row steps. One total serves every view of
// the process: a delta against the total's sign replaces it, one with it is
// added; each full 120 is one row, and reaching 120 in magnitude drops the
// total (and its remainder) back to 0.

#include <cstdint>

struct WheelSteps {
  int32_t rows;  // row steps to take
  bool up;       // towards row 0 (a positive total)
};

// The process-wide total; 0 at start.
int32_t& WheelTotal();

WheelSteps AccumulateWheel(int32_t* total, int32_t delta);

#endif
