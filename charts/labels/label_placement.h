#ifndef TALVERO_CHARTS_LABELS_LABEL_PLACEMENT_H
#define TALVERO_CHARTS_LABELS_LABEL_PLACEMENT_H

// Where a label placed automatically stands: at the point of its record
// farther from the anchor, aligned so that the text lies beyond that point
// in the direction from the anchor (to the right of a point right of the
// anchor, above one above it, and so on).

#include <cstdint>

#include "charts/frame/chart_layout.h"

struct LabelAlignment {
  uint8_t horizontal;
  uint8_t vertical;
};

// The alignment of a label whose direction is the angle in degrees (0 right,
// 90 up the screen, 0 to 360); each range holds both its ends and the first
// that holds the angle wins.
LabelAlignment LabelAlignmentForAngle(double degrees);

// The point at which the text is set (the second vertex, or the third when
// it lies strictly farther from the anchor) and its alignment. A text set
// on its anchor points right.
void PlaceAutomaticLabel(const VertexRecord& anchor, const VertexRecord& second, const VertexRecord& third,
                         const VertexRecord** at, LabelAlignment* alignment);

#endif
