#ifndef TALVERO_PLATFORM_UI_CENTRE_RECT_H
#define TALVERO_PLATFORM_UI_CENTRE_RECT_H

#include <cstdint>

#include "platform/ui/ui_rect.h"

// A window of the given size centred on its owner's rectangle and moved back
// into the work area of the owner's monitor; a window larger than the work
// area keeps the work area's left or top edge, so its caption stays reachable.
UiRect CentreRect(int32_t width, int32_t height, const UiRect& owner, const UiRect& workArea);

#endif
