#include "charts/3d/scene_projection.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "charts/3d/scene_faces.h"
#include "charts/series/series_selection.h"

namespace {

constexpr double kPi = 3.14159265358979;

bool SomeDataSeriesIsABar(const ChartRecord& chart) { return HasDataSeriesOfType(chart, kViewBar, kViewBar3D); }

// The normal of three vertices, NaN when one is missing.
void NormalOf(const ChartRecord& chart, uint32_t a, uint32_t b, uint32_t c, void* normal) {
  const VertexRecord* p1 = VertexAt(chart, a);
  const VertexRecord* p2 = VertexAt(chart, b);
  const VertexRecord* p3 = VertexAt(chart, c);
  if (p1 && p2 && p3) {
    FaceNormal(*p1, *p2, *p3, normal);
    return;
  }
  const float none[3] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::quiet_NaN()};
  std::memcpy(normal, none, sizeof none);
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

void LightDirection(uint16_t degreesX, uint16_t degreesY, void* light) {
  const double x = std::cos(degreesX * kPi / 180);
  const double y = std::cos(degreesY * kPi / 180);
  const double length = std::sqrt(x * x + y * y + 1);
  const float unit[3] = {static_cast<float>(x / length), static_cast<float>(y / length),
                         static_cast<float>(1 / length)};
  std::memcpy(light, unit, sizeof unit);
}

void FaceNormal(const VertexRecord& p1, const VertexRecord& p2, const VertexRecord& p3, void* normal) {
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
  const float unit[3] = {static_cast<float>(nx / length), static_cast<float>(ny / length),
                         static_cast<float>(nz / length)};
  std::memcpy(normal, unit, sizeof unit);
}

void ComputeNormals(ChartCanvas& canvas, uint8_t pass) {
  ChartRecord& chart = canvas.chart;
  // Planes and axis records by their first three vertices.
  for (PlaneRecord& plane : canvas.layout.planes)
    if (plane.present)
      NormalOf(chart, plane.firstVertex, plane.firstVertex + 1, plane.firstVertex + 2, plane.normal);
  for (int k = 0; k < canvas.axes.count; ++k) {
    AxisRecord& axis = canvas.axes.records[k];
    NormalOf(chart, axis.firstVertex, axis.firstVertex + 1, axis.firstVertex + 2, axis.normal);
  }
  const uint32_t count = chart.faces.Count();
  for (uint32_t i = 0; i < count; ++i) {
    FaceRecord* face = FaceAt(chart, i);
    NormalOf(chart, face->a, face->b, face->c, pass == kShadingNormals ? face->shadeNormal : face->viewNormal);
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
