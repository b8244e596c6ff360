#include "charts/frame/chart_planes.h"

#include "charts/frame/grid_positions.h"
#include "charts/series/chart_errors.h"
#include "charts/series/series_selection.h"

namespace {

enum GridLineKind : int {
  kMajorLine,
  kMinorLine,
  kUserLine,
};

struct Point3 {
  float x;
  float y;
  float z;
};

bool AppendPoint(ChartRecord& chart, const Point3& p) { return AppendVertex(chart, p.x, p.y, p.z); }

bool AppendPair(ChartRecord& chart, const Point3& a, const Point3& b) {
  return AppendPoint(chart, a) && AppendPoint(chart, b);
}

// The lines of one series' grid on one plane.
struct GridWalk {
  ChartRecord& chart;
  uint8_t wall;
  bool runsVertically;  // XY wall only
  int kind;
  float width;
  float height;
  float depth;
  float side;  // x of the YZ wall
  uint32_t lines;
};

// Minor lines stop one unit short of both ends, and on the YZ wall user
// lines do as well.
bool AddGridLine(void* context, float p) {
  GridWalk& g = *static_cast<GridWalk*>(context);
  const float x = p * g.width;
  const float y = p * g.height;
  const bool inset = g.kind == kMinorLine || (g.kind == kUserLine && g.wall == kWallYZ);
  const float in = inset ? 1.0f : 0.0f;
  bool ok;
  switch (g.wall) {
    case kWallXY:
      ok = g.runsVertically ? AppendPair(g.chart, {in, y, 0}, {g.width - in, y, 0})
                            : AppendPair(g.chart, {x, in, 0}, {x, g.height - in, 0});
      break;
    case kWallYZ:
      ok = inset ? AppendPair(g.chart, {g.side, y, 1}, {g.side, y, g.depth - 1})
                 : AppendPair(g.chart, {g.side, y, g.depth}, {g.side, y, 0});
      break;
    default:
      ok = AppendPair(g.chart, {x, 0, in}, {x, 0, g.depth - in});
      break;
  }
  if (ok)
    ++g.lines;
  return ok;
}

bool AddSeriesGrid(ChartCanvas& canvas, GridWalk walk, int series) {
  ChartRecord& chart = canvas.chart;
  if (canvas.layout.gridCount >= kMaxGridRecords) {
    chart.error = kChartOutOfMemory;
    return false;
  }
  GridRecord& record = canvas.layout.grids[canvas.layout.gridCount++];
  record = {walk.wall, static_cast<uint8_t>(series), chart.vertices.Count(), 0, 0, 0};
  const SeriesRecord& s = chart.series[series];
  // Minor lines come only with the major ones, whatever their own style.
  if (s.majorGrid.style != 0) {
    walk.kind = kMajorLine;
    const uint32_t slots = AxisSlots(walk.width, walk.height, walk.depth);
    if (!VisitMajorPositions(chart, series, slots, AddGridLine, &walk))
      return false;
    record.majorLines = walk.lines;
    walk.lines = 0;
    walk.kind = kMinorLine;
    if (!VisitMinorPositions(chart, series, slots, AddGridLine, &walk))
      return false;
    record.minorLines = walk.lines;
  }
  walk.kind = kUserLine;
  const int userCount = s.userGridCount < kSeriesUserGridLines ? s.userGridCount : kSeriesUserGridLines;
  for (int k = 0; k < userCount; ++k) {
    float p;
    if (!UserLinePosition(chart, series, k, &p))
      continue;
    if (!AddGridLine(&walk, p))
      return false;
    record.userLines = static_cast<uint16_t>(record.userLines | (1u << k));
  }
  return true;
}

// Clears the plane record and appends its four corners.
bool StartPlane(ChartCanvas& canvas, int slot, uint8_t visible, const Point3 (&corners)[4]) {
  PlaneRecord& plane = canvas.layout.planes[slot];
  plane = {};
  plane.firstVertex = canvas.chart.vertices.Count();
  for (const Point3& corner : corners)
    if (!AppendPoint(canvas.chart, corner))
      return false;
  plane.present = 1;
  plane.visible = visible;
  return true;
}

// One line in depth before each unstacked data series but the first.
bool AddDepthSeparators(ChartCanvas& canvas, int slot, Point3 from, Point3 to, float depth) {
  SeriesList data;
  const int n = CollectSeries(canvas.chart, &data, kSeriesData);
  for (int i = 1; i < n; ++i) {
    if (canvas.chart.series[data.index[i]].stacked)
      continue;
    from.z = to.z = i * depth / n;
    if (!AppendPair(canvas.chart, from, to))
      return false;
    ++canvas.layout.planes[slot].extraLines;
  }
  return true;
}

bool AddGrids(ChartCanvas& canvas, const GridWalk& walk, uint8_t role) {
  const int used = canvas.chart.UsedSeriesCount();
  for (int i = 0; i < used; ++i)
    if (canvas.chart.series[i].role == role && !AddSeriesGrid(canvas, walk, i))
      return false;
  return true;
}

}  // namespace

