#include "view/grid_view/autoscroll_steps.h"

namespace {

// The codes of the system's scroll messages: line and page towards 0 and
// away from it.
constexpr int kLineBack = 0;
constexpr int kLineForward = 1;
constexpr int kPageBack = 2;
constexpr int kPageForward = 3;

}  // namespace

AutoscrollStep AutoscrollStepFor(int32_t distance, int32_t half) {
  const bool forward = distance > 0;
  const int32_t d = distance < 0 ? -distance : distance;
  if (d > half + 50)
    return {forward ? kPageForward : kPageBack, 0};
  if (d > half + 30)
    return {forward ? kLineForward : kLineBack, 0};
  if (d > half + 15)
    return {forward ? kLineForward : kLineBack, 100};
  if (d > half + 3)
    return {forward ? kLineForward : kLineBack, 400};
  return {-1, 0};
}

int AutoscrollDirection(int32_t dx, int32_t dy, int32_t halfWidth, int32_t halfHeight) {
  const int column = dx < -(halfWidth + 3) ? 0 : dx > halfWidth + 3 ? 2 : 1;
  const int row = dy < -(halfHeight + 3) ? 0 : dy > halfHeight + 3 ? 2 : 1;
  return row * 3 + column;
}
