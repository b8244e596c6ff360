#ifndef TALVERO_DIALOGS_ZOOM_TRACK_H
#define TALVERO_DIALOGS_ZOOM_TRACK_H

// The zoom chooser's track bar: 37 positions from 400 % at the left end to
// 40 % at the right, in steps of 10, and where the popup stands beside the
// point it was called to.

#include <cstdint>

#include "platform/ui/ui_rect.h"

constexpr int kZoomTrackLast = 36;

// The position that shows the zoom: zooms between two steps stand at the
// lower step's position, zooms beyond the ends at the ends.
int ZoomTrackPosition(uint32_t zoomPercent);
uint32_t ZoomOfTrackPosition(int position);

// The popup of the size with its bottom-right corner 2 pixels above and to
// the left of the point, moved left or up where it would pass the work
// area's right or bottom edge.
UiRect PlaceZoomPopup(int32_t pointX, int32_t pointY, int32_t width, int32_t height, const UiRect& workArea);

#endif
