#ifndef TALVERO_PLATFORM_UI_SPLITTER_LAYOUT_H
#define TALVERO_PLATFORM_UI_SPLITTER_LAYOUT_H

// Where a splitter puts its two panes and its bar.

#include <cstdint>

#include "platform/ui/ui_rect.h"

constexpr int8_t kSplitterBothPanes = -1;

struct SplitterLayoutInput {
  bool vertical;       // a vertical bar: panes left and right
  int32_t position;    // the bar's offset from the client's left (or top) edge
  int32_t barWidth;
  int32_t minPane;     // no pane narrower than this while both are shown
  int8_t singlePane;   // kSplitterBothPanes, or the one pane shown (0 or 1)
};

// The bar position kept inside the client: each pane at least minPane wide;
// when the client is too small for that, the bar stands in the middle.
int32_t ClampSplitterPosition(int32_t position, int32_t extent, int32_t barWidth, int32_t minPane);
// The bar in the middle of an extent.
int32_t MiddleSplitterPosition(int32_t extent, int32_t barWidth);
// The position after the client changed size, keeping the panes' proportions.
int32_t ScaleSplitterPosition(int32_t position, int32_t oldExtent, int32_t newExtent);

// Pane and bar rectangles. A pane that is not shown, and the bar in
// single-pane mode, get empty rectangles.
void LayoutSplitter(const SplitterLayoutInput& in, const UiRect& client, UiRect panes[2], UiRect* bar);

#endif
