#include "core/model/container_record.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "core/model/chart_record.h"

namespace {

ContainerAllocationGate allocationGate = nullptr;

bool AllocationAllowed(size_t bytes) { return !allocationGate || allocationGate(bytes); }

void DeleteCharts(ContainerItem* items, int count) {
  for (int i = 0; i < count; ++i) {
    if (items[i].kind == kItemChart) delete items[i].chart;
    items[i] = ContainerItem();
  }
}

}  // namespace

void SetContainerAllocationGateForTesting(ContainerAllocationGate gate) { allocationGate = gate; }

ChartRecord* NewContainerChart(uint8_t kind) {
  if (!AllocationAllowed(sizeof(ChartRecord))) return nullptr;
  return new (std::nothrow) ChartRecord(kind);
}

ContainerRecord::ContainerRecord() { Init(); }

ContainerRecord::~ContainerRecord() { Clear(); }

void ContainerRecord::Init(const ContainerAnchor* anchor, const ContainerRect* rect) {
  Clear();
  error = 0;
  std::memset(&header, 0, sizeof header);
  header.columns = 1;
  header.rows = 1;
  header.verticalSpacing = 4;
  header.horizontalSpacing = 4;
  header.opacity = 100;
  if (anchor)
    header.anchor = *anchor;
  else
    header.anchor.flags = 9;  // row and column given: cell A1
  if (rect)
    header.rect = *rect;
  else
    header.rect = ContainerRect{10, 10, 360, 260};

  const uint32_t windowText = GetSchemeColor(kSchemeWindowText);
  const uint32_t window = GetSchemeColor(kSchemeWindow);
  header.titleFont.color = windowText;
  header.subtitleFont.color = windowText;
  header.backgroundKind = kBackgroundPattern;
  header.fill.pattern = 1;
  header.fill.patternColor = window;
  header.fill.backgroundColor = window;
  header.fractal = kDefaultFractal;
  std::memcpy(header.palette, kProgramPalette, sizeof header.palette);
  header.border.style = 1;
  header.border.color = windowText;
}

void ContainerRecord::Clear() {
  DeleteCharts(items, kContainerMaxItems);
  header.itemCount = 0;
  selectedItem = -1;
  // Owned whatever the background now is: a picture left from a fractal
  // background that was since changed must not leak.
  std::free(fractalPicture);
  fractalPicture = nullptr;
}

bool ContainerRecord::CopyFrom(ContainerRecord& source) {
  if (&source == this) return true;
  // The charts are copied before anything of this container is released, so
  // that a failure leaves it whole.
  ContainerItem copies[kContainerMaxItems];
  for (int i = 0; i < kContainerMaxItems; ++i) {
    const ContainerItem& from = source.items[i];
    copies[i].kind = from.kind;
    copies[i].imageId = from.imageId;
    if (from.kind != kItemChart || !from.chart) continue;
    ChartRecord* chart = NewContainerChart(from.chart->Kind());
    if (!chart) {
      DeleteCharts(copies, i);
      source.error = kContainerErrorOutOfMemory;
      error = kContainerErrorOutOfMemory;
      return false;
    }
    chart->CopyFrom(*from.chart);
    copies[i].chart = chart;
  }
  Clear();
  header = source.header;
  for (int i = 0; i < kContainerMaxItems; ++i) items[i] = copies[i];
  selectedItem = source.selectedItem;
  return true;
}

ContainerRecord* ContainerRecord::Clone() {
  ContainerRecord* copy =
      AllocationAllowed(sizeof(ContainerRecord)) ? new (std::nothrow) ContainerRecord : nullptr;
  if (!copy) {
    error = kContainerErrorOutOfMemory;
    return nullptr;
  }
  if (!copy->CopyFrom(*this)) {
    delete copy;
    return nullptr;
  }
  return copy;
}

bool ContainerRecord::CheckInvariants() const {
  for (int i = 0; i < kContainerMaxItems; ++i) {
    const ContainerItem& item = items[i];
    if (item.kind != kItemChart) {
      if (item.chart) return false;
      continue;
    }
    if (!item.chart || !item.chart->CheckInvariants()) return false;
    for (int j = 0; j < i; ++j) {
      if (items[j].chart == item.chart) return false;
    }
  }
  return true;
}
