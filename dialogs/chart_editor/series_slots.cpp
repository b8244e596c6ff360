#include "dialogs/chart_editor/series_slots.h"

namespace {

const char* const kTypeItems[kSeriesTypeItems] = {"Data", "Categories", "Error bars"};
const char* const kXYTypeItems[kSeriesTypeItems] = {"Y-series", "X-series", "Error bars"};

}  // namespace

const char* const* SeriesTypeItems(bool xyChart) { return xyChart ? kXYTypeItems : kTypeItems; }

uint8_t RoleOfTypeItem(int item, bool xyChart) {
  switch (item) {
    case 1:
      return xyChart ? kSeriesXValues : kSeriesCategories;
    case 2:
      return kSeriesErrorBars;
    default:
      return kSeriesData;
  }
}

int TypeItemOfRole(uint8_t role) {
  switch (role) {
    case kSeriesData:
      return 0;
    case kSeriesXValues:
    case kSeriesCategories:
      return 1;
    case kSeriesErrorBars:
      return 2;
    default:
      return -1;
  }
}

const char* SeriesRoleText(uint8_t role, bool xyChart) {
  const int item = TypeItemOfRole(role);
  return item < 0 ? "" : SeriesTypeItems(xyChart)[item];
}

bool AddSeriesSlot(ChartRecord& chart, int32_t* index) {
  const int count = chart.UsedSeriesCount();
  if (count >= kChartMaxSeries)
    return false;
  chart.series[count].SetDefaults(chart.Kind(), static_cast<uint32_t>(count));
  chart.seriesLists[count].Clear();
  chart.options.seriesCount = static_cast<uint8_t>(count + 1);
  *index = count;
  return true;
}

int32_t DeleteSeriesSlot(ChartRecord& chart, int32_t index) {
  const int count = chart.UsedSeriesCount();
  if (index < 0 || index >= count)
    return count - 1;
  // The points go with their series; the chart is loaded again when applied.
  chart.ClearSeries();
  for (int i = index; i + 1 < count; ++i) chart.series[i] = chart.series[i + 1];
  chart.series[count - 1].SetDefaults(chart.Kind(), static_cast<uint32_t>(count - 1));
  chart.options.seriesCount = static_cast<uint8_t>(count - 1);
  return index < count - 1 ? index : count - 2;
}
