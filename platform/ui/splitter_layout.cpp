#include "platform/ui/splitter_layout.h"

int32_t MiddleSplitterPosition(int32_t extent, int32_t barWidth) {
  int32_t position = (extent - barWidth) / 2;
  return position < 0 ? 0 : position;
}

int32_t ClampSplitterPosition(int32_t position, int32_t extent, int32_t barWidth, int32_t minPane) {
  int32_t low = minPane;
  int32_t high = extent - barWidth - minPane;
  if (high < low) return MiddleSplitterPosition(extent, barWidth);
  if (position < low) return low;
  if (position > high) return high;
  return position;
}

int32_t ScaleSplitterPosition(int32_t position, int32_t oldExtent, int32_t newExtent) {
  if (oldExtent <= 0) return position;
  return static_cast<int32_t>(static_cast<int64_t>(position) * newExtent / oldExtent);
}

void LayoutSplitter(const SplitterLayoutInput& in, const UiRect& client, UiRect panes[2], UiRect* bar) {
  const UiRect empty{0, 0, 0, 0};
  if (in.singlePane == 0 || in.singlePane == 1) {
    panes[in.singlePane] = client;
    panes[1 - in.singlePane] = empty;
    *bar = empty;
    return;
  }
  int32_t extent = in.vertical ? client.Width() : client.Height();
  int32_t position = ClampSplitterPosition(in.position, extent, in.barWidth, in.minPane);
  panes[0] = client;
  panes[1] = client;
  *bar = client;
  if (in.vertical) {
    panes[0].right = client.left + position;
    bar->left = panes[0].right;
    bar->right = bar->left + in.barWidth;
    panes[1].left = bar->right;
  } else {
    panes[0].bottom = client.top + position;
    bar->top = panes[0].bottom;
    bar->bottom = bar->top + in.barWidth;
    panes[1].top = bar->bottom;
  }
}
