#include "charts/3d/scene_3d.h"

#include <cmath>

#include "charts/3d/depth_sort.h"
#include "charts/3d/scene_faces.h"
#include "charts/3d/scene_projection.h"
#include "charts/frame/chart_colours.h"
#include "charts/frame/draw_axis_labels.h"
#include "charts/frame/draw_frame.h"
#include "charts/frame/shade_color.h"
#include "charts/labels/point_labels.h"
#include "charts/labels/related_series.h"
#include "charts/series/series_selection.h"

namespace {

// Planes in their drawing order with the wall index of their grid records.
struct PlaneToDraw {
  int slot;
  uint8_t wall;
};
constexpr PlaneToDraw kPlaneOrder[] = {{kPlaneXY, kWallXY}, {kPlaneXZ, kWallXZ}, {kPlaneYZ, kWallYZ}};

enum FrameSide : uint8_t {
  kBehindFaces,    // planes with nz >= 0, axes with nz > 0
  kInFrontOfFaces, // the others, NaN normals included, so each is drawn once
};

void DrawFrame(ChartCanvas& canvas, uint8_t side) {
  for (const PlaneToDraw& p : kPlaneOrder) {
    const PlaneRecord& plane = canvas.layout.planes[p.slot];
    if ((plane.normal[2] >= 0) == (side == kBehindFaces))
      DrawPlane(canvas, true, plane, p.wall, false);
  }
  for (int k = 0; k < canvas.axes.count; ++k) {
    const AxisRecord& axis = canvas.axes.records[k];
    if ((axis.normal[2] > 0) == (side == kBehindFaces))
      DrawAxis(canvas, axis);
  }
}

// The corner as a device point; false when it is missing or not finite.
bool FaceCorner(const ChartRecord& chart, uint32_t vertex, PixelPoint* point) {
  const VertexRecord* v = VertexAt(chart, vertex);
  return v && std::isfinite(v->viewX) && std::isfinite(v->viewY) && DevicePoint(*v, point);
}

void DrawFace(ChartCanvas& canvas, const FaceRecord& face) {
  PixelPoint corners[4];
  if (!FaceCorner(canvas.chart, face.a, &corners[0]) || !FaceCorner(canvas.chart, face.b, &corners[1]) ||
      !FaceCorner(canvas.chart, face.c, &corners[2]))
    return;
  corners[3] = corners[0];
  const PaintSurface& surface = canvas.surface;
  const uint32_t colour = ShadeColor(canvas.layout.light, face.shadeNormal, face.colour);
  // Outlines in the face's own colour close the hairline gaps between
  // neighbouring triangles on screen; a printer fills them exactly.
  surface.SelectPen(surface.IsPrinting() ? 0 : 1, colour, 100);
  surface.SelectBrush(1, colour, colour);
  surface.Polygon(corners, 4);
}

// A pie's data-point labels, over its faces: every data series that shows
// labels, though only one pie was built.
void DrawPieLabels(ChartCanvas& canvas) {
  SeriesList data;
  CollectSeries(canvas.chart, &data, kSeriesData);
  for (int k = 0; k < data.count; ++k) {
    const int series = data.index[k];
    if (canvas.chart.series[series].labelKind != 0)
      DrawPointLabels(canvas, series, FindRelatedX(canvas.chart, series));
  }
}

}  // namespace

bool IsPieScene(const ChartRecord& chart) {
  SeriesList data;
  return CollectSeries(chart, &data, kSeriesData) > 0 && chart.series[data.index[0]].viewType == kViewPie3D;
}

bool PrepareScene3D(ChartCanvas& canvas) {
  ChartRecord& chart = canvas.chart;
  SeriesList data;
  if (CollectSeries(chart, &data, kSeriesData) == 0)
    return true;
  ChartMatrix matrix;
  SceneMatrix(chart, canvas.layout.plotWidth, canvas.layout.plotHeight, matrix);
  ProjectVertices(chart, matrix);
  LightDirection(chart.options.lightDirectionX, chart.options.lightDirectionY, canvas.layout.light);
  ComputeNormals(canvas, kShadingNormals);
  ApplyPerspective(chart, chart.options.perspective);
  ComputeNormals(canvas, kViewNormals);
  SortFacesByDepth(chart);
  return true;
}

void Draw3D(ChartCanvas& canvas) {
  const bool pie = IsPieScene(canvas.chart);
  if (!pie)
    DrawFrame(canvas, kBehindFaces);
  const uint32_t count = canvas.chart.faces.Count();
  for (uint32_t i = 0; i < count; ++i) {
    const FaceRecord* face = FaceAt(canvas.chart, i);
    if (!(face->viewNormal[2] <= 0))
      DrawFace(canvas, *face);
  }
  if (pie)
    DrawPieLabels(canvas);
  else
    DrawFrame(canvas, kInFrontOfFaces);
}
