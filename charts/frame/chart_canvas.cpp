#include "charts/frame/chart_canvas.h"

#include "charts/series/chart_errors.h"

bool AppendVertex(ChartRecord& chart, float x, float y, float z) {
  const VertexRecord vertex = {0, x, 0, y, 0, z};
  if (chart.vertices.Append(&vertex))
    return true;
  chart.error = kChartOutOfMemory;
  return false;
}

VertexRecord* VertexAt(ChartRecord& chart, uint32_t i) {
  return reinterpret_cast<VertexRecord*>(chart.vertices.At(i));
}

const VertexRecord* VertexAt(const ChartRecord& chart, uint32_t i) {
  return reinterpret_cast<const VertexRecord*>(chart.vertices.At(i));
}

void CopyModelToView(ChartRecord& chart) {
  const uint32_t count = chart.vertices.Count();
  for (uint32_t i = 0; i < count; ++i) {
    VertexRecord* v = VertexAt(chart, i);
    v->viewX = v->modelX;
    v->viewY = v->modelY;
    v->viewZ = v->modelZ;
  }
}

bool ToDevicePixel(double value, int32_t* pixel) {
  if (value != value)
    return false;
  if (value >= kMaxDeviceCoordinate)
    *pixel = kMaxDeviceCoordinate;
  else if (value <= -kMaxDeviceCoordinate)
    *pixel = -kMaxDeviceCoordinate;
  else
    *pixel = static_cast<int32_t>(value);
  return true;
}

bool DevicePoint(const VertexRecord& vertex, PixelPoint* point) {
  return ToDevicePixel(vertex.viewX, &point->x) && ToDevicePixel(vertex.viewY, &point->y);
}

bool DevicePoint(PlotPoint p, PixelPoint* point) {
  return ToDevicePixel(p.x, &point->x) && ToDevicePixel(p.y, &point->y);
}

int32_t TickLength(const ChartRecord& chart) {
  const int32_t zoom = chart.zoomX > chart.zoomY ? chart.zoomX : chart.zoomY;
  return zoom * 10 / 100;
}

int32_t LabelGap(const ChartRecord& chart) { return chart.lineUnit > 0 ? static_cast<int32_t>(chart.lineUnit) - 1 : 0; }
