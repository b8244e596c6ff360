#ifndef TALVERO_DIALOGS_CHART_EDITOR_CHART_SLOTS_H
#define TALVERO_DIALOGS_CHART_EDITOR_CHART_SLOTS_H

// The chart editor's changes to the item table of its working copy of a
// container: adding a chart (the grid growing to hold it), removing one,
// moving one past its neighbour, and the slot the editor opens on.

#include <cstdint>

#include "core/model/container_record.h"

// Makes room in the grid for one more item when the items fill it: one row
// more while there are fewer rows than columns, else one column more. A
// grid line count of 0 (a damaged file) counts as 1.
void GrowGridForNextItem(ContainerHeader& header);

// A new chart of the kind with its defaults in the next slot, the grid grown
// for it; its slot is the last. False, with nothing changed and the
// container's error set, when the table is full (kContainerErrorTooManyItems)
// or the chart cannot be allocated (kContainerErrorOutOfMemory).
bool AddChartSlot(ContainerRecord& container, uint8_t kind);

// Deletes the item of the slot, the later slots moving down by one. Returns
// the slot to select then: the new last one, or -1 when none is left. A slot
// outside the table changes nothing and gives the last one.
int32_t RemoveChartSlot(ContainerRecord& container, int32_t slot);

// Swaps the slot with the one before it (towardsFirst) or after it. Returns
// the item's slot afterwards, the same one when it has no such neighbour.
int32_t MoveChartSlot(ContainerRecord& container, int32_t slot, bool towardsFirst);

// The chart the editor opens on: the container's last-edited index when it
// names a slot, else -1 (the container itself). The index comes from the
// file and may hold anything.
int32_t RestoredChartSlot(const ContainerRecord& container);

// The chart of a slot, or null when the slot is outside the table or holds
// something else.
ChartRecord* ChartOfSlot(ContainerRecord& container, int32_t slot);

#endif
