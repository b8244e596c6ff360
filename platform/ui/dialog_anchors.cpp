#include "platform/ui/dialog_anchors.h"

UiRect AnchorRect(const UiRect& initial, int32_t dx, int32_t dy, uint8_t anchors) {
  UiRect r = initial;
  if (anchors & kAnchorMoveX) {
    r.left += dx;
    r.right += dx;
  } else if (anchors & kAnchorSizeX) {
    r.right += dx;
  }
  if (anchors & kAnchorMoveY) {
    r.top += dy;
    r.bottom += dy;
  } else if (anchors & kAnchorSizeY) {
    r.bottom += dy;
  }
  // A control never turns inside out when the dialog is made smaller.
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}
