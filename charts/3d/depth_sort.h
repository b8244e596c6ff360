#ifndef TALVERO_CHARTS_3D_DEPTH_SORT_H
#define TALVERO_CHARTS_3D_DEPTH_SORT_H

// The painter's order of a scene: every face takes the distance of its
// reference vertex from the eye at (0, 0, 800) in view coordinates, and the
// faces are sorted from the farthest to the nearest.

#include <cstdint>

#include "core/model/chart_record.h"

// The eye's distance from the view plane's origin, along +z.
constexpr float kEyeDistance = 800;

// The distance of a view point from the eye: the sum of squares rounded to
// a float before its root.
float EyeDistance(float x, float y, float z);

// Depths, then an explicit-stack quicksort, largest depth first. Faces of
// equal depth keep the order this partition gives them (not their order of
// insertion), which is part of the drawing order: every build computes it
// alike. A face whose reference vertex is missing takes a NaN depth.
void SortFacesByDepth(ChartRecord& chart);

#endif
