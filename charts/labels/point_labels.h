#ifndef TALVERO_CHARTS_LABELS_POINT_LABELS_H
#define TALVERO_CHARTS_LABELS_POINT_LABELS_H

// Writing the data-point labels that the builders placed, and measuring the
// labels a series would show so that a pie leaves room for them.

#include <cstdint>

#include "charts/frame/chart_canvas.h"

// The labels of the series' label list in its label font and colour at the
// chart's vertical zoom, transparently, the category texts taken from the
// related series (kNoSeries for none). Nothing for a series that is not a
// data series, shows no labels or has none placed; a dropped label or one
// whose vertices are gone is passed over.
void DrawPointLabels(ChartCanvas& canvas, int series, int related);

// The width of the widest and the height of the tallest label the series
// would show at its points that are neither cut nor missing; both 0 when it
// shows none.
void MeasurePointLabels(ChartCanvas& canvas, int series, int related, int32_t* width, int32_t* height);

#endif
