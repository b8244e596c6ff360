#ifndef TALVERO_CHARTS_FRAME_DRAW_FRAME_H
#define TALVERO_CHARTS_FRAME_DRAW_FRAME_H

// Painting the frame from the vertices' view coordinates, which are device
// pixels while a chart is drawn: a plane with its separators and the grid
// lines on it, and an axis line with its ticks.

#include <cstdint>

#include "charts/frame/chart_canvas.h"

// A present, visible plane: filled with the wall pattern (a framed rectangle
// in 2D, so that gradients work; a polygon in 3D) or, with the outline flag
// or no pattern, only framed; then its extra lines and every grid record of
// the wall index, major, minor and user lines each with their series' pen.
// With the shade flag the colours are shaded by the plane's normal.
void DrawPlane(ChartCanvas& canvas, bool shade, const PlaneRecord& plane, uint8_t wall, bool outline);

// The axis line in its series' line style and its ticks, major ones with
// axis flag 16 and minor ones with flag 32.
void DrawAxisLine(ChartCanvas& canvas, const AxisRecord& axis);

// The segment between two vertices; nothing when either is not a number.
void DrawSegment(ChartCanvas& canvas, uint32_t from, uint32_t to);

#endif
