#include "charts/frame/draw_axis_labels.h"

#include <cmath>
#include <cstring>

#include "charts/frame/axis_labels.h"
#include "charts/frame/axis_position.h"
#include "charts/frame/axis_records.h"
#include "charts/frame/chart_colours.h"
#include "charts/frame/draw_frame.h"
#include "view/draw_context/text_placement.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Alignment {
  int horizontal;
  int vertical;
};

enum LabelPlace : int {
  kFirstLabel = 0,
  kLastLabel = 1,
  kMiddleLabel = 2,
};

// By side (left, right, top, bottom), place and vertical text.
constexpr Alignment kLabelAlignment[4][3][2] = {
    {{{3, 6}, {1, 7}}, {{3, 4}, {3, 7}}, {{3, 5}, {2, 7}}},
    {{{1, 6}, {1, 4}}, {{1, 4}, {3, 4}}, {{1, 5}, {2, 4}}},
    {{{1, 7}, {1, 4}}, {{3, 7}, {1, 6}}, {{2, 7}, {1, 5}}},
    {{{1, 4}, {3, 4}}, {{3, 4}, {3, 6}}, {{2, 4}, {3, 5}}},
};
constexpr Alignment kTitleAlignment[4][2] = {{{1, 5}, {2, 4}}, {{1, 5}, {2, 7}}, {{2, 4}, {3, 6}}, {{2, 7}, {1, 6}}};

int SideIndex(uint8_t code) {
  switch (code) {
    case kAxisLeft:
    case kAxisLeft3D: return 0;
    case kAxisRight:
    case kAxisRight3D: return 1;
    case kAxisTop: return 2;
    default: return 3;
  }
}

// How the texts of one axis are set: the font turned with the axis and the
// offset from their anchors.
struct AxisText {
  ChartCanvas& canvas;
  const AxisRecord& axis;
  const SeriesRecord& series;
  bool vertical;
  double angle;  // of the axis
  double textAngle;  // whole degrees, in radians
  double sine;
  double cosine;
  int side;  // -1 left or top, +1 right or bottom
  const VertexRecord* start;
  const VertexRecord* end;

  // The text is set vertically when the series' axis flags hold verticalFlag.
  AxisText(ChartCanvas& c, const AxisRecord& a, uint16_t verticalFlag)
      : canvas(c), axis(a), series(c.chart.series[a.series]),
        vertical((c.chart.series[a.series].axisFlags & verticalFlag) != 0), angle(0), textAngle(0),
        sine(0), cosine(0), side(AxisSide(a.position)), start(VertexAt(c.chart, AxisStartVertex(a))),
        end(VertexAt(c.chart, AxisEndVertex(a))) {}

  // Selects the colour and the turned font; false when the axis has no line.
  bool Begin() {
    if (!start || !end)
      return false;
    angle = AxisAngle(*start, *end);
    sine = std::sin(angle);
    cosine = std::cos(angle);
    const bool sideAxis = IsSideAxis(axis.position);
    const double turn = sideAxis ? (vertical ? 0 : -kPi / 2) : (vertical ? kPi / 2 : 0);
    const double degrees = (angle + turn) * 180 / kPi;
    if (!(std::fabs(degrees) < 1e6))
      return false;
    const long whole = std::lround(degrees);
    textAngle = whole * kPi / 180;
    canvas.surface.SetTextColor(TextColour(series.axisTitleFont));
    canvas.surface.SetBkMode(1);
    canvas.surface.SelectFont(series.axisTitleFont.font, static_cast<int16_t>(whole), canvas.chart.zoomY);
    return true;
  }

  // Draws the text at (x, y) moved by distance outward from the axis.
  void Draw(const char* text, double x, double y, double distance, Alignment align) {
    int32_t px;
    int32_t py;
    if (!ToDevicePixel(x + side * distance * sine, &px) || !ToDevicePixel(y + side * distance * cosine, &py))
      return;
    canvas.surface.SetTextAlign(align.horizontal, align.vertical);
    canvas.surface.DrawText(px, py, text, std::strlen(text), textAngle);
  }

