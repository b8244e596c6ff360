#ifndef TALVERO_CHARTS_BUILDERS_BUILDER_STEPS_H
#define TALVERO_CHARTS_BUILDERS_BUILDER_STEPS_H

// The steps every 2D builder shares: finding its plot box and category
// count with its label lists emptied, and writing the labels at the end;
// and what several draw with: the base columns rise from, the tools of a
// filled shape, polygons and lines.

#include <cstdint>

#include "charts/frame/chart_canvas.h"
#include "charts/series/series_selection.h"

struct PlotBox;

// What a 2D builder draws in its plot box for its series, the number of
// categories being their largest point count; the option is the builder's
// own (bars rather than columns, XY rather than scatter). False when it
// fails.
using PlotBuilderBody = bool (*)(ChartCanvas& canvas, const SeriesList& list, const PlotBox& box,
                                 uint32_t categories, bool option);

// The steps around every 2D builder's own: false at once without an XY
// wall; the series' label lists emptied; nothing more when no series has
// points; the body; and at the end the labels of every series given that
// shows labels, in list order, their categories from each one's related
// series.
bool RunPlotBuilder(ChartCanvas& canvas, const SeriesList& list, PlotBuilderBody body, bool option);

// The normalised value a plain column or bar rises from: the value 0 when
// the series has values of both signs (false when it has no position), else
// the axis end its values lie beyond.
bool ColumnBase(const SeriesRecord& series, float* base);
// A stack's base, taken from the first series of the group: the value 0
// when it has negative values (false when it has no position), else 0.
bool StackBase(const SeriesRecord& first, float* base);

// The brush of the series' fill and a pen of the style in its fill colour 1.
void SelectSeriesFill(const PaintSurface& surface, const SeriesRecord& series, uint8_t penStyle);
// Columns and bars are outlined on the screen, not on a printer.
uint8_t ColumnOutline(const PaintSurface& surface);

// A polygon of the corners, each truncated toward zero; nothing when a
// corner is not a number.
void DrawPlotPolygon(const PaintSurface& surface, const PlotPoint* corners, int count);

// A segment between two points, truncated the same way.
void DrawPlotLine(const PaintSurface& surface, PlotPoint from, PlotPoint to);

#endif
