#include "dialogs/chart_editor/chart_slots.h"

#include "core/model/chart_record.h"

namespace {

int ItemCount(const ContainerRecord& container) {
  return container.header.itemCount < kContainerMaxItems ? container.header.itemCount : kContainerMaxItems;
}

bool IsSlot(const ContainerRecord& container, int32_t slot) { return slot >= 0 && slot < ItemCount(container); }

}  // namespace

void GrowGridForNextItem(ContainerHeader& header) {
  if (header.columns == 0)
    header.columns = 1;
  if (header.rows == 0)
    header.rows = 1;
  if (header.itemCount < header.columns * header.rows)
    return;
  if (header.rows < header.columns)
    ++header.rows;
  else if (header.columns < kContainerMaxGridLines)
    ++header.columns;
}

bool AddChartSlot(ContainerRecord& container, uint8_t kind) {
  const int count = ItemCount(container);
  if (count >= kContainerMaxItems) {
    container.error = kContainerErrorTooManyItems;
    return false;
  }
  ChartRecord* chart = NewContainerChart(kind);
  if (!chart) {
    container.error = kContainerErrorOutOfMemory;
    return false;
  }
  GrowGridForNextItem(container.header);
  ContainerItem& item = container.items[count];
  item = ContainerItem();
  item.kind = kItemChart;
  item.chart = chart;
  container.header.itemCount = static_cast<uint8_t>(count + 1);
  return true;
}

int32_t RemoveChartSlot(ContainerRecord& container, int32_t slot) {
  const int count = ItemCount(container);
  if (IsSlot(container, slot)) {
    if (container.items[slot].kind == kItemChart)
      delete container.items[slot].chart;
    for (int i = slot; i + 1 < count; ++i) container.items[i] = container.items[i + 1];
    container.items[count - 1] = ContainerItem();
    container.header.itemCount = static_cast<uint8_t>(count - 1);
  }
  return ItemCount(container) - 1;
}

int32_t MoveChartSlot(ContainerRecord& container, int32_t slot, bool towardsFirst) {
  const int32_t other = towardsFirst ? slot - 1 : slot + 1;
  if (!IsSlot(container, slot) || !IsSlot(container, other))
    return slot;
  const ContainerItem item = container.items[slot];
  container.items[slot] = container.items[other];
  container.items[other] = item;
  return other;
}

int32_t RestoredChartSlot(const ContainerRecord& container) {
  return IsSlot(container, container.selectedItem) ? container.selectedItem : -1;
}

ChartRecord* ChartOfSlot(ContainerRecord& container, int32_t slot) {
  if (!IsSlot(container, slot) || container.items[slot].kind != kItemChart)
    return nullptr;
  return container.items[slot].chart;
}
