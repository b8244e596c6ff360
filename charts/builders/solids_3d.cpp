#include "charts/builders/solids_3d.h"

#include "charts/3d/scene_faces.h"
#include "charts/frame/chart_colours.h"
#include "charts/series/axis_scale.h"
#include "charts/series/chart_errors.h"

const FaceCorners kPrismFaces[kPrismFaceCount] = {
    {0, 3, 2, 3}, {2, 1, 0, 3},  // front
    {4, 5, 6, 3}, {6, 7, 4, 3},  // back
    {3, 7, 6, 3}, {6, 2, 3, 3},  // right
    {0, 1, 5, 3}, {5, 4, 0, 3},  // left
    {1, 2, 6, 3}, {6, 5, 1, 3},  // top
    {0, 4, 7, 3}, {7, 3, 0, 3},  // bottom
};

bool ReadSceneBox(const ChartCanvas& canvas, SceneBox* box) {
  const PlaneRecord& wall = canvas.layout.planes[kPlaneXY];
  const PlaneRecord& floor = canvas.layout.planes[kPlaneXZ];
  const VertexRecord* w0 = wall.present ? VertexAt(canvas.chart, wall.firstVertex) : nullptr;
  const VertexRecord* w2 = wall.present ? VertexAt(canvas.chart, wall.firstVertex + 2) : nullptr;
  const VertexRecord* f0 = floor.present ? VertexAt(canvas.chart, floor.firstVertex) : nullptr;
  const VertexRecord* f2 = floor.present ? VertexAt(canvas.chart, floor.firstVertex + 2) : nullptr;
  if (!w0 || !w2 || !f0 || !f2 || !canvas.layout.planes[kPlaneYZ].present) {
    canvas.chart.error = kChartOutOfMemory;
    return false;
  }
  box->x0 = w0->modelX;
  box->y0 = w0->modelY;
  box->width = w2->modelX - w0->modelX;
  box->height = w2->modelY - w0->modelY;
  box->z0 = f0->modelZ;
  box->z1 = f2->modelZ;
  box->depth = f2->modelZ - f0->modelZ;
  return true;
}

bool SeriesBase(const SeriesRecord& series, float* base) {
  const uint8_t signs = series.limits.state & kStateSigns;
  if ((signs & kStatePositive) && (signs & kStateNegative))
    return ValueToAxis(series, 0.0, base);
  *base = (signs & kStateNegative) ? 1.0f : 0.0f;
  return true;
}

uint32_t SeriesColour(const ChartRecord& chart, int series) { return FillColour1(chart.series[series].fill); }

const SeriesPoint* UsablePoint(const ChartRecord& chart, int series, uint32_t j) {
  const SeriesPoint* point = PointAt(chart.seriesLists[series], j);
  return point && IsUsablePoint(*point) ? point : nullptr;
}

bool StartBuild(ChartCanvas& canvas, const SeriesList& series, BuildFrame* frame, bool* built) {
  frame->count = 0;
  for (int k = 0; k < series.count; ++k) {
    SeriesLists& lists = canvas.chart.seriesLists[series.index[k]];
    lists.labels.Clear(true);
    if (lists.points.Count() > frame->count)
      frame->count = lists.points.Count();
  }
  *built = frame->count == 0;
  if (frame->count == 0 || !ReadSceneBox(canvas, &frame->box))
    return false;
  frame->slot = frame->box.width / frame->count;
  return true;
}

bool StackBase(ChartRecord& chart, const SeriesList& series, float* base) {
  if (SeriesBase(chart.series[series.index[0]], base))
    return true;
  chart.error = kChartOutOfMemory;
  return false;
}

void CentreInDepthSlot(const SceneBox& box, int k, int slots, float thickness, float* zFront, float* zBack) {
  const float d = box.depth / slots;
  *zBack = k * d + (d - thickness) / 2;
  *zFront = *zBack + thickness;
}

bool AppendPoints(ChartRecord& chart, const ScenePoint* points, int count, uint32_t* first) {
  *first = chart.vertices.Count();
  for (int i = 0; i < count; ++i)
    if (!AppendVertex(chart, points[i].x, points[i].y, points[i].z))
      return false;
  return true;
}

bool AppendFaces(ChartRecord& chart, uint32_t first, const FaceCorners* faces, int count, uint32_t reference,
                 uint32_t colour) {
  for (int i = 0; i < count; ++i) {
    const FaceCorners& f = faces[i];
    if (!AppendFace(chart, first + f.a, first + f.b, first + f.c, reference, colour, f.edges))
      return false;
  }
  return true;
}

bool AppendPrism(ChartRecord& chart, const PrismCorners& prism, uint32_t* first) {
  ScenePoint points[8];
  for (int k = 0; k < 4; ++k) {
    points[k] = {prism.x[k], prism.y[k], prism.zFront};
    points[k + 4] = {prism.x[k], prism.y[k], prism.zBack};
  }
  return AppendPoints(chart, points, 8, first);
}

bool AppendPrismSide(ChartRecord& chart, uint32_t first, int side, uint32_t reference, uint32_t colour) {
  return AppendFaces(chart, first, kPrismFaces + side, 2, reference, colour);
}
