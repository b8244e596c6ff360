#include "charts/3d/scene_projection.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "charts/3d/scene_faces.h"
#include "charts/series/series_selection.h"

namespace {

constexpr double kPi = 3.14159265358979;

bool SomeDataSeriesIsABar(const ChartRecord& chart) { return HasDataSeriesOfType(chart, kViewBar, kViewBar3D); }

// The normal of the three vertices from `first`, NaN when one is missing.
void NormalOfVertices(const ChartRecord& chart, uint32_t first, float normal[3]) {
  const VertexRecord* p1 = VertexAt(chart, first);
  const VertexRecord* p2 = VertexAt(chart, first + 1);
  const VertexRecord* p3 = VertexAt(chart, first + 2);
  if (p1 && p2 && p3) {
    FaceNormal(*p1, *p2, *p3, normal);
    return;
  }
  normal[0] = normal[1] = normal[2] = std::numeric_limits<float>::quiet_NaN();
}

void FaceNormalOf(const ChartRecord& chart, const FaceRecord& face, float normal[3]) {
  const VertexRecord* a = VertexAt(chart, face.a);
  const VertexRecord* b = VertexAt(chart, face.b);
  const VertexRecord* c = VertexAt(chart, face.c);
  if (a && b && c) {
    FaceNormal(*a, *b, *c, normal);
    return;
  }
  normal[0] = normal[1] = normal[2] = std::numeric_limits<float>::quiet_NaN();
}

}  // namespace

void SceneMatrix(const ChartRecord& chart, int32_t plotWidth, int32_t plotHeight, ChartMatrix out) {
  if (!SomeDataSeriesIsABar(chart)) {
    std::memcpy(out, chart.viewMatrix, sizeof(ChartMatrix));
    return;
  }
  ChartMatrix turn;
  ChartRecord::Transform(turn, kResetToIdentity, 0);
  ChartRecord::Transform(turn, kRotateAboutZ, kPi / 2);
  // Either ratio of a plot without width or height is 0 or infinite, and
  // the product would be NaN throughout.
  if (plotWidth > 0 && plotHeight > 0) {
    const double w = plotWidth;
    const double h = plotHeight;
    ChartRecord::Transform(turn, kScaleX, w / h);
    ChartRecord::Transform(turn, kScaleY, h / w);
  }
  Matrix4::Multiply(chart.viewMatrix, turn, out);
}

void ProjectVertices(ChartRecord& chart, const ChartMatrix m) {
  const uint32_t count = chart.vertices.Count();
  for (uint32_t i = 0; i < count; ++i) {
    VertexRecord* v = VertexAt(chart, i);
    const double x = v->modelX;
    const double y = v->modelY;
    const double z = v->modelZ;
    v->viewX = static_cast<float>(m[0][0] * x + m[0][1] * y + m[0][2] * z);
    v->viewY = static_cast<float>(m[1][0] * x + m[1][1] * y + m[1][2] * z);
    v->viewZ = static_cast<float>(m[2][0] * x + m[2][1] * y + m[2][2] * z);
  }
}

void LightDirection(uint16_t degreesX, uint16_t degreesY, float light[3]) {
  const double x = std::cos(degreesX * kPi / 180);
  const double y = std::cos(degreesY * kPi / 180);
  const double length = std::sqrt(x * x + y * y + 1);
  light[0] = static_cast<float>(x / length);
  light[1] = static_cast<float>(y / length);
  light[2] = static_cast<float>(1 / length);
}

void FaceNormal(const VertexRecord& p1, const VertexRecord& p2, const VertexRecord& p3, float normal[3]) {
  const double ax = static_cast<double>(p2.viewX) - p1.viewX;
  const double ay = static_cast<double>(p2.viewY) - p1.viewY;
  const double az = static_cast<double>(p2.viewZ) - p1.viewZ;
  const double bx = static_cast<double>(p3.viewX) - p2.viewX;
  const double by = static_cast<double>(p3.viewY) - p2.viewY;
  const double bz = static_cast<double>(p3.viewZ) - p2.viewZ;
  const double nx = ay * bz - az * by;
  const double ny = az * bx - ax * bz;
  const double nz = ax * by - ay * bx;
  const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
  normal[0] = static_cast<float>(nx / length);
  normal[1] = static_cast<float>(ny / length);
  normal[2] = static_cast<float>(nz / length);
}

void ComputeNormals(ChartCanvas& canvas, uint8_t pass) {
  ChartRecord& chart = canvas.chart;
  for (PlaneRecord& plane : canvas.layout.planes)
    if (plane.present)
      NormalOfVertices(chart, plane.firstVertex, plane.normal);
  for (int k = 0; k < canvas.axes.count; ++k)
    NormalOfVertices(chart, canvas.axes.records[k].firstVertex, canvas.axes.records[k].normal);
  const uint32_t count = chart.faces.Count();
  for (uint32_t i = 0; i < count; ++i) {
    FaceRecord* face = FaceAt(chart, i);
    FaceNormalOf(chart, *face, pass == kShadingNormals ? face->shadeNormal : face->viewNormal);
  }
}

bool ApplyPerspective(ChartRecord& chart, uint16_t perspective) {
  if (perspective == 0 || perspective >= 100)
    return false;
  float zmax = -3.4028235e38f;
  float zmin = 3.4028235e38f;
  const uint32_t count = chart.vertices.Count();
  for (uint32_t i = 0; i < count; ++i) {
    const float z = VertexAt(chart, i)->viewZ;
    if (z > zmax) zmax = z;
    if (z < zmin) zmin = z;
  }
  const float d = (zmax - zmin) * perspective / 10;
  if (!(d > kPerspectiveEpsilon && d <= 3.4028235e38f) || !(d - zmax - zmin > kPerspectiveEpsilon))
    return false;
  for (uint32_t i = 0; i < count; ++i) {
    VertexRecord* v = VertexAt(chart, i);
    const float f = d / (d - v->viewZ - zmin);
    v->viewX *= f;
    v->viewY *= f;
  }
  return true;
}
