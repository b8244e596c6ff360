#include "charts/frame/axis_records.h"

#include <initializer_list>

#include "charts/frame/axis_labels.h"
#include "charts/frame/axis_position.h"
#include "charts/frame/chart_planes.h"
#include "charts/frame/grid_positions.h"

namespace {

bool IsKnownPosition(uint8_t code) {
  switch (code) {
    case kAxisLeft:
    case kAxisRight:
    case kAxisTop:
    case kAxisBottom:
    case kAxisLeft3D:
    case kAxisBottom3D:
    case kAxisRight3D:
      return true;
    default:
      return false;
  }
}

// Codes whose line runs from vertex 3 to vertex 2.
bool StartsAtThirdVertex(uint8_t code) { return code == kAxisLeft || code == kAxisTop || code == kAxisLeft3D; }

// An axis line at coordinate o across the axis; the geometry of its points.
struct AxisWalk {
  ChartRecord& chart;
  uint8_t code;
  float across;  // o
  float tick;    // the length of the ticks being laid out
  float width;
  float height;
  uint32_t pairs;
};

// The point at position p along the axis, moved t towards the plot.
bool AppendAxisPoint(const AxisWalk& a, float p, float t) {
  const float x = p * a.width;
  const float y = p * a.height;
  switch (a.code) {
    case kAxisLeft: return AppendVertex(a.chart, a.across + t, y, 0);
    case kAxisRight: return AppendVertex(a.chart, a.across - t, y, 0);
    case kAxisTop: return AppendVertex(a.chart, x, a.across - t, 0);
    case kAxisBottom: return AppendVertex(a.chart, x, a.across + t, 0);
    case kAxisLeft3D: return AppendVertex(a.chart, 0, y, a.across - t);
    case kAxisBottom3D: return AppendVertex(a.chart, x, 0, a.across - t);
    default: return AppendVertex(a.chart, a.width, y, a.across - t);
  }
}

bool AddTickPair(void* context, float p) {
  AxisWalk& a = *static_cast<AxisWalk*>(context);
  if (!AppendAxisPoint(a, p, 0) || !AppendAxisPoint(a, p, a.tick))
    return false;
  ++a.pairs;
  return true;
}

}  // namespace

uint32_t AxisStartVertex(const AxisRecord& axis) {
  return axis.firstVertex + (StartsAtThirdVertex(axis.position) ? 2 : 1);
}

uint32_t AxisEndVertex(const AxisRecord& axis) {
  return axis.firstVertex + (StartsAtThirdVertex(axis.position) ? 1 : 2);
}

bool BuildAxes(ChartCanvas& canvas, int32_t width, int32_t height) {
  const ChartRecord& chart = canvas.chart;
  for (int i = 0; i < chart.UsedSeriesCount(); ++i) {
    for (int which : {kFirstAxis, kSecondAxis}) {
      if (ShowsAxis(chart.series[i], which) &&
          !BuildAxis(canvas, AxisPosition(chart, chart.series[i], which), width, height, i))
        return false;
    }
  }
  return true;
}

bool BuildAxis(ChartCanvas& canvas, uint8_t code, int32_t width, int32_t height, int series) {
  AxisTable& axes = canvas.axes;
  ChartRecord& chart = canvas.chart;
  if (axes.count >= kMaxAxisRecords || !IsKnownPosition(code))
    return false;
  AxisRecord& record = axes.records[axes.count];
  record = {};
  record.position = code;
  record.series = static_cast<uint8_t>(series);
  record.firstVertex = chart.vertices.Count();
  MeasureAxisLabels(canvas, series, &record);

  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  const float tick = static_cast<float>(TickLength(chart));
  const float step = tick + LabelGap(chart);
  float across;
  switch (code) {
    case kAxisLeft:
    case kAxisBottom: across = -step; break;
    case kAxisRight: across = w + step; break;
    case kAxisTop: across = h + step; break;
    default: across = DepthSlots(chart, w, h, 1) + step; break;
  }
  for (int k = 0; k < axes.count; ++k) {
    const AxisRecord& other = axes.records[k];
    if (other.position != code)
      continue;
    const float out = static_cast<float>(other.extent) + step;
    if (code == kAxisLeft || code == kAxisBottom)
      across -= out;
    else if (IsBoxAxis(code))
      across += 1.4f * out;
    else
      across += out;
  }

  AxisWalk walk = {chart, code, across, tick, w, h, 0};
  const bool startsHigh = StartsAtThirdVertex(code);
  const float near = startsHigh ? 1.0f : 0.0f;
  const float far = startsHigh ? 0.0f : 1.0f;
  if (!AppendAxisPoint(walk, near, tick) || !AppendAxisPoint(walk, near, 0) || !AppendAxisPoint(walk, far, 0) ||
      !AppendAxisPoint(walk, far, tick))
    return false;
  const uint32_t slots = AxisSlots(w, h, DepthSlots(chart, w, h, 1));
  if (!VisitMajorPositions(chart, series, slots, AddTickPair, &walk))
    return false;
  record.majorTicks = walk.pairs;
  walk.pairs = 0;
  walk.tick = tick * 0.5f;
  if (!VisitMinorPositions(chart, series, slots, AddTickPair, &walk))
    return false;
  record.minorTicks = walk.pairs;
  ++axes.count;
  return true;
}
