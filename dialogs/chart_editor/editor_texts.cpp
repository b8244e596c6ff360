#include "dialogs/chart_editor/editor_texts.h"

#include <cstdio>

#include "core/model/chart_record.h"

namespace {

const char* ChartKindText(uint8_t kind) {
  switch (kind) {
    case kChartXY:
      return "XY Chart";
    case kChart3D:
      return "3D Chart";
    default:
      return "2D Chart";
  }
}

}  // namespace

void FormatChartSlotText(const ContainerRecord& container, int32_t slot, char* out, size_t size) {
  if (size == 0)
    return;
  out[0] = '\0';
  if (slot < 0 || slot >= kContainerMaxItems || slot >= container.header.itemCount)
    return;
  const ContainerItem& item = container.items[slot];
  if (item.kind == kItemChart && item.chart)
    std::snprintf(out, size, "%s %d.", ChartKindText(item.chart->Kind()), slot + 1);
}

void FormatEditorTitle(const char* caption, uint16_t id, char* out) {
  std::snprintf(out, kEditorTitleCapacity, "%s [id: %d]", caption, id);
}

void SeriesColumnWidths(const SeriesColumnEdges& e, int32_t widths[3]) {
  const int32_t halfGap = (e.nameLeft - e.comboRight) / 2;
  widths[0] = e.comboRight - e.comboLeft + halfGap + 1;
  widths[1] = e.nameRight - e.comboRight + 1;
  widths[2] = e.formulaRight - e.formulaLeft + halfGap + 1;
}
