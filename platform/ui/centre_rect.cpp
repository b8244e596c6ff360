#include "platform/ui/centre_rect.h"

namespace {

int32_t CentreOn(int32_t size, int32_t ownerLow, int32_t ownerHigh, int32_t areaLow, int32_t areaHigh) {
  int32_t low = ownerLow + ((ownerHigh - ownerLow) - size) / 2;
  if (low + size > areaHigh) low = areaHigh - size;
  if (low < areaLow) low = areaLow;
  return low;
}

}  // namespace

UiRect CentreRect(int32_t width, int32_t height, const UiRect& owner, const UiRect& workArea) {
  int32_t left = CentreOn(width, owner.left, owner.right, workArea.left, workArea.right);
  int32_t top = CentreOn(height, owner.top, owner.bottom, workArea.top, workArea.bottom);
  return UiRect{left, top, left + width, top + height};
}
