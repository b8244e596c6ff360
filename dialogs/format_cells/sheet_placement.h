#ifndef TALVERO_DIALOGS_SHEET_PLACEMENT_H
#define TALVERO_DIALOGS_SHEET_PLACEMENT_H

// Whether a format sheet opens where it was last closed: only a stored
// rectangle that is not empty and whose top-left corner lies inside the work
// area, strictly inside its left and top edges, is restored; otherwise the
// sheet opens centred over its owner.

#include <cstdint>

struct PlacementRect {
  int32_t left, top, right, bottom;
};

bool RestoresStoredPlacement(const PlacementRect& stored, const PlacementRect& workArea);

#endif
