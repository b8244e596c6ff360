#include "app/frame/frame_layout.h"

namespace {

constexpr int kMinimumSharedWidth = 40;
constexpr int kIconPaneWidth = 24;
// Room the status bar keeps around its panes beyond borders and spacings.
constexpr int kStatusSlack = 23;

}  // namespace

SecondaryBarWidths ComputeSecondaryBarWidths(int bandWidth, int borderLeft, int borderRight,
                                             const int* buttonWidths, int buttonCount) {
  int free = bandWidth + 1 - borderLeft - borderRight;
  for (int i = 0; i < buttonCount; ++i) free -= buttonWidths[i] + 1;
  if (free <= kMinimumSharedWidth) free = kMinimumSharedWidth;
  const int third = free / 3;
  return SecondaryBarWidths{third, 2 * third};
}

void ComputeStatusPaneEdges(int clientWidth, int horizontalBorder, int spacing, int zoomTextWidth,
                            int edges[kStatusPaneCount]) {
  edges[3] = clientWidth - horizontalBorder;
  edges[2] = edges[3] - spacing - zoomTextWidth;
  edges[1] = edges[2] - kIconPaneWidth - spacing;
  const int rest = clientWidth - 3 * spacing - 2 * (zoomTextWidth + horizontalBorder) - kStatusSlack;
  edges[0] = edges[1] - spacing - rest / 3;
}

bool TooltipOfPrompt(const char* resourceText, char* tooltip, int capacity) {
  if (capacity <= 0) return false;
  tooltip[0] = '\0';
  if (resourceText == nullptr) return false;
  const char* p = resourceText;
  while (*p != '\0' && *p != '\n') ++p;
  if (*p != '\n') return false;
  ++p;
  int n = 0;
  while (p[n] != '\0' && n < capacity - 1) {
    tooltip[n] = p[n];
    ++n;
  }
  tooltip[n] = '\0';
  return true;
}
