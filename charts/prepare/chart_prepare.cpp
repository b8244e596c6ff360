#include "charts/prepare/chart_prepare.h"

#include "charts/3d/scene_3d.h"
#include "charts/builders/chart_builders.h"
#include "charts/frame/axis_records.h"
#include "charts/frame/chart_planes.h"
#include "charts/frame/draw_axis_labels.h"
#include "charts/frame/draw_frame.h"
#include "charts/prepare/builder_plan.h"
#include "charts/prepare/chart_legend.h"
#include "charts/prepare/chart_titles.h"
#include "charts/prepare/plot_layout.h"
#include "charts/series/chart_errors.h"
#include "charts/series/series_selection.h"

namespace {

int32_t SlotWidth(const PixelRect& slot) { return slot.right - slot.left + 1; }
int32_t SlotHeight(const PixelRect& slot) { return slot.bottom - slot.top + 1; }

bool PreparedFor(const ChartRecord& chart, const PixelRect& slot, uint16_t zoomX, uint16_t zoomY, bool printing) {
  ChartLayout layout;
  AxisTable axes;
  LoadLayout(chart, &layout, &axes);
  return layout.slotWidth == SlotWidth(slot) && layout.slotHeight == SlotHeight(slot) && chart.zoomX == zoomX &&
         chart.zoomY == zoomY && (layout.printing != 0) == printing;
}

// Titles, legend, axis labels and the plot size.
void LayOutSlot(ChartCanvas& canvas, const PixelRect& slot, bool axisLabels) {
  LayoutTitles(canvas, slot, true);
  LayoutLegend(canvas, slot, true);
  if (axisLabels)
    ReserveAxisLabels(canvas);
  int32_t width = 0;
  int32_t height = 0;
  PlotSize(canvas, slot, &width, &height);
  canvas.layout.plotWidth = width;
  canvas.layout.plotHeight = height;
}

bool BuildGeometry(ChartCanvas& canvas, const PixelRect& slot) {
  ChartRecord& chart = canvas.chart;
  if (chart.Kind() != kChart3D) {
    LayOutSlot(canvas, slot, true);
    const int32_t w = canvas.layout.plotWidth;
    const int32_t h = canvas.layout.plotHeight;
    return BuildPlaneXY(canvas, w, h) && BuildAxes(canvas, w, h);
  }
  SeriesList data;
  if (CollectSeries(chart, &data, kSeriesData) == 0)
    return true;
  const bool pie = chart.series[data.index[0]].viewType == kViewPie3D;
  LayOutSlot(canvas, slot, !pie);
  const int32_t w = canvas.layout.plotWidth;
  const int32_t h = canvas.layout.plotHeight;
  if (!BuildPlaneXY(canvas, w, h) || !BuildPlaneYZ(canvas, w, h) || !BuildPlaneXZ(canvas, w, h) ||
      (!pie && !BuildAxes(canvas, w, h)))
    return false;
  BuilderStep step;
  return !PlanBuilder3D(chart, &step) || RunBuilder3D(canvas, step.builder, step.series);
}

// A preparation that ran out of room keeps none of what it took: pages
// kept for the next one could be most of the memory there is.
bool Fail(ChartRecord& chart) {
  chart.error = kChartOutOfMemory;
  chart.vertices.Free();
  chart.faces.Free();
  return false;
}

void MoveViews(ChartRecord& chart, double x, double y, bool toDevice) {
  const uint32_t count = chart.vertices.Count();
  for (uint32_t i = 0; i < count; ++i) {
    VertexRecord* v = VertexAt(chart, i);
    v->viewX = static_cast<float>(toDevice ? x + v->viewX : v->viewX - x);
    v->viewY = static_cast<float>(y - v->viewY);
  }
}

}  // namespace

