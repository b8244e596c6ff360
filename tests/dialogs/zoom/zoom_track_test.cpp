#include "dialogs/zoom/zoom_track.h"

#include <gtest/gtest.h>

namespace {

TEST(ZoomTrack, ZoomsStandAtTheirStepAndReadBackAsIt) {
  const struct {
    uint32_t zoom;
    int position;
    uint32_t readBack;
  } cases[] = {
      {100, 30, 100}, {125, 28, 120}, {40, 36, 40}, {400, 0, 400}, {45, 36, 40},
      // Beyond the ends the track bar stands at its ends.
      {10, 36, 40},   {0, 36, 40},    {1000, 0, 400},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ZoomTrackPosition(c.zoom), c.position) << c.zoom;
    EXPECT_EQ(ZoomOfTrackPosition(ZoomTrackPosition(c.zoom)), c.readBack) << c.zoom;
  }
  for (int position = 0; position <= kZoomTrackLast; ++position)
    EXPECT_EQ(ZoomTrackPosition(ZoomOfTrackPosition(position)), position);
}

TEST(ZoomTrack, PopupStandsAboveAndLeftOfThePointInsideTheWorkArea) {
  const UiRect work{0, 0, 800, 600};
  EXPECT_EQ(PlaceZoomPopup(500, 580, 100, 40, work), (UiRect{398, 538, 498, 578}));
  // A point beyond the work area's corner: moved back to touch its edges.
  EXPECT_EQ(PlaceZoomPopup(900, 700, 100, 40, work), (UiRect{700, 560, 800, 600}));
}

}  // namespace