  // Labels stand half a line unit off the axis where their height lies
  // across it, a whole one where their width does.
  double LabelDistance() const {
    const bool half = IsSideAxis(axis.position) == vertical;
    return (half ? 0.5 : 1.0) * canvas.chart.lineUnit;
  }
};

}  // namespace

double AxisAngle(const VertexRecord& a, const VertexRecord& b) {
  double t = std::atan2(-(static_cast<double>(b.viewY) - a.viewY), static_cast<double>(b.viewX) - a.viewX);
  if (t < 0)
    t += 2 * kPi;
  return t;
}

void DrawAxisLabels(ChartCanvas& canvas, const AxisRecord& axis) {
  AxisText out(canvas, axis, kAxisLabelsVertical);
  if (!ShowsAxisLabels(out.series) || !out.Begin())
    return;
  const double distance = out.LabelDistance();
  const bool vertical = out.vertical;
  const Alignment(&align)[3][2] = kLabelAlignment[SideIndex(axis.position)];
  char text[kAxisLabelSize];
  if (AxisLabelText(canvas.chart, axis.series, 0, text, sizeof text))
    out.Draw(text, out.start->viewX, out.start->viewY, distance, align[kFirstLabel][vertical]);
  const uint32_t firstTick = axis.firstVertex + 4;
  uint32_t tick = 0;
  for (uint32_t i = 1; i <= axis.majorTicks && tick < axis.majorTicks; ++i) {
    if (!AxisLabelText(canvas.chart, axis.series, i, text, sizeof text) || text[0] == '\0')
      continue;
    const VertexRecord* anchor = VertexAt(canvas.chart, firstTick + 2 * tick++);
    if (anchor)
      out.Draw(text, anchor->viewX, anchor->viewY, distance, align[kMiddleLabel][vertical]);
  }
  if (AxisLabelText(canvas.chart, axis.series, out.series.periods, text, sizeof text))
    out.Draw(text, out.end->viewX, out.end->viewY, distance, align[kLastLabel][vertical]);
}

void DrawCategoryLabels(ChartCanvas& canvas, const AxisRecord& axis) {
  AxisText out(canvas, axis, kAxisLabelsVertical);
  if (out.series.role != kSeriesCategories || !ShowsAxisLabels(out.series) || !out.Begin())
    return;
  const double distance = out.LabelDistance();
  const Alignment align = kLabelAlignment[SideIndex(axis.position)][kMiddleLabel][out.vertical];
  const VertexRecord* previous = out.start;
  for (uint32_t i = 0; i < out.series.periods; ++i) {
    char text[kAxisLabelSize];
    if (!AxisLabelText(canvas.chart, axis.series, i, text, sizeof text) || text[0] == '\0')
      break;
    const VertexRecord* next = i < axis.majorTicks ? VertexAt(canvas.chart, axis.firstVertex + 4 + 2 * i) : out.end;
    if (!next)
      break;
    out.Draw(text, (previous->viewX + static_cast<double>(next->viewX)) / 2,
             (previous->viewY + static_cast<double>(next->viewY)) / 2, distance, align);
    previous = next;
  }
}

void DrawAxisTitle(ChartCanvas& canvas, const AxisRecord& axis) {
  const SeriesRecord& s = canvas.chart.series[axis.series];
  const size_t length = strnlen(s.axisTitleText, sizeof s.axisTitleText);
  if (!ShowsAxisTitle(s) || length == 0)
    return;
  AxisText out(canvas, axis, kAxisTitleVertical);
  if (!out.Begin())
    return;
  char title[kSeriesTextSize + 1];
  std::memcpy(title, s.axisTitleText, length);
  title[length] = '\0';
  out.Draw(title, (out.start->viewX + static_cast<double>(out.end->viewX)) / 2,
           (out.start->viewY + static_cast<double>(out.end->viewY)) / 2, axis.extent,
           kTitleAlignment[SideIndex(axis.position)][out.vertical]);
}

void DrawAxis(ChartCanvas& canvas, const AxisRecord& axis) {
  DrawAxisLine(canvas, axis);
  if (canvas.chart.series[axis.series].role == kSeriesCategories)
    DrawCategoryLabels(canvas, axis);
  else
    DrawAxisLabels(canvas, axis);
  DrawAxisTitle(canvas, axis);
}
