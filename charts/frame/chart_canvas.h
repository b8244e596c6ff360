#ifndef TALVERO_CHARTS_FRAME_CHART_CANVAS_H
#define TALVERO_CHARTS_FRAME_CHART_CANVAS_H

// A chart while it is prepared or drawn: the chart, the surface it measures
// and draws on, and its prepared state. The frame, the builders and the
// scene work on it; the chart keeps the state between the two steps.

#include <cstdint>

#include "charts/frame/chart_layout.h"
#include "core/model/chart_record.h"
#include "view/painting/paint_surface.h"

struct ChartCanvas {
  ChartRecord& chart;
  const PaintSurface& surface;
  ChartLayout layout;
  AxisTable axes;
};

// Device coordinates stay within what the device can address.
constexpr int32_t kMaxDeviceCoordinate = 0x7FFFFFF;

// Appends a vertex with model values (view values 0); false with error 27
// when the list cannot grow.
bool AppendVertex(ChartRecord& chart, float x, float y, float z);
VertexRecord* VertexAt(ChartRecord& chart, uint32_t i);
const VertexRecord* VertexAt(const ChartRecord& chart, uint32_t i);

// Every vertex's view values set to its model values, as a flat chart
// projects them.
void CopyModelToView(ChartRecord& chart);

// A point of the plot in device pixels before it is drawn.
struct PlotPoint {
  float x;
  float y;
};

// A coordinate as a device pixel: truncated toward zero, saturated at the
// device's range; false for a coordinate that is not a number, which must
// not be drawn.
bool ToDevicePixel(double value, int32_t* pixel);
// The vertex's view x and y as a device point.
bool DevicePoint(const VertexRecord& vertex, PixelPoint* point);
bool DevicePoint(PlotPoint p, PixelPoint* point);

// The line unit's tick length and label gap at the chart's zoom.
int32_t TickLength(const ChartRecord& chart);
int32_t LabelGap(const ChartRecord& chart);

#endif