bool Prepare(ChartRecord& chart, const PaintSurface& surface, const PixelRect& slot, uint16_t zoomX,
             uint16_t zoomY) {
  if (!(chart.flags & kChartDataLoaded))
    return false;
  const bool printing = surface.IsPrinting();
  // Images and the clipboard draw at their own zoom and printers with their
  // own brushes: a chart prepared for another slot size, zoom or device is
  // laid out again.
  if ((chart.flags & kChartPrepared) && PreparedFor(chart, slot, zoomX, zoomY, printing))
    return true;
  chart.ResetStyles();
  chart.zoomX = zoomX;
  chart.zoomY = zoomY;
  chart.lineUnit = (zoomX > zoomY ? zoomX : zoomY) * 4u / 100;

  ChartCanvas canvas = {chart, surface, {}, {}};
  canvas.layout.slotWidth = SlotWidth(slot);
  canvas.layout.slotHeight = SlotHeight(slot);
  canvas.layout.printing = printing ? 1 : 0;
  canvas.layout.light[2] = 1;
  if (!BuildGeometry(canvas, slot) || !chart.vertices.BuildPageTable() || !chart.faces.BuildPageTable())
    return Fail(chart);
  CentreScene(chart, canvas.layout);
  if (chart.Kind() == kChart3D) {
    if (!PrepareScene3D(canvas))
      return Fail(chart);
  } else {
    CopyModelToView(chart);
  }
  StoreLayout(chart, canvas.layout, canvas.axes);
  chart.flags = static_cast<uint8_t>(chart.flags | kChartPrepared);
  return true;
}

void Draw(ChartRecord& chart, const PixelRect& slot, const PaintSurface& surface) {
  if (!(chart.flags & kChartPrepared))
    return;
  ChartCanvas canvas = {chart, surface, {}, {}};
  LoadLayout(chart, &canvas.layout, &canvas.axes);
  ChartMargins& margins = canvas.layout.margins;
  const double centreX = slot.left + margins.left + canvas.layout.plotWidth * 0.5;
  const double centreY = slot.top + margins.top + canvas.layout.plotHeight * 0.5;
  // The 2D builders place their labels on vertices of their own; dropping
  // them afterwards keeps the scene from growing with every repaint.
  const uint32_t prepared = chart.vertices.Count();
  ToDevice(chart, centreX, centreY);
  if (chart.Kind() == kChart3D)
    Draw3D(canvas);
  else
    Draw2D(canvas, false);
  chart.vertices.Truncate(prepared);
  FromDevice(chart, centreX, centreY);

  // The titles span the plot's width, from the slot's top; the legend then
  // lies below the titles across the whole width, as it was measured.
  const ChartMargins kept = margins;
  margins.top = margins.bottom = 0;
  LayoutTitles(canvas, slot, false);
  margins.left = margins.right = 0;
  LayoutLegend(canvas, slot, false);
  margins = kept;
}

bool Draw2D(ChartCanvas& canvas, bool outline) {
  ChartRecord& chart = canvas.chart;
  SeriesList data;
  const bool pieOnly =
      CollectSeries(chart, &data, kSeriesData) == 1 && chart.series[data.index[0]].viewType == kViewPie;
  if (!pieOnly) {
    DrawPlane(canvas, false, canvas.layout.planes[kPlaneXY], kWallXY, outline);
    for (int k = 0; k < canvas.axes.count; ++k) DrawAxis(canvas, canvas.axes.records[k]);
  }
  BuilderStep steps[kMaxBuilderSteps2D];
  const int count = PlanBuilders2D(chart, steps);
  for (int k = 0; k < count; ++k)
    if (!RunBuilder2D(canvas, steps[k].builder, steps[k].series, outline))
      return false;
  return true;
}

void CentreScene(ChartRecord& chart, const ChartLayout& layout) {
  bool any = false;
  float low[3] = {0, 0, 0};
  float high[3] = {0, 0, 0};
  for (const PlaneRecord& plane : layout.planes) {
    if (!plane.present)
      continue;
    for (uint32_t k = 0; k < 4; ++k) {
      const VertexRecord* v = VertexAt(chart, plane.firstVertex + k);
      if (!v)
        continue;
      const float p[3] = {v->modelX, v->modelY, v->modelZ};
      for (int a = 0; a < 3; ++a) {
        if (!any || p[a] < low[a]) low[a] = p[a];
        if (!any || p[a] > high[a]) high[a] = p[a];
      }
      any = true;
    }
  }
  if (!any)
    return;
  const float centre[3] = {(low[0] + high[0]) / 2, (low[1] + high[1]) / 2, (low[2] + high[2]) / 2};
  const uint32_t count = chart.vertices.Count();
  for (uint32_t i = 0; i < count; ++i) {
    VertexRecord* v = VertexAt(chart, i);
    v->modelX -= centre[0];
    v->modelY -= centre[1];
    v->modelZ -= centre[2];
  }
}

void ToDevice(ChartRecord& chart, double x, double y) { MoveViews(chart, x, y, true); }

void FromDevice(ChartRecord& chart, double x, double y) { MoveViews(chart, x, y, false); }
