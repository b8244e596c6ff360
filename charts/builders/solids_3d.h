#ifndef TALVERO_CHARTS_BUILDERS_SOLIDS_3D_H
#define TALVERO_CHARTS_BUILDERS_SOLIDS_3D_H

// What the 3D builders share: the box the chart planes span, the base line
// a series' columns and areas rise from, and the solids they append to the
// scene (vertices in model coordinates, triangles wound so that a side
// facing the viewer turns its normal towards +z).

#include <cstdint>

#include "charts/frame/chart_canvas.h"
#include "charts/series/series_points.h"
#include "charts/series/series_selection.h"

// The plot's box in model coordinates, read from the planes: its origin and
// size from the XY wall's first and third corners, its depth between the
// floor's first and third corners.
struct SceneBox {
  float x0;
  float y0;
  float width;
  float height;
  float z0;
  float z1;
  float depth;
};

// False with error 27 when the XY wall, the floor or the YZ wall was not
// built.
bool ReadSceneBox(const ChartCanvas& canvas, SceneBox* box);

// The scaled value the series' columns and areas rise from: the position of
// 0 on its axis when it has values of both signs (false when that is no
// float), else 1 with negative values only and 0 otherwise.
bool SeriesBase(const SeriesRecord& series, float* base);

// The unshaded colour of the series' faces: its first fill colour.
uint32_t SeriesColour(const ChartRecord& chart, int series);

// The series' point j when it exists and is usable, else null.
const SeriesPoint* UsablePoint(const ChartRecord& chart, int series, uint32_t j);
// Columns and areas of negative points hang below the base.
inline bool IsNegativePoint(const SeriesPoint& point) { return (point.flags & kPointNegative) != 0; }

// What a builder of several series works in: N, their largest point count,
// the box and the width of one category's slot.
struct BuildFrame {
  uint32_t count;
  SceneBox box;
  float slot;
};

// The centre of category j's slot, where a ribbon or area segment from j
// to j + 1 starts; it ends one slot further.
inline float SegmentStart(const BuildFrame& frame, uint32_t j) {
  return frame.box.x0 + j * frame.slot + frame.slot / 2;
}

// The depth of a ribbon or area: LineWidth3D percent of one of `slots`
// equal slots of the box's depth.
inline float RibbonDepth(const ChartRecord& chart, const SceneBox& box, int slots) {
  return box.depth / slots * chart.options.lineWidth3D / 100;
}

// Empties the label lists of the series (pages kept) and reads the frame.
// False when there is nothing to build: *built is then true for N = 0 and
// false (error 27) when a plane is missing.
bool StartBuild(ChartCanvas& canvas, const SeriesList& series, BuildFrame* frame, bool* built);

// The base of a stack: that of its first series; false with error 27 when
// 0 has no position on its axis.
bool StackBase(ChartRecord& chart, const SeriesList& series, float* base);

// The front (nearer, larger z) and back of something `thickness` deep in
// the middle of depth slot k of `slots` equal slots of the box's depth.
void CentreInDepthSlot(const SceneBox& box, int k, int slots, float thickness, float* zFront, float* zBack);

struct ScenePoint {
  float x;
  float y;
  float z;
};

// Appends the points in order; *first is the index of the first. False with
// error 27 when the list cannot grow.
bool AppendPoints(ChartRecord& chart, const ScenePoint* points, int count, uint32_t* first);

// A triangle by its corners' places among a solid's vertices.
struct FaceCorners {
  uint8_t a;
  uint8_t b;
  uint8_t c;
  uint8_t edges;
};

// Appends the triangles, corners counted from vertex `first`.
bool AppendFaces(ChartRecord& chart, uint32_t first, const FaceCorners* faces, int count, uint32_t reference,
                 uint32_t colour);

// A prism of eight vertices: four corners in the plane zB (lower left,
// upper left, upper right, lower right as seen from the front), then the
// same four at zF.
struct PrismCorners {
  float x[4];
  float y[4];
  float zFront;  // zB, nearer the viewer
  float zBack;   // zF
};
bool AppendPrism(ChartRecord& chart, const PrismCorners& prism, uint32_t* first);

// The twelve triangles of a prism, two to a side, in the order front, back,
// right, left, top, bottom; builders take the sides they need.
enum PrismSide : int {
  kPrismFront = 0,
  kPrismBack = 2,
  kPrismRight = 4,
  kPrismLeft = 6,
  kPrismTop = 8,
  kPrismBottom = 10,
  kPrismFaceCount = 12,
};
extern const FaceCorners kPrismFaces[kPrismFaceCount];

// The two triangles of one side.
bool AppendPrismSide(ChartRecord& chart, uint32_t first, int side, uint32_t reference, uint32_t colour);

#endif
