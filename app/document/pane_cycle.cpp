#include "app/document/pane_cycle.h"

int NextVisiblePane(int current, const bool visible[kPaneCount], bool backwards) {
  if (current < 0 || current >= kPaneCount) current = kPaneFirstView;
  const int step = backwards ? kPaneCount - 1 : 1;
  for (int n = 1; n < kPaneCount; ++n) {
    const int pane = (current + step * n) % kPaneCount;
    if (visible[pane]) return pane;
  }
  return current;
}
