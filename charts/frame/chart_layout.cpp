#include "charts/frame/chart_layout.h"

#include <cstring>

void LoadLayout(const ChartRecord& chart, ChartLayout* layout, AxisTable* axes) {
  std::memcpy(layout, chart.styleBlock1, sizeof *layout);
  std::memcpy(axes, chart.styleBlock2, sizeof *axes);
}

void StoreLayout(ChartRecord& chart, const ChartLayout& layout, const AxisTable& axes) {
  std::memcpy(chart.styleBlock1, &layout, sizeof layout);
  std::memcpy(chart.styleBlock2, &axes, sizeof axes);
}
