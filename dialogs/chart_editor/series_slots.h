#ifndef TALVERO_DIALOGS_CHART_EDITOR_SERIES_SLOTS_H
#define TALVERO_DIALOGS_CHART_EDITOR_SERIES_SLOTS_H

// The series of a chart as the chart editor's series list shows them: the
// items of the series-type combo box and the role each stands for, the
// text of a role in the list, and adding and deleting series.

#include <cstdint>

#include "core/model/chart_record.h"

constexpr int kSeriesTypeItems = 3;
constexpr uint8_t kErrorTooManySeries = 32;  // "Too many chart series"

// The items of the series-type combo box, in order.
const char* const* SeriesTypeItems(bool xyChart);
// The role an item stands for: the first (and no item) data, the second X
// values in an XY chart and categories in another, the third error bars.
uint8_t RoleOfTypeItem(int item, bool xyChart);
// The item a role selects: -1 for a role the list does not know.
int TypeItemOfRole(uint8_t role);
// A role's text in the list: empty for a role the list does not know.
const char* SeriesRoleText(uint8_t role, bool xyChart);

// A series with its defaults at the next index. False when the chart holds
// its 16 series already (kErrorTooManySeries for the caller to show).
bool AddSeriesSlot(ChartRecord& chart, int32_t* index);

// Deletes the series, the later ones moving down by one place. Returns the
// series to select then: the same index, or the new last one, or -1 when
// none is left; an index outside the series changes nothing.
int32_t DeleteSeriesSlot(ChartRecord& chart, int32_t index);

#endif
