#ifndef TALVERO_DIALOGS_CHART_EDITOR_CHART_PAGE_VALUES_H
#define TALVERO_DIALOGS_CHART_EDITOR_CHART_PAGE_VALUES_H

// What the chart editor's "Walls/Size", "Titles/Legend" and "3D Options"
// pages show of a chart, and how their values go back into it. The pages
// only move these values between the record and their controls; a store
// takes only values that the workbook files take back.

#include <cstdint>

#include "core/model/chart_record.h"
#include "dialogs/chart_editor/page_numbers.h"

// "Walls/Size".
constexpr int kViewSizeMinimum = 1;  // a plot of 0 percent has no size to divide by
constexpr int kViewSizeMaximum = 100;
enum WallsPageField : int { kWallsWidthField = 1, kWallsHeightField = 2 };

struct WallsPageValues {
  FillRecord fill;
  BorderLine border;
  bool planeXY;
  bool planeYZ;  // 3D charts only
  bool planeXZ;  // the floor, 3D charts only
  char widthText[8];
  char heightText[8];
};

void LoadWallsPage(const ChartRecord& chart, WallsPageValues* values);
// kPageStored, or the size field that holds no whole number 1..100 (the
// chart is then unchanged).
int StoreWallsPage(const WallsPageValues& values, ChartRecord* chart);

// "Titles/Legend". Positions 0 "No legend", 1 "Left", 2 "Top", 3 "Right",
// 4 "Bottom"; a legend grows along one edge, in width or in height.
constexpr int kLegendPositions = 5;

struct LegendChoice {
  int position;
  bool expandWidth;
};

// The legend byte: 0 without a legend, 2p - 1 for position p grown in
// height, 2p for it grown in width.
uint8_t LegendByte(LegendChoice choice);
// A byte outside 1..8 shows no legend, grown in height.
LegendChoice LegendChoiceOfByte(uint8_t legend);

struct LegendPageValues {
  char title[kChartTitleSize];
  char subtitle[kChartTitleSize];
  ColorFontRecord titleFont;
  ColorFontRecord subtitleFont;
  ColorFontRecord legendFont;
  LegendChoice legend;
};

void LoadLegendPage(const ChartRecord& chart, LegendPageValues* values);
void StoreLegendPage(const LegendPageValues& values, ChartRecord* chart);

// "3D Options". The perspective slider's positions 1..12 stand for these
// steps; no perspective is stored as 100.
constexpr int kPerspectivePositions = 12;
constexpr uint16_t kNoPerspective = 100;
constexpr int kDefaultPerspectivePosition = 10;
constexpr int kLampMaximum = 180;

// The step of a slider position, clamped to 1..12.
uint16_t PerspectiveStep(int position);
// The first position whose step is not below the perspective; 12 when every
// step is.
int PerspectivePosition(uint16_t perspective);

struct OptionsPageValues {
  bool perspectiveOn;
  int perspectivePosition;  // 1..12
  int lampHorizontal;       // 0 "Left" .. 180 "Right"
  int lampVertical;         // 0 "Low" .. 180 "High"
};

// The controls' defaults, shown for any chart but a 3D one.
OptionsPageValues DefaultOptionsPage();
void LoadOptionsPage(const ChartRecord& chart, OptionsPageValues* values);
void StoreOptionsPage(const OptionsPageValues& values, ChartRecord* chart);

// One step of a rotation spin turns the view matrix by `degrees` about the
// first (axis 0), second (1) or third (2) axis: the first two against the
// step, the third with it.
void RotateChartView(ChartRecord* chart, int axis, int degrees);

#endif
