#ifndef TALVERO_CHARTS_3D_SCENE_PROJECTION_H
#define TALVERO_CHARTS_3D_SCENE_PROJECTION_H

// From model to view coordinates: the chart's view matrix (turned a quarter
// for bars), the light, the normals of planes, axes and faces, and the
// perspective that shrinks what lies far from the viewer.

#include <cstdint>

#include "charts/frame/chart_canvas.h"

// The matrix the scene is projected with: the view matrix, times a quarter
// turn about z with x scaled by w / h and y by h / w when some data series
// is a bar, so that bars are built as columns and laid on their side. A
// plot without width or height is only turned.
void SceneMatrix(const ChartRecord& chart, int32_t plotWidth, int32_t plotHeight, ChartMatrix out);

// View values from the model values through the matrix's upper-left 3 x 3.
void ProjectVertices(ChartRecord& chart, const ChartMatrix matrix);

// The unit vector (cos x, cos y, 1) / length, the angles in degrees,
// written byte by byte as three floats.
void LightDirection(uint16_t degreesX, uint16_t degreesY, void* light);

// The unit normal (P2 - P1) x (P3 - P2) of three view points; NaN for
// points on one line. Written byte by byte: normals live in packed records.
void FaceNormal(const VertexRecord& p1, const VertexRecord& p2, const VertexRecord& p3, void* normal);

enum NormalPass : uint8_t {
  kShadingNormals,  // before perspective: faces keep them for their shade
  kViewNormals,     // after: they decide what faces the viewer
};

// The normals of the planes, the axis records and every face.
void ComputeNormals(ChartCanvas& canvas, uint8_t pass);

// Below this a perspective denominator would put a vertex at or behind the
// eye's plane.
constexpr float kPerspectiveEpsilon = 1e-3f;

// With 0 < perspective < 100, multiplies every view x and y by d / (d - z -
// zmin), d = (zmax - zmin) x perspective / 10. A scene whose smallest
// denominator (at zmax) is not above the epsilon, or whose depth d is not,
// keeps its parallel projection. True when the perspective was applied.
bool ApplyPerspective(ChartRecord& chart, uint16_t perspective);

#endif
