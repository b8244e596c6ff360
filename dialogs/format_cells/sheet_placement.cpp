#include "dialogs/format_cells/sheet_placement.h"

bool RestoresStoredPlacement(const PlacementRect& stored, const PlacementRect& work) {
  if (stored.right <= stored.left || stored.bottom <= stored.top) return false;
  return stored.left <= work.right && stored.top <= work.bottom && stored.left > work.left && stored.top > work.top;
}
