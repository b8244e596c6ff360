#ifndef TALVERO_VIEW_AUTOSCROLL_STEPS_H
#define TALVERO_VIEW_AUTOSCROLL_STEPS_H

// How far the middle-button autoscroll indicator scrolls on one axis: the
// farther the pointer stands from the indicator, the bigger the step and the
// shorter the pause before the next one.

#include <cstdint>

struct AutoscrollStep {
  int code;        // a scroll code (line or page, towards the pointer), or -1 for none
  uint32_t pause;  // milliseconds before the next step
};

// distance: the pointer's signed distance from the centre on the axis;
// half: half the indicator's size on it.
AutoscrollStep AutoscrollStepFor(int32_t distance, int32_t half);

// Which way the pointer points from the indicator, 0 to 8 row by row from
// the top-left (4: over it), inside meaning within the half size + 3.
int AutoscrollDirection(int32_t dx, int32_t dy, int32_t halfWidth, int32_t halfHeight);

#endif
