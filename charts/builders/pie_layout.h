#ifndef TALVERO_CHARTS_BUILDERS_PIE_LAYOUT_H
#define TALVERO_CHARTS_BUILDERS_PIE_LAYOUT_H

// The rules a flat and a 3D pie share: which values make the slices and
// their total, the radius left beside the labels, and the steps an arc is
// walked in (the slices' fills: slice_fill.h).

#include <cstdint>

#include "core/model/chart_record.h"

// The pie takes the values of the sign of its first signed usable point:
// every usable point of the other sign is marked cut (flag 8) and left out
// from then on. Returns the sum of the magnitudes of the values kept (zero
// values add nothing).
double ClassifyPieValues(ChartRecord& chart, int series);

// min(width, height) / 2 less the line unit and the label room, at least
// 10 pixels; then less its PieSplit percent, again at least 10: the slice
// radius.
float SliceRadius(float width, float height, uint32_t lineUnit, float labelRoom, uint8_t pieSplit);

constexpr double kPiePi = 3.14159265358979323846;
// An arc is walked in steps of 2 pi / 110.
constexpr double kArcStep = 0.05711986642890527;

// The number of steps of the arc from a0 to a1: the last one ends at a1. A
// step that ends within a hair of a1 is the last: 110 steps of a whole turn
// fall short of 2 pi by rounding alone.
uint32_t ArcStepCount(double a0, double a1);

#endif
