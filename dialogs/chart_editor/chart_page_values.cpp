#include "dialogs/chart_editor/chart_page_values.h"

#include <cstring>

#include "dialogs/chart_editor/page_numbers.h"

namespace {

constexpr uint16_t kPerspectiveSteps[kPerspectivePositions] = {5, 7, 9, 11, 13, 15, 20, 25, 30, 40, 50, 60};
constexpr double kDegreesToRadians = 3.14159265358979323846 / 180.0;

int ClampLamp(int position) { return position < 0 ? 0 : position > kLampMaximum ? kLampMaximum : position; }

}  // namespace

void LoadWallsPage(const ChartRecord& chart, WallsPageValues* values) {
  std::memset(values, 0, sizeof *values);
  values->fill = chart.options.wallFill;
  values->border = chart.options.wallBorder;
  values->planeXY = chart.options.planeXY != 0;
  if (chart.Kind() == kChart3D) {
    values->planeYZ = chart.options.planeYZ != 0;
    values->planeXZ = chart.options.planeXZ != 0;
  }
  FormatPageInteger(chart.options.viewWidth, values->widthText, sizeof values->widthText);
  FormatPageInteger(chart.options.viewHeight, values->heightText, sizeof values->heightText);
}

int StoreWallsPage(const WallsPageValues& values, ChartRecord* chart) {
  int width = 0;
  int height = 0;
  if (!ParsePageInteger(values.widthText, kViewSizeMinimum, kViewSizeMaximum, &width))
    return kWallsWidthField;
  if (!ParsePageInteger(values.heightText, kViewSizeMinimum, kViewSizeMaximum, &height))
    return kWallsHeightField;
  ChartOptions& options = chart->options;
  options.wallBorder = values.border;
  options.wallFill = values.fill;
  options.planeXY = values.planeXY ? 1 : 0;
  if (chart->Kind() == kChart3D) {
    options.planeYZ = values.planeYZ ? 1 : 0;
    options.planeXZ = values.planeXZ ? 1 : 0;
  }
  options.viewWidth = static_cast<uint8_t>(width);
  options.viewHeight = static_cast<uint8_t>(height);
  return kPageStored;
}

uint8_t LegendByte(LegendChoice choice) {
  if (choice.position <= 0 || choice.position >= kLegendPositions)
    return 0;
  return static_cast<uint8_t>(2 * choice.position - (choice.expandWidth ? 0 : 1));
}

LegendChoice LegendChoiceOfByte(uint8_t legend) {
  if (legend < 1 || legend > 8)
    return LegendChoice{0, false};
  return LegendChoice{(legend + 1) / 2, legend % 2 == 0};
}

void LoadLegendPage(const ChartRecord& chart, LegendPageValues* values) {
  const ChartOptions& options = chart.options;
  CopyPageText(options.titleText, values->title, sizeof values->title);
  CopyPageText(options.subtitleText, values->subtitle, sizeof values->subtitle);
  values->titleFont = options.titleFont;
  values->subtitleFont = options.subtitleFont;
  values->legendFont = options.legendFont;
  values->legend = LegendChoiceOfByte(options.legend);
}

void StoreLegendPage(const LegendPageValues& values, ChartRecord* chart) {
  ChartOptions& options = chart->options;
  CopyPageText(values.title, options.titleText, sizeof options.titleText);
  CopyPageText(values.subtitle, options.subtitleText, sizeof options.subtitleText);
  options.titleFont = values.titleFont;
  options.subtitleFont = values.subtitleFont;
  options.legendFont = values.legendFont;
  options.legend = LegendByte(values.legend);
}

uint16_t PerspectiveStep(int position) {
  if (position < 1)
    position = 1;
  if (position > kPerspectivePositions)
    position = kPerspectivePositions;
  return kPerspectiveSteps[position - 1];
}

int PerspectivePosition(uint16_t perspective) {
  for (int position = 1; position <= kPerspectivePositions; ++position)
    if (kPerspectiveSteps[position - 1] >= perspective)
      return position;
  return kPerspectivePositions;
}

OptionsPageValues DefaultOptionsPage() { return OptionsPageValues{true, kDefaultPerspectivePosition, 80, 100}; }

void LoadOptionsPage(const ChartRecord& chart, OptionsPageValues* values) {
  *values = DefaultOptionsPage();
  const ChartOptions& options = chart.options;
  if (options.perspective == 0 || options.perspective >= kNoPerspective) {
    values->perspectiveOn = false;
    values->perspectivePosition = kDefaultPerspectivePosition;
  } else {
    values->perspectivePosition = PerspectivePosition(options.perspective);
  }
  values->lampHorizontal = kLampMaximum - ClampLamp(options.lightDirectionX);
  values->lampVertical = kLampMaximum - ClampLamp(options.lightDirectionY);
}

void StoreOptionsPage(const OptionsPageValues& values, ChartRecord* chart) {
  ChartOptions& options = chart->options;
  options.perspective = values.perspectiveOn ? PerspectiveStep(values.perspectivePosition) : kNoPerspective;
  options.lightDirectionX = static_cast<uint16_t>(kLampMaximum - ClampLamp(values.lampHorizontal));
  options.lightDirectionY = static_cast<uint16_t>(kLampMaximum - ClampLamp(values.lampVertical));
}

void RotateChartView(ChartRecord* chart, int axis, int degrees) {
  static const int kKinds[3] = {kRotateAboutX, kRotateAboutY, kRotateAboutZ};
  if (axis < 0 || axis > 2)
    return;
  const double radians = degrees * kDegreesToRadians;
  ChartRecord::Transform(chart->viewMatrix, kKinds[axis], axis == 2 ? radians : -radians);
}
