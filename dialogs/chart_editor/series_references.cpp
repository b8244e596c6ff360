#include "dialogs/chart_editor/series_references.h"

#include "charts/labels/related_series.h"
#include "core/model/chart_record.h"
#include "resources/resource_ids.h"

namespace {

bool Names(const char* text, size_t size, const ChartRecord& chart, uint8_t role) {
  return text[0] == '\0' || FindSeriesNamed(chart, text, size, role) != kNoSeries;
}

bool SameViewType(const SeriesRecord& a, const SeriesRecord& b) {
  return a.viewType == b.viewType && a.stacked == b.stacked && a.relative == b.relative;
}

// The rules the chart breaks, as bits of the three messages' order.
constexpr unsigned kFaultViewType = 1;
constexpr unsigned kFaultXDomain = 2;
constexpr unsigned kFaultErrorBars = 4;

unsigned ChartFaults(const ChartRecord& chart) {
  unsigned faults = 0;
  const SeriesRecord* firstData = nullptr;
  for (int i = 0; i < chart.UsedSeriesCount(); ++i) {
    const SeriesRecord& s = chart.series[i];
    switch (chart.Kind()) {
      case kChart3D:
        if (s.role != kSeriesData)
          break;
        if (!firstData)
          firstData = &s;
        else if (!SameViewType(*firstData, s))
          faults |= kFaultViewType;
        break;
      case kChartXY:
        if (s.role == kSeriesData && !Names(s.relatedX, sizeof s.relatedX, chart, kSeriesXValues))
          faults |= kFaultXDomain;
        if ((s.role == kSeriesData || s.role == kSeriesXValues) &&
            !Names(s.relatedSigma, sizeof s.relatedSigma, chart, kSeriesErrorBars))
          faults |= kFaultErrorBars;
        break;
      case kChart2D:
        if (s.role == kSeriesData && !Names(s.relatedSigma, sizeof s.relatedSigma, chart, kSeriesErrorBars))
          faults |= kFaultErrorBars;
        break;
    }
  }
  return faults;
}

}  // namespace

uint16_t FindSeriesReferenceFault(const ContainerRecord& container) {
  unsigned faults = 0;
  const int count = container.header.itemCount < kContainerMaxItems ? container.header.itemCount : kContainerMaxItems;
  for (int i = 0; i < count; ++i) {
    const ContainerItem& item = container.items[i];
    if (item.kind == kItemChart && item.chart)
      faults |= ChartFaults(*item.chart);
  }
  if (faults & kFaultViewType)
    return IDS_SAME_3D_VIEW_TYPE;
  if (faults & kFaultXDomain)
    return IDS_MISSING_X_DOMAIN;
  if (faults & kFaultErrorBars)
    return IDS_MISSING_ERROR_BARS;
  return 0;
}
