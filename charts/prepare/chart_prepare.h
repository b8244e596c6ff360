#ifndef TALVERO_CHARTS_PREPARE_CHART_PREPARE_H
#define TALVERO_CHARTS_PREPARE_CHART_PREPARE_H

// A loaded chart is drawn in two steps. Preparing lays it out for a slot
// rectangle, a zoom pair and a kind of device: room for titles, legend and
// axis labels, the plot size, the planes with their grid and the axes as
// vertices around the plot's centre, and for a 3D chart its scene. Drawing
// paints that state at the slot's place: the plot (planes, axes, then the
// series builders in a fixed order) and then the titles and the legend.

#include <cstdint>

#include "charts/frame/chart_canvas.h"
#include "core/model/chart_record.h"
#include "view/painting/paint_surface.h"

// True when the chart is prepared for a slot of this size, this zoom pair
// (percent; the line unit is the larger times 4 / 100) and the surface's
// printing flag; a chart prepared for other ones is prepared again. A chart
// whose data are not loaded is not prepared and keeps its error code; a
// failed layout leaves error 27.
bool Prepare(ChartRecord& chart, const PaintSurface& surface, const PixelRect& slot, uint16_t zoomX,
             uint16_t zoomY);

// Paints a prepared chart into the slot and leaves the prepared state as it
// found it; an unprepared chart draws nothing.
void Draw(ChartRecord& chart, const PixelRect& slot, const PaintSurface& surface);

// The plot of a flat chart: the XY wall with its grid and every axis with
// its labels and title (none for a chart of one pie series), then the
// builders; false when a builder fails, which ends the plot there.
bool Draw2D(ChartCanvas& canvas, bool outline);

// Moves the bounding box of the planes' corners to the origin (model values).
void CentreScene(ChartRecord& chart, const ChartLayout& layout);

// View values between plot-centred coordinates with y up and device pixels
// with y down, the plot's centre at (x, y).
void ToDevice(ChartRecord& chart, double x, double y);
void FromDevice(ChartRecord& chart, double x, double y);

#endif
