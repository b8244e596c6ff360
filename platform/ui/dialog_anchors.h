#ifndef TALVERO_PLATFORM_UI_DIALOG_ANCHORS_H
#define TALVERO_PLATFORM_UI_DIALOG_ANCHORS_H

// How a control of a resizable dialog follows the dialog's size: it keeps its
// distance to the left and top edges unless told to move with the right or
// bottom edge, or to grow with it.

#include <cstdint>

#include "platform/ui/ui_rect.h"

enum DialogAnchor : uint8_t {
  kAnchorMoveX = 1,  // keeps its distance to the right edge
  kAnchorMoveY = 2,  // keeps its distance to the bottom edge
  kAnchorSizeX = 4,  // grows with the width
  kAnchorSizeY = 8,  // grows with the height
};

// The control's rectangle when the client has grown by dx and dy since the
// dialog opened (shrinking is negative) from its rectangle at that time.
UiRect AnchorRect(const UiRect& initial, int32_t dx, int32_t dy, uint8_t anchors);

#endif
