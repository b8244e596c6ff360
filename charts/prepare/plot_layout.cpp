#include "charts/prepare/plot_layout.h"

#include <initializer_list>

#include "charts/frame/axis_labels.h"
#include "charts/frame/axis_position.h"

namespace {

// What a margin on either side of an extent grows by when the extent keeps
// only its percentage.
int32_t PercentGrowth(int32_t available, uint8_t percent) {
  return percent == 100 ? 0 : (available - available * percent / 100) / 2;
}

}  // namespace

void ReserveAxisLabels(ChartCanvas& canvas) {
  const ChartRecord& chart = canvas.chart;
  const int32_t unit = static_cast<int32_t>(chart.lineUnit);
  const int32_t tick = TickLength(chart);
  ChartMargins& margins = canvas.layout.margins;
  for (int i = 0; i < chart.UsedSeriesCount(); ++i) {
    for (int which : {kFirstAxis, kSecondAxis}) {
      if (!ShowsAxis(chart.series[i], which))
        continue;
      AxisRecord measured = {};
      measured.position = AxisPosition(chart, chart.series[i], which);
      if (measured.position == kAxisNone)
        continue;
      MeasureAxisLabels(canvas, i, &measured);
      const int32_t room =
          unit + static_cast<int32_t>(measured.extent) + (IsBoxAxis(measured.position) ? 0 : tick);
      switch (measured.position) {
        case kAxisLeft:
        case kAxisLeft3D: margins.left += room; break;
        case kAxisRight:
        case kAxisRight3D: margins.right += room; break;
        case kAxisTop: margins.top += room; break;
        default: margins.bottom += room; break;
      }
    }
  }
}

void PlotSize(ChartCanvas& canvas, const PixelRect& slot, int32_t* width, int32_t* height) {
  ChartMargins& m = canvas.layout.margins;
  const ChartOptions& options = canvas.chart.options;
  const int32_t growX = PercentGrowth(slot.right - slot.left + 1 - m.left - m.right, options.viewWidth);
  m.left += growX;
  m.right += growX;
  const int32_t growY = PercentGrowth(slot.bottom - slot.top + 1 - m.top - m.bottom, options.viewHeight);
  m.top += growY;
  m.bottom += growY;
  const int32_t w = slot.right - slot.left + 1 - m.left - m.right;
  const int32_t h = slot.bottom - slot.top + 1 - m.top - m.bottom;
  // Margins wider than the slot leave no plot rather than a turned-over one.
  *width = w > 0 ? w : 0;
  *height = h > 0 ? h : 0;
}