float DepthSlots(const ChartRecord& chart, float width, float height, int which) {
  if (chart.Kind() != kChart3D)
    return 0;
  SeriesList data;
  const int n = CollectSeries(chart, &data, kSeriesData);
  if (n > 0 && chart.series[data.index[0]].viewType == kViewPie3D)
    return width < height ? width : height;
  int unstacked = 0;
  for (int i = 0; i < n; ++i)
    if (!chart.series[data.index[i]].stacked) ++unstacked;
  const uint32_t largest = LargestDataPointCount(chart);
  const float slots = largest < 2 ? 1.0f : static_cast<float>(largest);
  return (unstacked + 1) * ((which != 0 ? width : height) / slots);
}

bool BuildPlaneXY(ChartCanvas& canvas, int32_t width, int32_t height) {
  ChartRecord& chart = canvas.chart;
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  if (!StartPlane(canvas, kPlaneXY, chart.options.planeXY, {{0, 0, 0}, {w, 0, 0}, {w, h, 0}, {0, h, 0}}))
    return false;
  const bool bars = HasDataSeriesOfType(chart, kViewBar, kViewBar);
  for (int i = 0; i < chart.UsedSeriesCount(); ++i) {
    const uint8_t role = chart.series[i].role;
    if (role == kSeriesErrorBars)
      continue;
    const bool other = role == kSeriesXValues || role == kSeriesCategories;
    const bool vertical = (role == kSeriesData && !bars) || (other && bars);
    if (!AddSeriesGrid(canvas, {chart, kWallXY, vertical, kMajorLine, w, h, 0, 0, 0}, i))
      return false;
  }
  return true;
}

bool BuildPlaneYZ(ChartCanvas& canvas, int32_t width, int32_t height) {
  ChartRecord& chart = canvas.chart;
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  const float d = DepthSlots(chart, w, h, 1);
  const bool barSide = HasDataSeriesOfType(chart, kViewBar3D, kViewBar3D);
  const float x0 = barSide ? w : 0;
  const bool started = barSide ? StartPlane(canvas, kPlaneYZ, chart.options.planeYZ,
                                            {{w, 0, 0}, {w, 0, d}, {w, h, d}, {w, h, 0}})
                               : StartPlane(canvas, kPlaneYZ, chart.options.planeYZ,
                                            {{0, 0, 0}, {0, h, 0}, {0, h, d}, {0, 0, d}});
  return started && AddDepthSeparators(canvas, kPlaneYZ, {x0, 0, 0}, {x0, h, 0}, d) &&
         AddGrids(canvas, {chart, kWallYZ, false, kMajorLine, w, h, d, x0, 0}, kSeriesData);
}

bool BuildPlaneXZ(ChartCanvas& canvas, int32_t width, int32_t height) {
  ChartRecord& chart = canvas.chart;
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  const float d = DepthSlots(chart, w, h, 1);
  return StartPlane(canvas, kPlaneXZ, chart.options.planeXZ, {{0, 0, 0}, {0, 0, d}, {w, 0, d}, {w, 0, 0}}) &&
         AddDepthSeparators(canvas, kPlaneXZ, {0, 0, 0}, {w, 0, 0}, d) &&
         AddGrids(canvas, {chart, kWallXZ, false, kMajorLine, w, h, d, 0, 0}, kSeriesXValues);
}
