#ifndef TALVERO_VIEW_BACKGROUND_COVER_H
#define TALVERO_VIEW_BACKGROUND_COVER_H

// How much of its rectangle a worksheet background paints. Cells without a
// fill show the background through them, so a window, which is not erased
// before its paint, must paint what the background leaves bare itself.

#include "core/model/worksheet_view_format.h"
#include "view/draw_context/rect_margins.h"

// What a background leaves bare of its rectangle: the band right of what it
// paints, as tall as that, and the band below it, across the rectangle. A
// fill with a pattern, and a stretched or tiled picture, paint it all; a
// picture at its own size paints its width and height from the top-left
// corner; no background, a fill without a pattern and a picture that cannot
// be had (null) paint nothing. A band with nothing in it has right < left.
struct BareBackground {
  PixelRect right;
  PixelRect below;
};

BareBackground BackgroundLeftBare(const WorksheetViewFormat& view, const void* picture, const PixelRect& rect);

#endif
